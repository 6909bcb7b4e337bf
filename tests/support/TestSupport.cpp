#include "tests/support/TestSupport.h"

#include <algorithm>
#include <cstdlib>
#include <stdexcept>

#include "framework/Handles.h"
#include "framework/Text.h"

namespace testsupport {
namespace {

std::wstring UnixToWindows(const char* unixPath) {
    if (!unixPath) throw std::runtime_error("test environment variable missing");
    std::wstring path = L"Z:" + fw::FromCodePage(unixPath, CP_UTF8);
    for (wchar_t& c : path)
        if (c == L'/') c = L'\\';
    return path;
}

}  // namespace

std::wstring BuildDir() { return UnixToWindows(std::getenv("SETUP_TEST_BUILD")); }
std::wstring SourceDir() { return UnixToWindows(std::getenv("SETUP_TEST_SOURCE")); }
std::wstring FixtureDir() { return BuildDir() + L"\\fixtures"; }
std::wstring LauncherPath(const std::wstring& variant) {
    return BuildDir() + L"\\tests\\launchers\\" + variant + L"\\setup.exe";
}

namespace {
std::wstring Environment(const wchar_t* name) {
    wchar_t value[MAX_PATH] = {};
    DWORD length = ::GetEnvironmentVariableW(name, value, MAX_PATH);
    if (length == 0 || length >= MAX_PATH)
        throw std::runtime_error("environment variable missing: " + fw::ToCodePage(name, CP_UTF8));
    return value;
}
}  // namespace

std::wstring ProgramFiles32() { return Environment(L"ProgramFiles(x86)"); }
std::wstring ProgramFiles64() { return Environment(L"ProgramW6432"); }

std::wstring RunResult::Text() const { return fw::FromCodePage(output, ::GetOEMCP()); }

RunResult Run(const std::wstring& program, const std::wstring& arguments, DWORD timeoutMs,
              const std::wstring& workingDir) {
    RunResult result;
    SECURITY_ATTRIBUTES inherit = {sizeof(inherit), nullptr, TRUE};
    fw::KernelHandle readEnd, writeEnd;
    ::CreatePipe(readEnd.put(), writeEnd.put(), &inherit, 0);
    ::SetHandleInformation(readEnd.get(), HANDLE_FLAG_INHERIT, 0);

    STARTUPINFOW startup = {};
    startup.cb = sizeof(startup);
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = nullptr;
    startup.hStdOutput = writeEnd.get();
    startup.hStdError = writeEnd.get();
    std::wstring commandLine = L"\"" + program + L"\"" + (arguments.empty() ? L"" : L" " + arguments);
    PROCESS_INFORMATION info = {};
    if (!::CreateProcessW(program.c_str(), commandLine.data(), nullptr, nullptr, TRUE, 0, nullptr,
                          workingDir.empty() ? nullptr : workingDir.c_str(), &startup, &info))
        throw std::runtime_error("CreateProcess failed: " + std::to_string(::GetLastError()));
    fw::KernelHandle process(info.hProcess), thread(info.hThread);
    writeEnd.reset();

    // Read while waiting, so a full pipe never blocks the child.
    DWORD start = ::GetTickCount();
    char buffer[4096];
    while (true) {
        DWORD available = 0;
        while (::PeekNamedPipe(readEnd.get(), nullptr, 0, nullptr, &available, nullptr) && available > 0) {
            DWORD read = 0;
            if (!::ReadFile(readEnd.get(), buffer, sizeof(buffer), &read, nullptr) || read == 0) break;
            result.output.append(buffer, read);
        }
        if (::WaitForSingleObject(process.get(), 20) == WAIT_OBJECT_0) break;
        if (::GetTickCount() - start > timeoutMs) {
            result.timedOut = true;
            ::TerminateProcess(process.get(), 259);
            break;
        }
    }
    // What the child wrote is in the pipe now. Reading to the end of the pipe
    // instead could wait for ever: a process the child started (Wine starts
    // its service manager from the first program that needs it) may hold an
    // inherited write end open for as long as it runs.
    DWORD available = 0, read = 0;
    while (::PeekNamedPipe(readEnd.get(), nullptr, 0, nullptr, &available, nullptr) && available > 0 &&
           ::ReadFile(readEnd.get(), buffer, sizeof(buffer), &read, nullptr) && read > 0)
        result.output.append(buffer, read);
    ::GetExitCodeProcess(process.get(), &result.exitCode);
    return result;
}

Background::Background(const std::wstring& program, const std::wstring& arguments) {
    STARTUPINFOW startup = {};
    startup.cb = sizeof(startup);
    std::wstring commandLine = L"\"" + program + L"\" " + arguments;
    PROCESS_INFORMATION info = {};
    if (!::CreateProcessW(program.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                          &startup, &info))
        throw std::runtime_error("CreateProcess failed");
    ::CloseHandle(info.hThread);
    process_ = info.hProcess;
}

Background::~Background() {
    if (::WaitForSingleObject(process_, 0) == WAIT_TIMEOUT) ::TerminateProcess(process_, 1);
    ::CloseHandle(process_);
}

DWORD Background::Wait(DWORD timeoutMs) {
    if (::WaitForSingleObject(process_, timeoutMs) != WAIT_OBJECT_0) return STILL_ACTIVE;
    DWORD code = 0;
    ::GetExitCodeProcess(process_, &code);
    return code;
}

std::wstring TempFolder() {
    wchar_t folder[MAX_PATH + 1];
    DWORD length = ::GetTempPathW(MAX_PATH + 1, folder);
    if (length == 0 || length > MAX_PATH) throw std::runtime_error("no temporary folder");
    return std::wstring(folder, length);
}

TempDir::TempDir() {
    const std::wstring base = TempFolder();
    static int counter = 0;
    for (;;) {
        path_ = fw::Format(L"%stest%lu_%d", base.c_str(), ::GetCurrentProcessId(), ++counter);
        if (::CreateDirectoryW(path_.c_str(), nullptr)) break;
    }
}

namespace {
void RemoveTree(const std::wstring& path) {
    WIN32_FIND_DATAW data;
    fw::FindHandle find(::FindFirstFileW((path + L"\\*").c_str(), &data));
    if (find) {
        do {
            std::wstring name = data.cFileName;
            if (name == L"." || name == L"..") continue;
            std::wstring full = path + L"\\" + name;
            if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) RemoveTree(full);
            else {
                ::SetFileAttributesW(full.c_str(), FILE_ATTRIBUTE_NORMAL);
                ::DeleteFileW(full.c_str());
            }
        } while (::FindNextFileW(find.get(), &data));
    }
    find.reset();
    ::RemoveDirectoryW(path.c_str());
}
}  // namespace

