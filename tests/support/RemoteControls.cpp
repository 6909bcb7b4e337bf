#include "tests/support/RemoteControls.h"

#include <commctrl.h>
#include <richedit.h>
#include <tlhelp32.h>

#include <algorithm>
#include <memory>

#include "framework/Handles.h"
#include "tests/support/UiProbe.h"

namespace testsupport {
namespace {

// Memory in the process that owns a window, freed with this object.
class RemoteMemory {
public:
    RemoteMemory(HWND window, size_t size) : size_(size) {
        DWORD pid = 0;
        ::GetWindowThreadProcessId(window, &pid);
        process_ = fw::KernelHandle(::OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE |
                                                      PROCESS_CREATE_THREAD | PROCESS_QUERY_INFORMATION,
                                                  FALSE, pid));
        if (process_)
            address_ = ::VirtualAllocEx(process_.get(), nullptr, size, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
    }
    ~RemoteMemory() {
        if (address_) ::VirtualFreeEx(process_.get(), address_, 0, MEM_RELEASE);
    }
    RemoteMemory(const RemoteMemory&) = delete;
    RemoteMemory& operator=(const RemoteMemory&) = delete;

    bool Valid() const { return address_ != nullptr; }
    HANDLE Process() const { return process_.get(); }
    char* At(size_t offset) const { return static_cast<char*>(address_) + offset; }
    bool Write(size_t offset, const void* data, size_t size) const {
        SIZE_T done = 0;
        return offset + size <= size_ && ::WriteProcessMemory(process_.get(), At(offset), data, size, &done) && done == size;
    }
    bool Read(size_t offset, void* data, size_t size) const {
        SIZE_T done = 0;
        return offset + size <= size_ && ::ReadProcessMemory(process_.get(), At(offset), data, size, &done) && done == size;
    }

private:
    fw::KernelHandle process_;
    void* address_ = nullptr;
    size_t size_;
};

constexpr size_t kTextChars = 512;
constexpr size_t kTextOffset = 1024;  // after the structure

std::wstring ReadText(const RemoteMemory& memory) {
    std::wstring text(kTextChars, L'\0');
    if (!memory.Read(kTextOffset, text.data(), kTextChars * sizeof(wchar_t))) return {};
    text.resize(wcsnlen(text.c_str(), kTextChars));
    return text;
}

}  // namespace

std::optional<bool> RichEditBold(HWND richEdit, long begin, long end) {
    RemoteMemory memory(richEdit, sizeof(CHARFORMAT2W));
    if (!memory.Valid()) return std::nullopt;
    ::SendMessageW(richEdit, EM_SETSEL, static_cast<WPARAM>(begin), static_cast<LPARAM>(end));
    CHARFORMAT2W format = {};
    format.cbSize = sizeof(format);
    format.dwMask = CFM_BOLD;
    if (!memory.Write(0, &format, sizeof(format))) return std::nullopt;
    ::SendMessageW(richEdit, EM_GETCHARFORMAT, SCF_SELECTION, reinterpret_cast<LPARAM>(memory.At(0)));
    if (!memory.Read(0, &format, sizeof(format))) return std::nullopt;
    ::SendMessageW(richEdit, EM_SETSEL, 0, 0);
    // Without CFM_BOLD in the answer the range is partly bold.
    return (format.dwMask & CFM_BOLD) != 0 && (format.dwEffects & CFE_BOLD) != 0;
}

std::optional<RichEditColours> RichEditColoursOf(HWND richEdit) {
    RemoteMemory memory(richEdit, sizeof(CHARFORMAT2W));
    if (!memory.Valid()) return std::nullopt;
    CHARFORMAT2W format = {};
    format.cbSize = sizeof(format);
    format.dwMask = CFM_COLOR;
    if (!memory.Write(0, &format, sizeof(format))) return std::nullopt;
    ::SendMessageW(richEdit, EM_SETSEL, 0, -1);
    ::SendMessageW(richEdit, EM_GETCHARFORMAT, SCF_SELECTION, reinterpret_cast<LPARAM>(memory.At(0)));
    ::SendMessageW(richEdit, EM_SETSEL, 0, 0);
    if (!memory.Read(0, &format, sizeof(format))) return std::nullopt;
    RichEditColours colours;
    colours.text = (format.dwEffects & CFE_AUTOCOLOR) ? ::GetSysColor(COLOR_WINDOWTEXT) : format.crTextColor;
    // The background is read by setting it: the control answers with the
    // colour it had, which is then put back.
    colours.background = static_cast<COLORREF>(::SendMessageW(richEdit, EM_SETBKGNDCOLOR, 0, RGB(1, 2, 3)));
    ::SendMessageW(richEdit, EM_SETBKGNDCOLOR, 0, colours.background);
    return colours;
}

std::wstring RichEditText(HWND richEdit) {
    wchar_t buffer[1024] = {};
    ::SendMessageW(richEdit, WM_GETTEXT, 1024, reinterpret_cast<LPARAM>(buffer));
    return buffer;
}

std::vector<std::wstring> TabTexts(HWND tabs) {
    std::vector<std::wstring> texts;
    RemoteMemory memory(tabs, kTextOffset + kTextChars * sizeof(wchar_t));
    if (!memory.Valid()) return texts;
    int count = static_cast<int>(::SendMessageW(tabs, TCM_GETITEMCOUNT, 0, 0));
    for (int i = 0; i < count; ++i) {
        TCITEMW item = {};
        item.mask = TCIF_TEXT;
        item.pszText = reinterpret_cast<wchar_t*>(memory.At(kTextOffset));
        item.cchTextMax = static_cast<int>(kTextChars);
        std::wstring empty(kTextChars, L'\0');
        memory.Write(kTextOffset, empty.data(), kTextChars * sizeof(wchar_t));
        memory.Write(0, &item, sizeof(item));
        ::SendMessageW(tabs, TCM_GETITEMW, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(memory.At(0)));
        texts.push_back(ReadText(memory));
    }
    return texts;
}

namespace {
struct TipSearch {
    HWND dialog;
    std::vector<HWND> found;
};
BOOL CALLBACK CollectToolTips(HWND window, LPARAM data) {
    auto* search = reinterpret_cast<TipSearch*>(data);
    wchar_t name[64] = {};
    ::GetClassNameW(window, name, 64);
    if (::GetWindow(window, GW_OWNER) == search->dialog && _wcsicmp(name, TOOLTIPS_CLASSW) == 0)
        search->found.push_back(window);
    return TRUE;
}
}  // namespace

std::wstring ToolTipText(HWND dialog, HWND control) {
    DWORD thread = ::GetWindowThreadProcessId(dialog, nullptr);
    TipSearch search{dialog, {}};
    ::EnumThreadWindows(thread, CollectToolTips, reinterpret_cast<LPARAM>(&search));
    for (HWND tips : search.found) {
        RemoteMemory memory(tips, kTextOffset + kTextChars * sizeof(wchar_t));
        if (!memory.Valid()) continue;
        TTTOOLINFOW tool = {};
        tool.cbSize = sizeof(tool);
        tool.hwnd = dialog;
        tool.uId = reinterpret_cast<UINT_PTR>(control);
        tool.lpszText = reinterpret_cast<wchar_t*>(memory.At(kTextOffset));
        std::wstring empty(kTextChars, L'\0');
        memory.Write(kTextOffset, empty.data(), kTextChars * sizeof(wchar_t));
        memory.Write(0, &tool, sizeof(tool));
        ::SendMessageW(tips, TTM_GETTEXTW, kTextChars, reinterpret_cast<LPARAM>(memory.At(0)));
        std::wstring text = ReadText(memory);
        if (!text.empty()) return text;
    }
    return {};
}

namespace {
// Where a module is loaded in another process; null when it is not.
char* RemoteModule(DWORD pid, const wchar_t* name) {
    fw::KernelHandle snapshot(::CreateToolhelp32Snapshot(TH32CS_SNAPMODULE, pid));
    MODULEENTRY32W entry = {};
    entry.dwSize = sizeof(entry);
    for (BOOL more = snapshot && ::Module32FirstW(snapshot.get(), &entry); more;
         more = ::Module32NextW(snapshot.get(), &entry))
        if (_wcsicmp(entry.szModule, name) == 0) return reinterpret_cast<char*>(entry.modBaseAddr);
    return nullptr;
}

// A function's address in another process that has loaded the module the
// function lies in (found from the address itself, as an export may be
// forwarded to another module); null when that process has not.
void* RemoteFunction(DWORD pid, FARPROC function) {
    HMODULE local = nullptr;
    wchar_t path[MAX_PATH] = {};
    if (!function ||
        !::GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                              reinterpret_cast<LPCWSTR>(function), &local) ||
        !::GetModuleFileNameW(local, path, MAX_PATH))
        return nullptr;
    const wchar_t* name = wcsrchr(path, L'\\') ? wcsrchr(path, L'\\') + 1 : path;
    char* remote = RemoteModule(pid, name);
    return remote ? remote + (reinterpret_cast<char*>(function) - reinterpret_cast<char*>(local)) : nullptr;
}

// Runs function(argument) on a new thread of the process and waits for it.
bool RunRemote(HANDLE process, void* function, void* argument) {
    fw::KernelHandle thread(::CreateRemoteThread(process, nullptr, 0,
                                                 reinterpret_cast<LPTHREAD_START_ROUTINE>(function), argument, 0,
                                                 nullptr));
    return thread && ::WaitForSingleObject(thread.get(), 15000) == WAIT_OBJECT_0;
}

std::wstring ProbePath() {
    wchar_t path[MAX_PATH] = {};
    ::GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring folder = path;
    return folder.substr(0, folder.find_last_of(L'\\') + 1) + L"ui_probe.dll";
}

// Runs the probe's function on a thread of the window's process with a copy
// of data there, and reads the copy back into data; false when it cannot.
template <class Data>
bool RunProbe(HWND window, const char* function, Data& data) {
    static const std::wstring path = ProbePath();
    static HMODULE probeModule = ::LoadLibraryW(path.c_str());
    FARPROC probe = probeModule ? ::GetProcAddress(probeModule, function) : nullptr;
    size_t size = std::max(sizeof(Data), kTextOffset) + (path.size() + 1) * sizeof(wchar_t);
    RemoteMemory memory(window, size);
    DWORD pid = 0;
    ::GetWindowThreadProcessId(window, &pid);
    if (!probe || !memory.Valid()) return false;
    void* remoteProbe = RemoteFunction(pid, probe);
    if (!remoteProbe) {
        size_t pathAt = size - (path.size() + 1) * sizeof(wchar_t);
        void* loadLibrary = RemoteFunction(pid, ::GetProcAddress(::GetModuleHandleW(L"kernel32.dll"), "LoadLibraryW"));
        if (!loadLibrary || !memory.Write(pathAt, path.c_str(), (path.size() + 1) * sizeof(wchar_t)) ||
            !RunRemote(memory.Process(), loadLibrary, memory.At(pathAt)))
            return false;
        remoteProbe = RemoteFunction(pid, probe);
    }
    return remoteProbe && memory.Write(0, &data, sizeof(Data)) && RunRemote(memory.Process(), remoteProbe, memory.At(0)) &&
           memory.Read(0, &data, sizeof(Data));
}
}  // namespace

