#include "execution/HiddenProperties.h"

#include <algorithm>

#include "engine/Log.h"
#include "framework/Text.h"
#include "icbs/MsiDatabase.h"

std::vector<std::wstring> PropertyNames(const std::wstring& text) {
    std::vector<std::wstring> names;
    size_t i = 0;
    while (i < text.size()) {
        while (i < text.size() && (text[i] == L' ' || text[i] == L'\t')) ++i;
        size_t start = i;
        while (i < text.size() && text[i] != L'=' && text[i] != L' ' && text[i] != L'\t') ++i;
        if (i >= text.size() || text[i] != L'=') continue;
        names.push_back(text.substr(start, i - start));
        ++i;
        if (i < text.size() && text[i] == L'"') {
            // A doubled quote stands for one quote inside the value.
            for (++i; i < text.size(); ++i) {
                if (text[i] != L'"') continue;
                if (i + 1 < text.size() && text[i + 1] == L'"') ++i;
                else break;
            }
            ++i;
        }
        while (i < text.size() && text[i] != L' ' && text[i] != L'\t') ++i;
    }
    return names;
}

std::vector<std::wstring> PasswordPropertyNames(const std::wstring& propertyString) {
    std::vector<std::wstring> names;
    auto add = [&names](const std::wstring& name) {
        if (std::find(names.begin(), names.end(), name) == names.end()) names.push_back(name);
    };
    for (const std::wstring& name : PropertyNames(propertyString)) {
        if (name.empty() || !fw::EndsWithNoCase(name, L"_Password")) continue;
        add(name);
        add(fw::ToUpper(name));
    }
    return names;
}

std::wstring MergeHiddenProperties(const std::wstring& listed, const std::vector<std::wstring>& names) {
    std::vector<std::wstring> present;
    size_t start = 0;
    while (start <= listed.size()) {
        size_t end = listed.find(L';', start);
        if (end == std::wstring::npos) end = listed.size();
        present.push_back(listed.substr(start, end - start));
        start = end + 1;
    }
    std::wstring merged = listed;
    for (const std::wstring& name : names) {
        if (std::find(present.begin(), present.end(), name) != present.end()) continue;
        if (!merged.empty()) merged += L";";
        merged += name;
        present.push_back(name);
    }
    return merged;
}

bool HidePasswordProperties(const std::wstring& msiPath, const std::wstring& propertyString) {
    std::vector<std::wstring> names = PasswordPropertyNames(propertyString);
    if (names.empty()) return true;
    ICBSMSIDatabase database(msiPath, false);
    if (database) {
        std::wstring listed = database.GetProperty(L"MsiHiddenProperties");
        std::wstring merged = MergeHiddenProperties(listed, names);
        if (merged == listed ||
            (database.SetProperty(L"MsiHiddenProperties", merged) && database.Commit())) {
            WriteLog(3, L"ZEL (c): Password properties kept out of the installer log: %s\r\n", merged.c_str());
            return true;
        }
    }
    WriteLogRaw(1, L"ZEL (c): Cannot list the password properties in MsiHiddenProperties of " + msiPath +
                       L"; the installer is not called.\r\n");
    return false;
}
