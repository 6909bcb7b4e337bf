// A desktop shortcut of a desktop product: looked for on the common desktop
// under the name the product's installation gives it.
#include <shlobj.h>

#include "catalogue/ProductTable.h"
#include "catalogue/RelatedProduct.h"
#include "options/BuiltInOptions.h"

SetupOptionDesktopShortcut::SetupOptionDesktopShortcut()
    : SetupOptionBase(L"CREATE_DESKTOP_SHORTCUT", DesktopProductIds()) {}

std::unique_ptr<SetupOptionBase> SetupOptionDesktopShortcut::Create() const {
    return std::make_unique<SetupOptionDesktopShortcut>();
}

std::wstring& SetupOptionDesktopShortcut::SharedValue() {
    static std::wstring value;
    return value;
}

std::wstring DesktopShortcutName(const RelatedProduct& record) {
    std::wstring id = record.ProductId();
    std::wstring code = id.substr(0, id.find(L"::"));
    std::wstring product, version = std::to_wstring(record.version.major);
    if (code == L"SD") {
        product = L"Sollenvey Designer";
        version = record.DisplayVersion();
    } else if (code == L"QL") {
        product = L"Quillet";
    } else {
        // The table's names start with the maker's; the shortcut names it once.
        product = record.DisplayName();
        const std::wstring maker = L"Morvex ";
        if (product.compare(0, maker.size(), maker) == 0) product.erase(0, maker.size());
    }
    return L"Morvex " + product + L" " + version + (record.is64 ? L" (x64)" : L"") + L".lnk";
}

void SetupOptionDesktopShortcut::ReadCurrentSetting(const RelatedProduct& record) {
    wchar_t desktop[MAX_PATH] = {};
    if (!::SHGetSpecialFolderPathW(nullptr, desktop, CSIDL_COMMON_DESKTOPDIRECTORY, FALSE)) return;
    std::wstring path = std::wstring(desktop) + L"\\" + DesktopShortcutName(record);
    DWORD attributes = ::GetFileAttributesW(path.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY)) SharedValue() = L"Yes";
}

// Read when the property text is built, so one shortcut found for any
// desktop product of the run shows in all of them.
std::optional<std::wstring> SetupOptionDesktopShortcut::GetValue() const { return SharedValue(); }
