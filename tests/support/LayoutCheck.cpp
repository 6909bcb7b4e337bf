#include "tests/support/LayoutCheck.h"

#include <commctrl.h>
#include <richedit.h>

#include <algorithm>
#include <vector>

namespace testsupport {
namespace {

std::wstring ClassOf(HWND window) {
    wchar_t name[64] = {};
    ::GetClassNameW(window, name, 64);
    return name;
}

// A dialog, a page of the launcher, the frame's page area.
bool HoldsControls(HWND window) {
    std::wstring name = ClassOf(window);
    return name == L"#32770" || (::GetWindowLongW(window, GWL_EXSTYLE) & WS_EX_CONTROLPARENT) != 0;
}

std::wstring TextOf(HWND window) {
    wchar_t text[1024] = {};
    ::SendMessageTimeoutW(window, WM_GETTEXT, 1024, reinterpret_cast<LPARAM>(text), SMTO_NORMAL, 5000, nullptr);
    return text;
}

HFONT FontOf(HWND window) {
    DWORD_PTR font = 0;
    ::SendMessageTimeoutW(window, WM_GETFONT, 0, 0, SMTO_NORMAL, 5000, &font);
    return reinterpret_cast<HFONT>(font);
}

UINT DpiOf(HWND window) {
    using DpiFn = UINT(WINAPI*)(HWND);
    static auto dpiForWindow = reinterpret_cast<DpiFn>(
        reinterpret_cast<void*>(::GetProcAddress(::GetModuleHandleW(L"user32.dll"), "GetDpiForWindow")));
    UINT dpi = dpiForWindow ? dpiForWindow(window) : 0;
    return dpi ? dpi : 96;
}

// What a text needs in a font: DrawText's own measure.
SIZE Measure(HWND window, const std::wstring& text, int width, UINT flags) {
    HDC dc = ::CreateCompatibleDC(nullptr);
    HGDIOBJ old = ::SelectObject(dc, FontOf(window) ? FontOf(window) : ::GetStockObject(DEFAULT_GUI_FONT));
    RECT rect = {0, 0, width, 0};
    ::DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &rect, flags | DT_CALCRECT);
    ::SelectObject(dc, old);
    ::DeleteDC(dc);
    return {rect.right - rect.left, rect.bottom - rect.top};
}

int FontHeight(HWND window) {
    HDC dc = ::CreateCompatibleDC(nullptr);
    HGDIOBJ old = ::SelectObject(dc, FontOf(window) ? FontOf(window) : ::GetStockObject(DEFAULT_GUI_FONT));
    TEXTMETRICW metrics = {};
    ::GetTextMetricsW(dc, &metrics);
    ::SelectObject(dc, old);
    ::DeleteDC(dc);
    return metrics.tmHeight;
}

struct Control {
    HWND window;
    RECT rect;      // in the parent's client area
    RECT ink;       // the part it covers: where its text is, for a static text
    RECT holds;     // the area in which siblings may lie on it (a tab control's display area)
    std::wstring name;
};

class Checker {
public:
    explicit Checker(UINT dpi) : dpi_(dpi) {}

    int Check(HWND parent) {
        RECT client;
        ::GetClientRect(parent, &client);
        std::vector<Control> shown;
        for (HWND child = ::GetWindow(parent, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT)) {
            if (!(::GetWindowLongW(child, GWL_STYLE) & WS_VISIBLE)) continue;
            Control control = Describe(child);
            RECT inside;
            if (!::IsRectEmpty(&control.ink) &&
                (!::IntersectRect(&inside, &control.ink, &client) || !::EqualRect(&inside, &control.ink)))
                Problem(control, L"reaches out of its parent");
            // The parts of the system's own controls are their business.
            if (HoldsControls(child)) Check(child);
            shown.push_back(control);
        }
        for (size_t i = 0; i < shown.size(); ++i)
            for (size_t j = i + 1; j < shown.size(); ++j) CheckPair(shown[i], shown[j]);
        return problems_;
    }

    const std::wstring& Report() const { return report_; }

private:
    int Scale(int pixels) const { return ::MulDiv(pixels, static_cast<int>(dpi_), 96); }

    void Problem(const Control& control, const std::wstring& what) {
        ++problems_;
        report_ += control.name + L": " + what + L"\n";
    }

    static bool Within(const RECT& inner, const RECT& outer) {
        return inner.left >= outer.left && inner.top >= outer.top && inner.right <= outer.right &&
               inner.bottom <= outer.bottom;
    }

    void CheckPair(const Control& a, const Control& b) {
        RECT common;
        if (::IsRectEmpty(&a.ink) || ::IsRectEmpty(&b.ink) || !::IntersectRect(&common, &a.ink, &b.ink)) return;
        if (Within(b.ink, a.holds) || Within(a.ink, b.holds)) return;
        Problem(a, L"covers " + b.name);
    }

    Control Describe(HWND window) {
        Control control{window, {}, {}, {}, {}};
        ::GetWindowRect(window, &control.rect);
        ::MapWindowPoints(nullptr, ::GetParent(window), reinterpret_cast<POINT*>(&control.rect), 2);
        control.ink = control.rect;
        std::wstring className = ClassOf(window), text = TextOf(window);
        // A page is named by its first text.
        std::wstring shown = text;
        for (HWND child = ::GetWindow(window, GW_CHILD); shown.empty() && child; child = ::GetWindow(child, GW_HWNDNEXT))
            shown = TextOf(child);
        control.name = className + L" \"" + shown.substr(0, 40) + L"\" (" + std::to_wstring(::GetDlgCtrlID(window)) + L")";
        RECT client;
        ::GetClientRect(window, &client);
        LONG style = ::GetWindowLongW(window, GWL_STYLE);
        if (_wcsicmp(className.c_str(), L"Static") == 0) DescribeStatic(control, style, text, client);
        else if (_wcsicmp(className.c_str(), L"Button") == 0) CheckButton(control, style, text, client);
        else if (_wcsicmp(className.c_str(), L"Edit") == 0) CheckEdit(control, client);
        else if (_wcsicmp(className.c_str(), L"ComboBox") == 0) CheckCombo(control, client);
        else if (_wcsicmp(className.c_str(), WC_TABCONTROLW) == 0) DescribeTabs(control);
        else if (_wcsnicmp(className.c_str(), L"RichEdit", 8) == 0) CheckRichEdit(control, text, client);
        return control;
    }

