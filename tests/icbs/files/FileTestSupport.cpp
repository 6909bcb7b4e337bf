#include "tests/icbs/files/FileTestSupport.h"

#include <aclapi.h>
#include <sddl.h>

#include "framework/Text.h"
#include "tests/support/TestSupport.h"

namespace filetest {

std::wstring ChildPath() { return testsupport::BuildDir() + L"\\tests\\icbs_child.exe"; }
std::wstring ChildCommand(const std::wstring& arguments) { return L"\"" + ChildPath() + L"\" " + arguments; }

std::wstring SidText(PSID sid) {
    LPWSTR text = nullptr;
    if (!::ConvertSidToStringSidW(sid, &text)) return {};
    std::wstring result = text;
    ::LocalFree(text);
    return result;
}

std::wstring SidText(WELL_KNOWN_SID_TYPE type) {
    BYTE sid[SECURITY_MAX_SID_SIZE];
    DWORD size = sizeof(sid);
    if (!::CreateWellKnownSid(type, nullptr, sid, &size)) return {};
    return SidText(reinterpret_cast<PSID>(sid));
}

std::vector<AceEntry> EntriesOf(PACL acl) {
    std::vector<AceEntry> entries;
    if (!acl) return entries;
    for (DWORD i = 0; i < acl->AceCount; ++i) {
        void* ace = nullptr;
        if (!::GetAce(acl, i, &ace)) continue;
        auto header = static_cast<ACE_HEADER*>(ace);
        AceEntry entry;
        entry.type = header->AceType;
        entry.flags = header->AceFlags;
        if (header->AceType == ACCESS_ALLOWED_ACE_TYPE || header->AceType == ACCESS_DENIED_ACE_TYPE) {
            // Allowed and denied entries share one layout.
            auto allowed = static_cast<ACCESS_ALLOWED_ACE*>(ace);
            entry.mask = allowed->Mask;
            entry.sid = SidText(reinterpret_cast<PSID>(&allowed->SidStart));
        }
        entries.push_back(entry);
    }
    return entries;
}

std::vector<AceEntry> ReadDaclEntries(const std::wstring& path) {
    PACL dacl = nullptr;
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    if (::GetNamedSecurityInfoW(path.c_str(), SE_FILE_OBJECT, DACL_SECURITY_INFORMATION, nullptr, nullptr, &dacl,
                                nullptr, &descriptor) != ERROR_SUCCESS)
        return {};
    std::vector<AceEntry> entries = EntriesOf(dacl);
    ::LocalFree(descriptor);
    return entries;
}

std::vector<AceEntry> AllowedFor(const std::vector<AceEntry>& entries, const std::wstring& sid) {
    std::vector<AceEntry> found;
    for (const AceEntry& entry : entries)
        if (entry.type == ACCESS_ALLOWED_ACE_TYPE && entry.sid == sid) found.push_back(entry);
    return found;
}

namespace {
// Wine maps every Windows path to a Unix one.
std::string UnixPathOf(const std::wstring& path) {
    using Mapper = char*(CDECL*)(LPCWSTR);
    auto map = reinterpret_cast<Mapper>(
        reinterpret_cast<void*>(::GetProcAddress(::GetModuleHandleW(L"kernel32.dll"), "wine_get_unix_file_name")));
    if (!map) return {};
    char* unixPath = map(path.c_str());
    if (!unixPath) return {};
    std::string result = unixPath;
    ::HeapFree(::GetProcessHeap(), 0, unixPath);
    return result;
}
}  // namespace

bool MakeFolderLink(const std::wstring& link, const std::wstring& target) {
    std::string unixLink = UnixPathOf(link), unixTarget = UnixPathOf(target);
    if (unixLink.empty() || unixTarget.empty()) return false;
    std::wstring command = L"/bin/ln -s \"" + fw::FromCodePage(unixTarget, CP_UTF8) + L"\" \"" +
                           fw::FromCodePage(unixLink, CP_UTF8) + L"\"";
    STARTUPINFOW startup = {};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION info = {};
    if (!::CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &info))
        return false;
    ::CloseHandle(info.hThread);
    ::CloseHandle(info.hProcess);
    // Wine starts a Unix program without a process object to wait for: look
    // for the link until it is there.
    for (int attempt = 0; attempt < 200; ++attempt) {
        if (::GetFileAttributesW(link.c_str()) != INVALID_FILE_ATTRIBUTES) return true;
        ::Sleep(25);
    }
    return false;
}

ExclusiveHolder::ExclusiveHolder(const std::wstring& path, DWORD releaseAfterMs) {
    file_ = ::CreateFileW(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    if (file_ == INVALID_HANDLE_VALUE) return;
    HANDLE file = file_;
    releaser_ = std::thread([file, releaseAfterMs] {
        ::Sleep(releaseAfterMs);
        ::CloseHandle(file);
    });
}

ExclusiveHolder::~ExclusiveHolder() {
    if (releaser_.joinable()) releaser_.join();
}

std::wstring PathOfLength(const std::wstring& folder, size_t length) {
    std::wstring path = folder;
    for (int part = 0; path.size() < length; ++part)
        path += L"\\" + fw::Format(L"part%02d_", part) + std::wstring(42, L'x');
    return path;
}

std::wstring Extended(const std::wstring& path) { return L"\\\\?\\" + path; }

}  // namespace filetest
