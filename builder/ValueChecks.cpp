#include "builder/ValueChecks.h"

#include <cwctype>
#include <vector>

#include "catalogue/ProductTable.h"
#include "framework/Text.h"
#include "icbs/TextUtilities.h"

namespace {

bool IsBlank(wchar_t c) { return c == L' ' || c == L'\t'; }
bool IsDigits(const std::wstring& text) {
    return !text.empty() && text.find_first_not_of(L"0123456789") == std::wstring::npos;
}

}  // namespace

bool CheckPropertiesText(const std::wstring& text, std::wstring& reason) {
    size_t i = 0;
    while (i < text.size()) {
        if (IsBlank(text[i])) {
            ++i;
            continue;
        }
        size_t start = i;
        while (i < text.size() && (std::iswalnum(text[i]) || text[i] == L'_' || text[i] == L'.')) ++i;
        std::wstring name = text.substr(start, i - start);
        if (name.empty() || std::iswdigit(name[0]) || name[0] == L'.' || i >= text.size() || text[i] != L'=') {
            size_t end = text.find_first_of(L" \t", start);
            reason = L"\"" + text.substr(start, end == std::wstring::npos ? end : end - start) +
                     L"\" is not a NAME=value item";
            return false;
        }
        ++i;
        if (i < text.size() && text[i] == L'"') {
            for (++i;; ++i) {
                if (i >= text.size()) {
                    reason = L"the value of " + name + L" has no closing quote (a quote inside a value is doubled)";
                    return false;
                }
                if (text[i] != L'"') continue;
                if (i + 1 < text.size() && text[i + 1] == L'"') {
                    ++i;
                    continue;
                }
                ++i;
                break;
            }
            if (i < text.size() && !IsBlank(text[i])) {
                reason = L"the quoted value of " + name + L" is followed by more text (put a blank between items)";
                return false;
            }
        } else {
            for (; i < text.size() && !IsBlank(text[i]); ++i) {
                if (text[i] == L'"') {
                    reason = L"the value of " + name + L" has a quote inside (quote the whole value: " + name +
                             L"=\"...\")";
                    return false;
                }
            }
        }
    }
    return true;
}

bool NormalisePlatform(const std::wstring& text, std::wstring& platform, std::wstring& reason) {
    std::wstring given = fw::Trim(text);
    for (const wchar_t* name : {L"x64", L"amd64", L"x86_64", L"x86-64"})
        if (fw::EqualsNoCase(given, name)) return platform = L"x64", true;
    for (const wchar_t* name : {L"Intel", L"x86", L"i386", L"i686"})
        if (fw::EqualsNoCase(given, name)) return platform = L"Intel", true;
    for (const wchar_t* name : {L"Arm64", L"Arm", L"Intel64", L"ia64"}) {
        if (fw::EqualsNoCase(given, name)) {
            reason = L"the launcher installs only x64 and Intel (32-bit) packages, not " + given;
            return false;
        }
    }
    reason = L"unknown platform \"" + given + L"\" (x64 or Intel)";
    return false;
}

bool DatabasePlatform(const std::wstring& summaryTemplate, std::wstring& platform, std::wstring& reason) {
    std::wstring first = fw::Trim(summaryTemplate.substr(0, summaryTemplate.find(L';')));
    // A list of platforms names its first.
    first = fw::Trim(first.substr(0, first.find(L',')));
    if (first.empty()) return platform = L"Intel", true;
    if (NormalisePlatform(first, platform, reason)) return true;
    reason = L"the database's platform (summary template \"" + summaryTemplate + L"\"): " + reason;
    return false;
}

bool CheckInstallerCode(const std::wstring& text, std::wstring& reason) {
    static const wchar_t form[] = L"{XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX}";
    bool shaped = text.size() == std::size(form) - 1;
    for (size_t i = 0; shaped && i < text.size(); ++i)
        shaped = form[i] == L'X' ? std::iswxdigit(text[i]) != 0 : text[i] == form[i];
    if (!shaped) {
        reason = L"\"" + text + L"\" is not a GUID in braces ({12345678-1234-1234-1234-123456789ABC})";
        return false;
    }
    for (wchar_t c : text) {
        if (c >= L'a' && c <= L'f') {
            reason = L"\"" + text + L"\" has lower-case letters (Windows Installer codes are upper case)";
            return false;
        }
    }
    return true;
}

bool CheckOsText(const std::wstring& text, std::wstring& reason) {
    reason = L"\"" + text + L"\" is not a Windows version the launcher checks (major.minor[.sp[.sp]][/WSOnly], "
                            L"for example 6.1.1 for Windows 7 SP1, or WinXP)";
    if (text == L"WinNT" || text == L"WinXP") return true;
    std::wstring version = text;
    if (size_t slash = text.find(L'/'); slash != std::wstring::npos) {
        if (text.substr(slash + 1) != L"WSOnly") return false;
        version = text.substr(0, slash);
    }
    std::vector<std::wstring> parts = icbs::SplitAll(version, L'.');
    if (parts.size() > 4) return false;
    for (const std::wstring& part : parts)
        if (!IsDigits(part) || part.size() > 4) return false;
    if (std::stoi(parts[0]) < 4) return false;
    reason.clear();
    return true;
}

bool CheckProductId(const std::wstring& id, std::wstring& reason) {
    if (id.empty() || FindProduct(id) || IsBundle(id)) return true;
    std::wstring known;
    for (const std::wstring& each : AllProductIds()) known += (known.empty() ? L"" : L", ") + each;
    for (const std::wstring& each : BundleIds()) known += L", " + each + L" (bundle)";
    reason = L"\"" + id + L"\" is not a product id of the launcher (ids: " + known + L")";
    return false;
}

bool CheckMinimumMsi(const std::wstring& text, std::wstring& reason) {
    if (IsDigits(text) && text.size() <= 4) return true;
    reason = L"\"" + text + L"\" is not a Windows Installer version as a number (200 for version 2.0)";
    return false;
}
