// The white tab control keeps each tab's text and data, tells the area
// below the tabs, erases its background in white, and gives the control
// back to the system's procedure when it goes.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include "framework/CommonControls.h"
#include "framework/Handles.h"
#include "framework/WhiteTabCtrl.h"

namespace {
// A plain parent window, destroyed at the end of the test.
struct Parent {
    HWND hwnd = ::CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 400, 300, nullptr, nullptr,
                                  ::GetModuleHandleW(nullptr), nullptr);
    ~Parent() { ::DestroyWindow(hwnd); }
};

std::wstring TabText(HWND tabs, int index) {
    wchar_t buffer[64] = {};
    TCITEMW item = {};
    item.mask = TCIF_TEXT;
    item.pszText = buffer;
    item.cchTextMax = 64;
    ::SendMessageW(tabs, TCM_GETITEMW, index, reinterpret_cast<LPARAM>(&item));
    return buffer;
}
}  // namespace

TEST(WhiteTabCtrl, TabsKeepTheirTextsAndData) {
    ASSERT_TRUE(fw::InitCommonControls());
    Parent parent;
    fw::CWhiteTabCtrl tabs;
    ASSERT_TRUE(tabs.Create(parent.hwnd, {0, 0, 300, 200}, 10, nullptr));
    EXPECT_EQ(tabs.InsertItem(0, L"Brimcart Server", 4), 0);
    EXPECT_EQ(tabs.InsertItem(1, L"BrimcartWeb Server", 5), 1);
    EXPECT_EQ(tabs.GetItemCount(), 2);
    EXPECT_EQ(tabs.GetItemData(1, -1), 5);
    EXPECT_EQ(tabs.GetItemData(2, -1), -1) << "no such tab";
    tabs.SetCurSel(1);
    EXPECT_EQ(tabs.GetCurSel(), 1);
    tabs.SetItemText(0, L"Other");
    EXPECT_EQ(TabText(tabs.GetSafeHwnd(), 0), L"Other");
    EXPECT_EQ(tabs.GetItemData(0, -1), 4) << "a new text keeps the data";
    RECT display = tabs.DisplayRect();
    EXPECT_GT(display.top, 0) << "below the tabs";
    EXPECT_LT(display.bottom, 200);
}

TEST(WhiteTabCtrl, BackgroundIsErasedInWhite) {
    ASSERT_TRUE(fw::InitCommonControls());
    Parent parent;
    fw::CWhiteTabCtrl tabs;
    ASSERT_TRUE(tabs.Create(parent.hwnd, {0, 0, 120, 80}, 10, nullptr));
    HDC screen = ::GetDC(nullptr);
    HDC memory = ::CreateCompatibleDC(screen);
    fw::GdiObject bitmap(::CreateCompatibleBitmap(screen, 120, 80));
    ::ReleaseDC(nullptr, screen);
    HGDIOBJ old = ::SelectObject(memory, bitmap.get());
    RECT all = {0, 0, 120, 80};
    ::FillRect(memory, &all, static_cast<HBRUSH>(::GetStockObject(BLACK_BRUSH)));
    EXPECT_TRUE(::SendMessageW(tabs.GetSafeHwnd(), WM_ERASEBKGND, reinterpret_cast<WPARAM>(memory), 0));
    EXPECT_EQ(::GetPixel(memory, 60, 60), RGB(255, 255, 255));
    ::SelectObject(memory, old);
    ::DeleteDC(memory);
}

TEST(WhiteTabCtrl, TheControlOutlivesItsObjectSafely) {
    ASSERT_TRUE(fw::InitCommonControls());
    Parent parent;
    HWND control = nullptr;
    {
        fw::CWhiteTabCtrl tabs;
        ASSERT_TRUE(tabs.Create(parent.hwnd, {0, 0, 120, 80}, 10, nullptr));
        tabs.InsertItem(0, L"One", 1);
        control = tabs.GetSafeHwnd();
    }
    // The system's own procedure answers again.
    EXPECT_EQ(::SendMessageW(control, TCM_GETITEMCOUNT, 0, 0), 1);
    EXPECT_EQ(::GetWindowLongPtrW(control, GWLP_USERDATA), 0);
}
