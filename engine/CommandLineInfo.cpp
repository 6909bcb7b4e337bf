#include "engine/CommandLineInfo.h"

#include "framework/Text.h"

namespace {
bool IsAsciiLetter(wchar_t c) { return (c >= L'A' && c <= L'Z') || (c >= L'a' && c <= L'z'); }
}  // namespace

bool IsPropertyName(const std::wstring& name) {
    if (name.empty() || !(IsAsciiLetter(name[0]) || name[0] == L'_')) return false;
    for (wchar_t c : name)
        if (!IsAsciiLetter(c) && !(c >= L'0' && c <= L'9') && c != L'_' && c != L'.') return false;
    return true;
}

bool IsUsablePropertyValue(const std::wstring& value) {
    if (value.find(L'"') == std::wstring::npos) return true;
    if (value.size() < 2 || value.front() != L'"' || value.back() != L'"') return false;
    for (size_t i = 1; i + 1 < value.size(); ++i) {
        if (value[i] != L'"') continue;
        if (i + 2 >= value.size() || value[i + 1] != L'"') return false;
        ++i;  // a doubled double quote
    }
    return true;
}

void CSetupAppCommandLineInfo::RejectUsage(const std::wstring& problem) {
    usageError = true;
    usageProblems.push_back(problem);
}

void CSetupAppCommandLineInfo::ParseParam(const wchar_t* param, bool isFlag, bool isLast) {
    ParseOneParam(param, isFlag);
    if (isLast) FinishParsing();
}

void CSetupAppCommandLineInfo::ParseOneParam(const wchar_t* param, bool isFlag) {
    if (param == nullptr || *param == L'\0') return;
    std::wstring text(param);
    if (isFlag) {
        ParseSwitch(text);
        return;
    }
    if (fw::StartsWithNoCase(text, L"TRANSFORMS=") && transforms.empty()) {
        transforms = text.substr(11);
    } else if (fw::StartsWithNoCase(text, L"lang=")) {
        language = text.substr(5);
    } else if (fw::StartsWithNoCase(text, L"subPackages=")) {
        subPackages = fw::Trim(std::wstring_view(text).substr(12), L"\"");
        if (fw::EqualsNoCase(subPackages, L"all")) subPackages.clear();
    } else if (expectMifPath && mifPath.empty()) {
        mifPath = text;
        expectMifPath = false;
    } else if (expectLogPath && logPath.empty()) {
        logPath = text;
        expectLogPath = false;
    } else if (text.find(L'=') == std::wstring::npos) {
        RejectUsage(L"\"" + text + L"\" is neither a switch nor a property assignment");
    } else {
        AddPropertyAssignment(text);
    }
}

bool CSetupAppCommandLineInfo::ModeSwitchesExhausted(const bool& own) const {
    int others = 0;
    for (const bool* flag : {&administrative, &repair, &extractAll, &uninstall})
        if (flag != &own && *flag) ++others;
    return others == 3;
}

void CSetupAppCommandLineInfo::ParseSwitch(const std::wstring& text) {
    wchar_t first = static_cast<wchar_t>(towlower(text[0]));
    if (fw::EqualsNoCase(text, L"?") || fw::EqualsNoCase(text, L"h")) {
        help = true;
    } else if (fw::EqualsNoCase(text, L"a")) {
        if (ModeSwitchesExhausted(administrative)) RejectUsage(L"/a after /f, /u and /x");
        else administrative = true;
    } else if (first == L'f') {
        if (ModeSwitchesExhausted(repair)) RejectUsage(L"/" + text + L" after /a, /u and /x");
        else ParseRepairSwitch(text);
    } else if (fw::EqualsNoCase(text, L"x")) {
        if (ModeSwitchesExhausted(uninstall)) RejectUsage(L"/x after /a, /f and /u");
        else uninstall = true;
    } else if (first == L'q') {
        ParseUiLevel(text);
    } else if (fw::EqualsNoCase(text, L"u")) {
        if (ModeSwitchesExhausted(extractAll)) RejectUsage(L"/u after /a, /f and /x");
        else extractAll = true;
    } else if (first == L'l') {
        ParseLogSwitch(text);
    } else if (fw::EqualsNoCase(text, L"m")) {
        expectMifPath = true;
    } else if (fw::EqualsNoCase(text, L"v")) {
        validateOnly = true;
    } else {
        RejectUsage(L"unknown switch /" + text);
    }
}