    void DescribeStatic(Control& control, LONG style, const std::wstring& text, const RECT& client) {
        LONG type = style & SS_TYPEMASK;
        // Lines and frames are drawn inside whatever they mark.
        if (type == SS_ETCHEDHORZ || type == SS_ETCHEDVERT || type == SS_ETCHEDFRAME || type == SS_BLACKFRAME ||
            type == SS_GRAYFRAME || type == SS_WHITEFRAME) {
            control.ink = {0, 0, 0, 0};
            return;
        }
        bool wraps = type == SS_LEFT || type == SS_CENTER || type == SS_RIGHT;
        if (!wraps && type != SS_SIMPLE && type != SS_LEFTNOWORDWRAP) return;
        if (text.empty()) {
            control.ink = {0, 0, 0, 0};
            return;
        }
        bool ellipsis = (style & SS_ELLIPSISMASK) != 0;
        UINT flags = DT_EXPANDTABS | (style & SS_NOPREFIX ? DT_NOPREFIX : 0) | (wraps && !ellipsis ? DT_WORDBREAK : DT_SINGLELINE);
        SIZE need = Measure(control.window, text, client.right, flags);
        if (need.cy > client.bottom) Problem(control, L"text needs " + std::to_wstring(need.cy) + L" pixels of height, has " + std::to_wstring(client.bottom));
        if (!ellipsis && need.cx > client.right) Problem(control, L"text needs " + std::to_wstring(need.cx) + L" pixels of width, has " + std::to_wstring(client.right));
        int width = std::min(need.cx, client.right);
        int left = control.rect.left + (type == SS_CENTER ? (client.right - width) / 2 : type == SS_RIGHT ? client.right - width : 0);
        control.ink = {left, control.rect.top, left + width, control.rect.top + need.cy};
    }

    void CheckButton(Control& control, LONG style, const std::wstring& text, const RECT& client) {
        LONG type = style & BS_TYPEMASK;
        if (type == BS_GROUPBOX || text.empty()) return;
        bool box = type == BS_CHECKBOX || type == BS_AUTOCHECKBOX || type == BS_RADIOBUTTON ||
                   type == BS_AUTORADIOBUTTON || type == BS_3STATE || type == BS_AUTO3STATE;
        // A check box's glyph and gap, a push button's edges.
        int taken = box ? Scale(20) : Scale(6);
        int width = client.right - taken;
        UINT flags = style & BS_MULTILINE ? DT_WORDBREAK : DT_SINGLELINE;
        SIZE need = Measure(control.window, text, width, flags);
        if (need.cx > width) Problem(control, L"label needs " + std::to_wstring(need.cx + taken) + L" pixels of width, has " + std::to_wstring(client.right));
        if (need.cy > client.bottom) Problem(control, L"label needs " + std::to_wstring(need.cy) + L" pixels of height, has " + std::to_wstring(client.bottom));
    }

    void CheckEdit(Control& control, const RECT& client) {
        if (FontHeight(control.window) > client.bottom)
            Problem(control, L"its font is taller than the box");
    }

    void CheckCombo(Control& control, const RECT& client) {
        int count = static_cast<int>(::SendMessageW(control.window, CB_GETCOUNT, 0, 0));
        int width = client.right - ::GetSystemMetrics(SM_CXVSCROLL) - Scale(6);
        for (int i = 0; i < count; ++i) {
            wchar_t item[256] = {};
            if (::SendMessageW(control.window, CB_GETLBTEXTLEN, i, 0) >= 255) continue;
            ::SendMessageW(control.window, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(item));
            SIZE need = Measure(control.window, item, 0, DT_SINGLELINE | DT_NOPREFIX);
            if (need.cx > width) Problem(control, std::wstring(L"entry \"") + item + L"\" does not fit");
        }
    }

    void CheckRichEdit(Control& control, const std::wstring& text, const RECT& client) {
        if (text.empty()) return;
        POINTL last = {0, 0};
        ::SendMessageW(control.window, EM_POSFROMCHAR, reinterpret_cast<WPARAM>(&last), static_cast<LPARAM>(text.size() - 1));
        int bottom = last.y + FontHeight(control.window);
        if (bottom > client.bottom) Problem(control, L"text needs " + std::to_wstring(bottom) + L" pixels of height, has " + std::to_wstring(client.bottom));
    }

    void DescribeTabs(Control& control) {
        RECT display;
        ::GetClientRect(control.window, &display);
        ::SendMessageW(control.window, TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&display));
        ::OffsetRect(&display, control.rect.left, control.rect.top);
        control.holds = display;
    }

    UINT dpi_;
    int problems_ = 0;
    std::wstring report_;
};

}  // namespace

int CheckLayout(HWND root, std::wstring& report) {
    Checker checker(DpiOf(root));
    int problems = checker.Check(root);
    report = checker.Report();
    return problems;
}

}  // namespace testsupport
