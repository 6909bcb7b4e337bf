#include "engine/PropertyItems.h"

#include <algorithm>

#include "framework/Text.h"

namespace items {

std::wstring QuotedValue(const std::wstring& value) {
    std::wstring quoted = L"\"";
    for (wchar_t c : value) {
        if (c == L'"') quoted += L'"';  // "" is a literal quote inside a quoted value
        quoted += c;
    }
    return quoted + L"\"";
}

std::wstring Item(const std::wstring& name, const std::wstring& value) { return name + L"=" + QuotedValue(value) + L" "; }

std::wstring Sub() { return Item(L"HAS_SUB_PACKAGES", L"Yes"); }
std::wstring NoFinish() { return Item(L"UI_HIDE_FINISH_DLG", L"Yes"); }
std::wstring CustomizeOnly() { return Item(L"UI_HIDE_ALL_BUT_CUSTOMIZE_AND_PROGRESS", L"Yes"); }
std::wstring ProgressOnly() { return Item(L"UI_HIDE_ALL_BUT_PROGRESS", L"Yes"); }
std::wstring Agreement() { return Item(L"UI_SHOW_LICENSE_AGREEMENT_DLG", L"Yes"); }

std::wstring Quick(const std::vector<std::wstring>& productKeys) {
    std::wstring joined;
    for (size_t i = 0; i < productKeys.size(); ++i) joined += (i ? L"," : L"") + productKeys[i];
    return ProgressOnly() + Item(L"DO_QUICK_INSTALL", joined);
}

std::wstring Language(const std::wstring& code) { return Item(L"INSTALLER_LANGUAGE", code); }
std::wstring Transform(const std::wstring& fileName) { return Item(L"TRANSFORMS", fileName); }

std::vector<std::wstring> WithoutNamed(const std::vector<std::wstring>& items, const std::vector<std::wstring>& names) {
    std::vector<std::wstring> kept;
    for (const std::wstring& item : items) {
        std::wstring name = item.substr(0, item.find(L'='));
        if (std::none_of(names.begin(), names.end(), [&](const std::wstring& set) { return fw::EqualsNoCase(set, name); }))
            kept.push_back(item);
    }
    return kept;
}

std::wstring UninstallAll() { return Sub() + ProgressOnly() + NoFinish(); }
std::wstring Rollback() { return ProgressOnly() + NoFinish(); }

}  // namespace items

std::wstring ComposeInstallProperties(const InstallCallInputs& in) {
    std::wstring text;
    if (in.administrative) text += L"ACTION=ADMIN ";
    else if (in.uninstall) text += L"REMOVE=ALL ";
    text += L"INSTALLEDFROMLAUNCHER=Yes ";
    if (in.hasCatalogueProperties) text += in.catalogueProperties + L" ";
    for (const std::wstring& property : in.commandLineProperties) text += property + L" ";
    text += in.extraProperties;
    return text;
}