TempDir::~TempDir() { RemoveTree(path_); }

namespace {
std::wstring TextOf(HWND window) {
    int length = ::GetWindowTextLengthW(window);
    std::wstring text(static_cast<size_t>(length) + 1, L'\0');
    text.resize(static_cast<size_t>(::GetWindowTextW(window, text.data(), length + 1)));
    return text;
}
std::wstring ClassOf(HWND window) {
    wchar_t name[256] = {};
    ::GetClassNameW(window, name, 256);
    return name;
}
}  // namespace

FoundWindow WaitForWindow(DWORD processId, DWORD timeoutMs, HWND except, const wchar_t* className) {
    struct Search {
        DWORD pid;
        HWND except;
        const wchar_t* className;
        HWND found;
    } search{processId, except, className, nullptr};
    DWORD start = ::GetTickCount();
    // One look at least, then until the time is up.
    for (;;) {
        ::EnumWindows(
            [](HWND window, LPARAM param) WINAPI -> BOOL {
                auto* s = reinterpret_cast<Search*>(param);
                DWORD pid = 0;
                ::GetWindowThreadProcessId(window, &pid);
                if (pid != s->pid || window == s->except || !::IsWindowVisible(window)) return TRUE;
                if (s->className && ClassOf(window) != s->className) return TRUE;
                s->found = window;
                return FALSE;
            },
            reinterpret_cast<LPARAM>(&search));
        if (search.found || ::GetTickCount() - start >= timeoutMs) break;
        ::Sleep(50);
    }
    FoundWindow result;
    if (!search.found) return result;
    result.handle = search.found;
    result.className = ClassOf(search.found);
    result.caption = TextOf(search.found);
    for (HWND child = ::GetWindow(search.found, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT)) {
        if (ClassOf(child) != L"Static") continue;
        std::wstring text = TextOf(child);
        if (text.empty()) continue;
        if (!result.text.empty()) result.text += L"\n";
        result.text += text;
    }
    return result;
}