void CSetupAppCommandLineInfo::ParseRepairSwitch(const std::wstring& text) {
    repair = true;
    if (text.size() == 1) {
        reinstallMode = 0x7C0;
        return;
    }
    for (size_t i = 1; i < text.size(); ++i) {
        switch (text[i]) {
            case L'p': reinstallMode |= 0x2; break;
            case L'o': reinstallMode |= 0x4; break;
            case L'e': reinstallMode |= 0x8; break;
            case L'd': reinstallMode |= 0x10; break;
            case L'c': reinstallMode |= 0x20; break;
            case L'a': reinstallMode |= 0x40; break;
            case L'm': reinstallMode |= 0x80; break;
            case L'u': reinstallMode |= 0x100; break;
            case L's': reinstallMode |= 0x200; break;
            case L'v': reinstallMode |= 0x400; break;
            default: break;
        }
    }
}

void CSetupAppCommandLineInfo::ParseUiLevel(const std::wstring& text) {
    uiLevel = 2;
    if (text.size() < 2) return;
    bool malformed = false;
    switch (towlower(text[1])) {
        case L'n': uiLevel = 2; break;
        case L'b': uiLevel = 3; break;
        case L'r': uiLevel = 4; break;
        case L'f': uiLevel = 5; break;
        case L'+': uiLevel = 0x82; break;
        default: malformed = true; break;
    }
    if (text[1] == L'+') {
        // "/q+" takes no further characters.
        malformed = malformed || text.size() > 2;
    } else if (text.size() >= 3) {
        if (text[2] == L'+') uiLevel |= 0x80;
        malformed = malformed || text[2] != L'+' || text.size() > 3;
    }
    if (malformed) RejectUsage(L"unknown user interface level /" + text);
}

void CSetupAppCommandLineInfo::ParseLogSwitch(const std::wstring& text) {
    // "+" and "!" are attributes, not modes: "/L+" alone keeps the default
    // mode, as it would with Windows Installer itself, instead of logging
    // nothing.
    if (text.find_first_not_of(L"+!", 1) != std::wstring::npos) {
        logMode = 0;
        for (size_t i = 1; i < text.size(); ++i) {
            switch (text[i]) {
                case L'i': logMode |= 0x10; break;
                case L'w': logMode |= 0x4; break;
                case L'e': logMode |= 0x2; break;
                case L'a': logMode |= 0x100; break;
                case L'r': logMode |= 0x200; break;
                case L'u': logMode |= 0x8; break;
                case L'c': logMode |= 0x800; break;
                case L'm': logMode |= 0x1; break;
                case L'o': logMode |= 0x80; break;
                case L'v': logMode |= 0x1000; break;
                case L'x': logMode |= 0x2000; break;
                case L'*': logMode |= 0xF9F; break;
                default: break;
            }
        }
    }
    for (size_t i = 1; i < text.size(); ++i) {
        if (text[i] == L'+') logAttributes |= kLogAppend;
        if (text[i] == L'!') logAttributes |= kLogFlushEachLine;
    }
    expectLogPath = true;
}

bool CSetupAppCommandLineInfo::AddPropertyAssignment(const std::wstring& text) {
    size_t equals = text.find(L'=');
    if (equals == std::wstring::npos) return false;
    std::wstring name = fw::Trim(std::wstring_view(text).substr(0, equals));
    std::wstring value = fw::Trim(std::wstring_view(text).substr(equals + 1));
    if (name.empty()) {
        RejectUsage(L"\"" + text + L"\" assigns a value to no property");
        return true;
    }
    if (!IsPropertyName(name)) {
        RejectUsage(L"\"" + name + L"\" is no property name (letters, digits, \"_\" and \".\", "
                    L"beginning with a letter or \"_\")");
        return true;
    }
    if (!IsUsablePropertyValue(value)) {
        RejectUsage(L"the value of " + name + L" holds a double quote that does not belong to one quoted value");
        return true;
    }
    if (fw::EqualsNoCase(name, L"ALLOWDOWNGRADE")) {
        if (value == L"1" || value == L"0") allowDowngrade = value == L"1";
        else RejectUsage(L"ALLOWDOWNGRADE takes 0 or 1, not " + value);
        return true;
    }
    if (name == L"FASTOEM" && value == L"1") fastOemIsOne = true;
    if (name == L"ALLUSERS" && value == L"1") allUsersIsOne = true;
    if (value.empty()) {
        value = L"\"\"";
    } else if (value.find_first_of(L" \t") != std::wstring::npos && value.find(L'"') == std::wstring::npos) {
        value = L"\"" + value + L"\"";
    }
    properties.push_back(name + L"=" + value);
    return true;
}

void CSetupAppCommandLineInfo::FinishParsing() {
    if (!administrative && !repair && !uninstall && IsSilent() && allUsersIsOne) {
        if (!fastOemIsOne) return;
        fastOemActive = true;
    }
    if (fastOemIsOne && !fastOemActive) {
        std::erase(properties, std::wstring(L"FASTOEM") + L"=" + L"1");
    }
}
