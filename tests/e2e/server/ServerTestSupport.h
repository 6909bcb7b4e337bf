// What the server pages' end-to-end tests share: real services made with the
// test service program, configuration files planted where the servers keep
// them, and the properties the installer's own log shows it was given.
#pragma once

#include <windows.h>

#include <optional>
#include <shlobj.h>
#include <string>
#include <vector>

#include "framework/Text.h"
#include "icbs/ICBSFileUtilities.h"
#include "icbs/MsiDatabase.h"
#include "icbs/WindowsService.h"
#include "tests/e2e/LauncherRun.h"
#include "tests/support/TestSupport.h"

namespace servertest {

inline std::wstring CommonAppData() {
    wchar_t path[MAX_PATH] = {};
    ::SHGetSpecialFolderPathW(nullptr, path, CSIDL_COMMON_APPDATA, FALSE);
    return path;
}

// Writes a file, creating its folders.
inline void Plant(const std::wstring& path, const std::string& content) {
    ICBSFileUtilities::CreateParentFolders(path);
    testsupport::WriteBytes(path, content);
}

// A real service running the test service program; running asks to start it.
inline bool MakeService(const std::wstring& name, const std::wstring& startType, const std::wstring& account,
                        bool running) {
    WindowsService service(name);
    service.SetExecutable(testsupport::BuildDir() + L"\\tests\\icbs_test_service.exe");
    service.SetDisplayName(name);
    if (!service.SetStartTypeName(startType)) return false;
    service.SetAccount(account);
    if (account.rfind(L"NT AUTHORITY", 0) != 0 && account != L"LocalSystem") service.SetPassword(L"x");
    std::wstring message;
    if (!service.Apply(message)) return false;
    return !running || service.Start(message);
}

// The value of a property as the installer logged it ("Property(S): NAME =
// value", the name as Wine's installer writes it, in capitals), in the part
// of the log from `from` on; nothing when absent.
// A finished run's log, read from the file the run was given with /L.
inline LauncherRun ReadLog(const std::wstring& path) {
    LauncherRun run;
    run.log = testsupport::ReadUtf16(path);
    run.lines = testsupport::Lines(run.log);
    return run;
}

inline std::optional<std::wstring> InstallerProperty(const LauncherRun& run, const std::wstring& name, size_t from = 0) {
    const std::wstring marker = L"Property(S): " + fw::ToUpper(name) + L" = ";
    size_t at = run.log.find(marker, from);
    if (at == std::wstring::npos) return std::nullopt;
    size_t begin = at + marker.size();
    size_t end = run.log.find_first_of(L"\r\n", begin);
    return run.log.substr(begin, end == std::wstring::npos ? std::wstring::npos : end - begin);
}

// The launcher's own lines, without what Windows Installer wrote.
inline std::vector<std::wstring> LauncherLines(const LauncherRun& run) {
    std::vector<std::wstring> lines;
    for (const std::wstring& line : run.lines)
        if (line.rfind(L"ZEL (c): ", 0) == 0 || line.rfind(L"=== SetupLauncher", 0) == 0) lines.push_back(line);
    return lines;
}

// The MsiHiddenProperties row of the package database the launcher prepared
// and kept (the only "*.msi" below the base folder's package folders).
inline std::wstring PreparedHiddenProperties() {
    std::wstring base = CommonAppData() + L"\\Morvex";
    for (const std::wstring& folder : testsupport::FolderEntries(base))
        for (const std::wstring& file : ICBSFileUtilities::ListFiles(base + L"\\" + folder, L"*.msi")) {
            ICBSMSIDatabase database(file, false, true);
            return database.GetProperty(L"MsiHiddenProperties");
        }
    return std::wstring();
}

// The fixture product wrote its registry value: it was installed.
inline bool FixtureInstalled(const std::wstring& regName) {
    HKEY key = nullptr;
    std::wstring path = L"Software\\Morvex\\Fixtures\\" + regName;
    LONG result = ::RegOpenKeyExW(HKEY_LOCAL_MACHINE, path.c_str(), 0, KEY_READ | KEY_WOW64_32KEY, &key);
    if (result == ERROR_SUCCESS) ::RegCloseKey(key);
    return result == ERROR_SUCCESS;
}

}  // namespace servertest

namespace servertest {

struct ControlSearch {
    int id;
    HWND found;
};
inline BOOL CALLBACK MatchControl(HWND child, LPARAM data) {
    auto* search = reinterpret_cast<ControlSearch*>(data);
    if (::GetDlgCtrlID(child) != search->id || !(::GetWindowLongW(child, GWL_STYLE) & WS_VISIBLE)) return TRUE;
    search->found = child;
    return FALSE;
}

// A visible control of the frame's pages by its id (page controls are not
// the frame's own children).
inline HWND FindControl(HWND frame, int id) {
    ControlSearch search{id, nullptr};
    ::EnumChildWindows(frame, MatchControl, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

// Waits until a page's control is on the screen (its page shown too); null
// when it is not in time.
inline HWND WaitForControl(HWND frame, int id, DWORD timeoutMs = 10000) {
    for (DWORD waited = 0;; waited += 50) {
        HWND control = FindControl(frame, id);
        if (control && ::IsWindowVisible(control)) return control;
        if (waited >= timeoutMs) return nullptr;
        ::Sleep(50);
    }
}

inline bool IsChecked(HWND frame, int id) {
    return ::SendMessageW(FindControl(frame, id), BM_GETCHECK, 0, 0) == BST_CHECKED;
}

inline void Click(HWND frame, int id) { ::SendMessageW(FindControl(frame, id), BM_CLICK, 0, 0); }

}  // namespace servertest
