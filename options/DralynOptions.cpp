// The XML editor's choices: the examples among the trusted locations, the
// Internet Explorer menu extension, and HTML files opened as XHTML.
#include "catalogue/ProductTable.h"
#include "catalogue/RelatedProduct.h"
#include "icbs/RegistryKey.h"
#include "icbs/RegistryKeyRanges.h"
#include "options/BuiltInOptions.h"

namespace {
const std::vector<std::wstring> kTrustedLocationProducts = {L"DY::E", L"DY::P", L"QL::E"};
const std::vector<std::wstring> kEditorProducts = {L"DY::E", L"DY::P", L"DY::S"};

bool EndsWith(const std::wstring& text, const std::wstring& end) {
    return text.size() >= end.size() && text.compare(text.size() - end.size(), end.size(), end) == 0;
}
}  // namespace

SetupOptionAddExamplesToTrustedLocations::SetupOptionAddExamplesToTrustedLocations()
    : SetupOptionBase(L"ADDEXAMPLESTOTRUSTEDLOCATIONS", kTrustedLocationProducts) {}

std::unique_ptr<SetupOptionBase> SetupOptionAddExamplesToTrustedLocations::Create() const {
    return std::make_unique<SetupOptionAddExamplesToTrustedLocations>();
}

void SetupOptionAddExamplesToTrustedLocations::ReadCurrentSetting(const RelatedProduct& record) {
    std::wstring setupKey = record.SetupKeyPath();
    size_t last = setupKey.rfind(L'\\');
    if (!record.row || last == std::wstring::npos) return;
    // The installation's own key, one above its "Setup" key.
    RegistryKey key(RegistryKey::LocalMachine(), setupKey.substr(0, last), true, false, OptionView(record));
    if (key.IsOpen()) on = key.GetDword(L"QuilletTrustedLocations") != 0;
}

std::optional<std::wstring> SetupOptionAddExamplesToTrustedLocations::GetValue() const {
    return on ? L"#1" : L"";
}

SetupOptionDralynIESupport::SetupOptionDralynIESupport() : SetupOptionBase(L"ADDIESUPPORT", kEditorProducts) {}

std::unique_ptr<SetupOptionBase> SetupOptionDralynIESupport::Create() const {
    return std::make_unique<SetupOptionDralynIESupport>();
}

void SetupOptionDralynIESupport::ReadCurrentSetting(const RelatedProduct& record) {
    on = false;
    RegistryKey menus(RegistryKey::CurrentUser(), L"Software\\Microsoft\\Internet Explorer\\MenuExt", true, false,
                      OptionView(record));
    if (!menus.IsOpen()) return;
    for (auto& entry : menus.SubKeys()) {
        if (entry && EndsWith(entry->GetString(L""), L"dralyn.htm")) {
            on = true;
            return;
        }
    }
}

std::optional<std::wstring> SetupOptionDralynIESupport::GetValue() const { return on ? L"Yes" : L""; }

SetupOptionDralynHTMLisXHTML::SetupOptionDralynHTMLisXHTML() : SetupOptionBase(L"HTMLISXHTML", kEditorProducts) {}

std::unique_ptr<SetupOptionBase> SetupOptionDralynHTMLisXHTML::Create() const {
    return std::make_unique<SetupOptionDralynHTMLisXHTML>();
}

void SetupOptionDralynHTMLisXHTML::ReadCurrentSetting(const RelatedProduct& record) {
    on = false;
    if (!record.row) return;
    std::wstring settings = L"SOFTWARE\\Morvex\\" + record.RegistryName() + L"\\FileExt\\";
    RegistryKey htm(RegistryKey::CurrentUser(), settings + L".htm", true, false, OptionView(record));
    RegistryKey html(RegistryKey::CurrentUser(), settings + L".html", true, false, OptionView(record));
    if (!htm.IsOpen() || !html.IsOpen()) return;
    on = htm.GetString(L"FileType2") == L"XML" || html.GetString(L"FileType2") == L"XML";
}

std::optional<std::wstring> SetupOptionDralynHTMLisXHTML::GetValue() const {
    if (!on) return std::nullopt;
    return std::wstring(L"XML");
}