void PressButton(HWND dialog, int controlId) {
    HWND button = ::GetDlgItem(dialog, controlId);
    ::PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(controlId, BN_CLICKED), reinterpret_cast<LPARAM>(button));
}

bool WaitForWindowGone(HWND window, DWORD timeoutMs) {
    DWORD start = ::GetTickCount();
    while (::IsWindow(window)) {
        if (::GetTickCount() - start >= timeoutMs) return false;
        ::Sleep(50);
    }
    return true;
}

bool FileExists(const std::wstring& path) { return ::GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

std::vector<std::wstring> FolderEntries(const std::wstring& folder) {
    std::vector<std::wstring> names;
    WIN32_FIND_DATAW entry;
    fw::FindHandle find(::FindFirstFileW((folder + L"\\*").c_str(), &entry));
    if (!find) return names;
    do {
        std::wstring name = entry.cFileName;
        if (name != L"." && name != L"..") names.push_back(name);
    } while (::FindNextFileW(find.get(), &entry));
    std::sort(names.begin(), names.end());
    return names;
}

std::string ReadBytes(const std::wstring& path) {
    fw::FileHandle file(::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                      OPEN_EXISTING, 0, nullptr));
    if (!file) throw std::runtime_error("cannot open file");
    std::string bytes;
    char buffer[65536];
    DWORD read = 0;
    while (::ReadFile(file.get(), buffer, sizeof(buffer), &read, nullptr) && read > 0) bytes.append(buffer, read);
    return bytes;
}

void WriteBytes(const std::wstring& path, const std::string& bytes) {
    fw::FileHandle file(::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
    if (!file) throw std::runtime_error("cannot create file");
    DWORD written = 0;
    ::WriteFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
}

std::wstring ReadUtf16(const std::wstring& path) {
    std::string bytes = ReadBytes(path);
    return std::wstring(reinterpret_cast<const wchar_t*>(bytes.data()), bytes.size() / 2);
}

std::vector<std::wstring> Lines(const std::wstring& text) {
    std::vector<std::wstring> lines;
    size_t start = 0;
    while (start <= text.size()) {
        size_t lf = text.find(L'\n', start);
        std::wstring line = text.substr(start, lf == std::wstring::npos ? std::wstring::npos : lf - start);
        if (!line.empty() && line.back() == L'\r') line.pop_back();
        lines.push_back(line);
        if (lf == std::wstring::npos) break;
        start = lf + 1;
    }
    return lines;
}

bool Contains(const std::wstring& text, const std::wstring& part) { return text.find(part) != std::wstring::npos; }

std::wstring SystemText(DWORD error) {
    wchar_t buffer[1024];
    DWORD length = ::FormatMessageW(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, error, 0,
                                    buffer, 1024, nullptr);
    return std::wstring(buffer, length);
}

void SetWindowsVersionFor(const std::wstring& exeName, const std::wstring& version) {
    fw::RegKeyHandle key;
    std::wstring path = L"Software\\Wine\\AppDefaults\\" + exeName;
    ::RegCreateKeyExW(HKEY_CURRENT_USER, path.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, key.put(), nullptr);
    ::RegSetValueExW(key.get(), L"Version", 0, REG_SZ, reinterpret_cast<const BYTE*>(version.c_str()),
                     static_cast<DWORD>((version.size() + 1) * sizeof(wchar_t)));
}

}  // namespace testsupport
