#include "tests/support/MessageBoxDriver.h"

#include "framework/Window.h"

namespace testsupport {
namespace {

constexpr int kPageArea = 1036;

struct BoxSearch {
    DWORD pid;
    HWND found;
};

bool IsDialogClass(HWND window) {
    wchar_t name[64] = {};
    ::GetClassNameW(window, name, 64);
    return std::wstring(name) == L"#32770";
}

BOOL CALLBACK FindBox(HWND window, LPARAM param) {
    auto* search = reinterpret_cast<BoxSearch*>(param);
    DWORD pid = 0;
    ::GetWindowThreadProcessId(window, &pid);
    if (pid == search->pid && ::IsWindowVisible(window) && IsDialogClass(window) && !::GetDlgItem(window, kPageArea)) {
        search->found = window;
        return FALSE;
    }
    return TRUE;
}

}  // namespace

MessageBoxDriver::MessageBoxDriver(DWORD processId, DWORD timeoutMs) {
    BoxSearch search{processId, nullptr};
    DWORD start = ::GetTickCount();
    // One look at least, then until the time is up.
    for (;;) {
        ::EnumWindows(FindBox, reinterpret_cast<LPARAM>(&search));
        if (search.found || ::GetTickCount() - start >= timeoutMs) break;
        ::Sleep(50);
    }
    box_ = search.found;
    // Let the dialog finish its initialisation.
    if (box_) ::Sleep(200);
}

std::wstring MessageBoxDriver::Caption() const { return fw::WindowText(box_); }

std::vector<std::wstring> MessageBoxDriver::Texts() const {
    std::vector<std::wstring> texts;
    for (HWND child = ::GetWindow(box_, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT)) {
        std::wstring text = fw::WindowText(child);
        if (!text.empty()) texts.push_back(text);
    }
    return texts;
}

bool MessageBoxDriver::HasText(const std::wstring& part) const {
    for (const std::wstring& text : Texts())
        if (text.find(part) != std::wstring::npos) return true;
    return false;
}

std::wstring MessageBoxDriver::ControlText(int id) const { return fw::WindowText(::GetDlgItem(box_, id)); }
bool MessageBoxDriver::IsShown(int id) const { return ::IsWindowVisible(::GetDlgItem(box_, id)) != FALSE; }

void MessageBoxDriver::Press(int id) const {
    ::PostMessageW(box_, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(::GetDlgItem(box_, id)));
}

void MessageBoxDriver::SetCheck(int id, bool checked) const {
    HWND box = ::GetDlgItem(box_, id);
    bool now = ::SendMessageW(box, BM_GETCHECK, 0, 0) == BST_CHECKED;
    if (now != checked) ::SendMessageW(box, BM_CLICK, 0, 0);
}

bool MessageBoxDriver::WaitClosed(DWORD timeoutMs) const {
    DWORD start = ::GetTickCount();
    while (::IsWindow(box_) && ::IsWindowVisible(box_)) {
        if (::GetTickCount() - start >= timeoutMs) return false;
        ::Sleep(50);
    }
    return true;
}

}  // namespace testsupport
