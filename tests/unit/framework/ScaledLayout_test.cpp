// The pieces of the wizard's display scaling that decide by themselves: the
// frame's 96-DPI layout read back from a template agrees with where Windows
// places the template's controls at 96 DPI; a page's flow of controls grows
// texts that need more room and moves what lies below them; icons are drawn
// from the image that need not be stretched up.
#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <array>
#include <vector>

#include "framework/Dialog.h"
#include "framework/Dpi.h"
#include "framework/FlowLayout.h"
#include "framework/IconImage.h"
#include "wizard/FrameGeometry.h"

namespace {

// Reads its own template and the rectangles Windows gave its controls.
class TemplateDialog : public fw::CDialog {
public:
    TemplateDialog() : fw::CDialog(900, 1033) {}
    FrameGeometry geometry;
    bool read = false;
    std::vector<RECT> placed;
    SIZE client = {0, 0};

protected:
    BOOL OnInitDialog() override {
        read = geometry.Read(TemplateData(), TemplateSize());
        for (int id : {100, IDOK}) {
            RECT rect;
            ::GetWindowRect(GetDlgItem(id), &rect);
            ::MapWindowPoints(nullptr, hwnd_, reinterpret_cast<POINT*>(&rect), 2);
            placed.push_back(rect);
        }
        RECT own;
        ::GetClientRect(hwnd_, &own);
        client = {own.right, own.bottom};
        ::PostMessageW(hwnd_, WM_COMMAND, IDCANCEL, 0);
        return TRUE;
    }
};

std::array<LONG, 4> Edges(const RECT& rect) { return {rect.left, rect.top, rect.right, rect.bottom}; }

// A parent window for controls, destroyed at the end of the test.
struct Parent {
    HWND hwnd = ::CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 300, 400, nullptr, nullptr,
                                  ::GetModuleHandleW(nullptr), nullptr);
    HFONT font = static_cast<HFONT>(::GetStockObject(DEFAULT_GUI_FONT));
    ~Parent() { ::DestroyWindow(hwnd); }
    HWND Text(const wchar_t* text) const {
        HWND control = ::CreateWindowExW(0, L"STATIC", text, WS_CHILD | WS_VISIBLE | SS_LEFT, 0, 0, 10, 10, hwnd,
                                         nullptr, ::GetModuleHandleW(nullptr), nullptr);
        ::SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
        return control;
    }
};

RECT RectOf(HWND control) {
    RECT rect;
    ::GetWindowRect(control, &rect);
    ::MapWindowPoints(nullptr, ::GetParent(control), reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

}  // namespace

TEST(ScaledLayout, TheFrameLayoutReadFromItsTemplateIsWhereWindowsPutsItAt96Dpi) {
    ASSERT_EQ(fw::DpiOfWindow(nullptr), 96u) << "the test's prefix runs at 96 DPI";
    TemplateDialog dialog;
    ASSERT_EQ(dialog.DoModal(), IDCANCEL);
    ASSERT_TRUE(dialog.read);
    EXPECT_EQ(Edges(dialog.geometry.Control(100, 96)), Edges(dialog.placed[0]));
    EXPECT_EQ(Edges(dialog.geometry.Control(IDOK, 96)), Edges(dialog.placed[1]));
    EXPECT_EQ(dialog.geometry.Client(96).cx, dialog.client.cx);
    EXPECT_EQ(dialog.geometry.Client(96).cy, dialog.client.cy);
    // At 144 DPI every edge is half as far again, rounded as MulDiv rounds.
    RECT at96 = dialog.geometry.Control(IDOK, 96), at144 = dialog.geometry.Control(IDOK, 144);
    EXPECT_EQ(at144.left, ::MulDiv(at96.left, 3, 2));
    EXPECT_EQ(at144.bottom, ::MulDiv(at96.bottom, 3, 2));
    RECT unknown = dialog.geometry.Control(4711, 96);
    EXPECT_TRUE(::IsRectEmpty(&unknown));
}

TEST(ScaledLayout, ATextThatNeedsMoreRoomGrowsAndMovesWhatIsBelowIt) {
    using fw::At;
    using fw::FromEnd;
    Parent parent;
    HWND title = parent.Text(L"Title");
    HWND body = parent.Text(L"A text long enough to need several lines in a narrow column of this page, "
                            L"more than its rectangle holds.");
    HWND beside = parent.Text(L"Beside");
    HWND below = parent.Text(L"Below");
    fw::FlowLayout layout;
    layout.Add(title, {At(0), At(0), At(100), At(20)});
    layout.Add(body, {At(0), At(24), At(100), At(44)});
    layout.Add(beside, {At(110), At(30), FromEnd(0), At(50)});
    layout.Add(below, {At(0), At(50), FromEnd(0), At(70)}, fw::FlowLayout::Kind::Fixed);
    int lowest = layout.Apply(300, 400, 96);
    RECT bodyRect = RectOf(body);
    int growth = fw::TextHeight(body, 100) - 20;
    ASSERT_GT(growth, 0) << "the text needs more than its 20 pixels";
    EXPECT_EQ(bodyRect.bottom, 44 + growth);
    EXPECT_EQ(RectOf(below).top, 50 + growth) << "what lies below moves by the growth";
    EXPECT_EQ(RectOf(beside).top, 30) << "what stands beside it stays";
    EXPECT_EQ(RectOf(title).top, 0);
    EXPECT_EQ(lowest, 70 + growth);

    // At 144 DPI: every edge scaled, then the same growth rule.
    layout.Apply(300, 400, 144);
    EXPECT_EQ(RectOf(title).bottom, 30);
    EXPECT_EQ(RectOf(beside).left, 165);
    EXPECT_EQ(RectOf(beside).right, 300) << "an edge from the far side stays there";
    EXPECT_EQ(RectOf(body).bottom, std::max(66, 36 + fw::TextHeight(body, 150)));

    // A text that fits keeps its rectangle, and nothing moves.
    ::SetWindowTextW(body, L"Short");
    layout.Apply(300, 400, 96);
    EXPECT_EQ(RectOf(body).bottom, 44);
    EXPECT_EQ(RectOf(below).top, 50);
}

TEST(ScaledLayout, AnIconIsDrawnFromTheSmallestImageThatNeedNotBeStretched) {
    const std::vector<fw::IconImageSize> images = {{16, 32}, {32, 32}, {48, 32}, {256, 32}};
    EXPECT_EQ(fw::ChooseIconImage(images, 48), 2);
    EXPECT_EQ(fw::ChooseIconImage(images, 72), 3) << "the 256-pixel image scaled down, not the 48 stretched up";
    EXPECT_EQ(fw::ChooseIconImage(images, 24), 1);
    EXPECT_EQ(fw::ChooseIconImage(images, 300), 3) << "the largest, where none is large enough";
    EXPECT_EQ(fw::ChooseIconImage({{32, 8}, {32, 32}, {32, 24}}, 32), 1) << "the deepest colours among equals";
    EXPECT_EQ(fw::ChooseIconImage({}, 32), -1);
}
