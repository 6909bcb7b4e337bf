#include "tests/support/WizardDriver.h"

#include <algorithm>

#include "framework/Window.h"

namespace testsupport {
namespace {

constexpr int kPageArea = 1036;
constexpr int kLanguageBox = 1015;

struct FrameSearch {
    DWORD pid;
    HWND found;
};

BOOL CALLBACK FindFrame(HWND window, LPARAM param) {
    auto* search = reinterpret_cast<FrameSearch*>(param);
    DWORD pid = 0;
    ::GetWindowThreadProcessId(window, &pid);
    if (pid == search->pid && ::GetDlgItem(window, kPageArea)) {
        search->found = window;
        return FALSE;
    }
    return TRUE;
}

}  // namespace

WizardDriver::WizardDriver(DWORD processId, DWORD timeoutMs) {
    FrameSearch search{processId, nullptr};
    DWORD start = ::GetTickCount();
    while (!search.found && ::GetTickCount() - start < timeoutMs) {
        ::EnumWindows(FindFrame, reinterpret_cast<LPARAM>(&search));
        if (!search.found) ::Sleep(50);
    }
    frame_ = search.found;
    // Let the first page finish its activation.
    if (frame_) ::Sleep(200);
}

std::wstring WizardDriver::Caption() const { return fw::WindowText(frame_); }
std::wstring WizardDriver::ControlText(int id) const { return fw::WindowText(::GetDlgItem(frame_, id)); }
bool WizardDriver::IsEnabled(int id) const { return ::IsWindowEnabled(::GetDlgItem(frame_, id)) != FALSE; }
bool WizardDriver::IsShown(int id) const { return ::IsWindowVisible(::GetDlgItem(frame_, id)) != FALSE; }

HWND WizardDriver::VisiblePage() const {
    HWND area = ::GetDlgItem(frame_, kPageArea);
    for (HWND page = ::GetWindow(area, GW_CHILD); page; page = ::GetWindow(page, GW_HWNDNEXT))
        if (::GetWindowLongW(page, GWL_STYLE) & WS_VISIBLE) return page;
    return nullptr;
}

std::vector<std::wstring> WizardDriver::PageTexts() const {
    struct Item {
        int top;
        std::wstring text;
    };
    std::vector<Item> items;
    HWND page = VisiblePage();
    if (!page) return {};
    for (HWND child = ::GetWindow(page, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT)) {
        // Read without a message: a launcher busy inside Windows Installer
        // must not hold the test.
        wchar_t buffer[1024] = {};
        ::InternalGetWindowText(child, buffer, 1024);
        std::wstring text = buffer;
        if (text.empty()) continue;
        RECT rect;
        ::GetWindowRect(child, &rect);
        items.push_back({rect.top, text});
    }
    std::stable_sort(items.begin(), items.end(), [](const Item& a, const Item& b) { return a.top < b.top; });
    std::vector<std::wstring> texts;
    for (const Item& item : items) texts.push_back(item.text);
    return texts;
}

namespace {
// The first child of page whose text contains part and that passes take.
template <class Take>
HWND FindPageControl(HWND page, const std::wstring& part, Take take) {
    for (HWND child = page ? ::GetWindow(page, GW_CHILD) : nullptr; child; child = ::GetWindow(child, GW_HWNDNEXT)) {
        wchar_t buffer[1024] = {};
        ::InternalGetWindowText(child, buffer, 1024);
        if (take(child) && std::wstring(buffer).find(part) != std::wstring::npos) return child;
    }
    return nullptr;
}
}  // namespace

bool WizardDriver::PageShowsText(const std::wstring& part) const {
    return FindPageControl(VisiblePage(), part, [](HWND child) { return ::IsWindowVisible(child) != FALSE; });
}

HWND WizardDriver::PageControl(const std::wstring& part) const {
    return FindPageControl(VisiblePage(), part, [](HWND) { return true; });
}

bool WizardDriver::WaitForPageText(const std::wstring& part, DWORD timeoutMs) const {
    DWORD start = ::GetTickCount();
    do {
        for (const std::wstring& text : PageTexts())
            if (text.find(part) != std::wstring::npos) return true;
        ::Sleep(50);
    } while (::GetTickCount() - start < timeoutMs);
    return false;
}

bool WizardDriver::WaitForEnabled(int id, DWORD timeoutMs) const {
    DWORD start = ::GetTickCount();
    do {
        if (IsEnabled(id)) return true;
        ::Sleep(50);
    } while (::GetTickCount() - start < timeoutMs);
    return false;
}

HWND WizardDriver::FocusedControl() const {
    GUITHREADINFO info = {};
    info.cbSize = sizeof(info);
    if (!::GetGUIThreadInfo(::GetWindowThreadProcessId(frame_, nullptr), &info)) return nullptr;
    return info.hwndFocus;
}

std::vector<HWND> WizardDriver::TabOrder() const {
    std::vector<HWND> order;
    HWND start = FocusedControl();
    for (HWND control = start; control && order.size() < 50; control = ::GetNextDlgTabItem(frame_, control, FALSE)) {
        if (!order.empty() && control == start) break;
        order.push_back(control);
    }
    return order;
}

void WizardDriver::Press(int id) const {
    ::SendMessageW(frame_, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                   reinterpret_cast<LPARAM>(::GetDlgItem(frame_, id)));
}

void WizardDriver::PressPosted(int id) const {
    ::PostMessageW(frame_, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(::GetDlgItem(frame_, id)));
}

std::vector<std::wstring> WizardDriver::LanguageEntries() const {
    HWND box = ::GetDlgItem(frame_, kLanguageBox);
    std::vector<std::wstring> entries;
    LRESULT count = ::SendMessageW(box, CB_GETCOUNT, 0, 0);
    for (LRESULT i = 0; i < count; ++i) {
        wchar_t text[256] = {};
        ::SendMessageW(box, CB_GETLBTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(text));
        entries.push_back(text);
    }
    return entries;
}

std::wstring WizardDriver::SelectedLanguage() const {
    HWND box = ::GetDlgItem(frame_, kLanguageBox);
    LRESULT index = ::SendMessageW(box, CB_GETCURSEL, 0, 0);
    if (index < 0) return std::wstring();
    wchar_t text[256] = {};
    ::SendMessageW(box, CB_GETLBTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(text));
    return text;
}

bool WizardDriver::ChooseLanguage(const std::wstring& displayName) const {
    HWND box = ::GetDlgItem(frame_, kLanguageBox);
    LRESULT index = ::SendMessageW(box, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                                   reinterpret_cast<LPARAM>(displayName.c_str()));
    if (index < 0) return false;
    ::SendMessageW(box, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
    ::SendMessageW(frame_, WM_COMMAND, MAKEWPARAM(kLanguageBox, CBN_SELCHANGE), reinterpret_cast<LPARAM>(box));
    return true;
}

}  // namespace testsupport