std::optional<LOGFONTW> ControlFont(HWND control) {
    FontProbe answer = {control, FALSE, {}};
    if (!RunProbe(control, "ProbeControlFont", answer) || !answer.found) return std::nullopt;
    return answer.font;
}

std::vector<std::wstring> LayoutProblems(HWND root) {
    auto probe = std::make_unique<LayoutProbe>();
    probe->root = root;
    probe->problems = -1;
    if (!RunProbe(root, "ProbeLayout", *probe) || probe->problems < 0) return {L"the layout could not be checked"};
    std::vector<std::wstring> problems;
    std::wstring report = probe->report;
    for (size_t begin = 0, end; begin < report.size(); begin = end + 1) {
        end = report.find(L'\n', begin);
        if (end == std::wstring::npos) end = report.size();
        if (end > begin) problems.push_back(report.substr(begin, end - begin));
    }
    if (problems.empty() && probe->problems > 0) problems.push_back(L"problems beyond the report's length");
    return problems;
}

std::optional<std::wstring> AccessibleName(HWND control) {
    auto probe = std::make_unique<NameProbe>();
    probe->control = control;
    if (!RunProbe(control, "ProbeAccessibleName", *probe) || !probe->found) return std::nullopt;
    return std::wstring(probe->name);
}

bool ChangeDpi(HWND window, UINT dpi) {
    DpiProbe probe{window, dpi};
    return RunProbe(window, "ProbeDpiChange", probe);
}

bool TurnHighContrastOn(HWND window) {
    ContrastProbe probe{window, FALSE};
    return RunProbe(window, "ProbeHighContrast", probe) && probe.patched;
}

}  // namespace testsupport
