#include "icbs/CabinetEntryTarget.h"

#include <fci.h>

#include "framework/Text.h"
#include "icbs/FolderPath.h"

std::wstring DecodeEntryName(const char* stored, USHORT attributes) {
    if (!stored) return std::wstring();
    unsigned codePage = (attributes & _A_NAME_IS_UTF) ? CP_UTF8 : CP_ACP;
    return fw::FromCodePage(stored, codePage);
}

namespace {

bool IsReservedDeviceName(const std::wstring& fileName) {
    // Windows maps these names to devices in every folder, with or without
    // an extension and with trailing blanks.
    std::wstring base = fileName.substr(0, fileName.find(L'.'));
    base = fw::Trim(base, L" ");
    for (const wchar_t* device : {L"CON", L"PRN", L"AUX", L"NUL", L"CONIN$", L"CONOUT$"})
        if (fw::EqualsNoCase(base, device)) return true;
    if (base.size() == 4 && (fw::StartsWithNoCase(base, L"COM") || fw::StartsWithNoCase(base, L"LPT")) &&
        base[3] >= L'1' && base[3] <= L'9')
        return true;
    return false;
}

bool IsUsableFileName(const std::wstring& fileName) {
    if (fileName.find_first_not_of(L". ") == std::wstring::npos) return false;  // "", ".", "..", "  "
    for (wchar_t c : fileName) {
        if (c < 0x20) return false;
        if (std::wstring_view(L":*?\"<>|").find(c) != std::wstring_view::npos) return false;
    }
    return !IsReservedDeviceName(fileName);
}

}  // namespace

std::wstring EntryFileName(const std::wstring& stored) {
    size_t separator = stored.find_last_of(L"\\/");
    std::wstring fileName = separator == std::wstring::npos ? stored : stored.substr(separator + 1);
    return IsUsableFileName(fileName) ? fileName : std::wstring();
}

EntryTarget ChooseEntryTarget(const std::wstring& stored, bool picking, std::vector<ExtractRequest>& requests,
                              const std::wstring& defaultFolder) {
    std::wstring fileName = EntryFileName(stored);
    size_t separator = stored.find_last_of(L"\\/");
    std::wstring lastPart = separator == std::wstring::npos ? stored : stored.substr(separator + 1);
    if (!picking) {
        if (fileName.empty()) return {EntryTarget::Refuse, {}};
        return {EntryTarget::Write, FolderPath(defaultFolder).Child(fileName)};
    }
    for (auto request = requests.begin(); request != requests.end(); ++request) {
        if (request->name != stored && request->name != lastPart) continue;
        std::wstring name = request->newName.empty() ? fileName : request->newName;
        std::wstring folder = request->folder.empty() ? defaultFolder : request->folder;
        requests.erase(request);
        if (name.empty()) return {EntryTarget::Refuse, {}};
        return {EntryTarget::Write, FolderPath(folder).Child(name)};
    }
    return {EntryTarget::Skip, {}};
}
