#include "tests/icbs/files/FileTestSupport.h"

#include "framework/Text.h"
#include "tests/support/TestSupport.h"

namespace filetest {

std::wstring ChildPath() { return testsupport::BuildDir() + L"\\tests\\icbs_child.exe"; }
std::wstring ChildCommand(const std::wstring& arguments) { return L"\"" + ChildPath() + L"\" " + arguments; }

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
