// The wizard by keyboard alone, as a user without a mouse drives it: after
// every change of page (Next, Back, the unpack worker, a "Change..."
// dialog) the focus is on a control that takes input, Tab visits the
// controls in the order they stand on the screen, Ctrl+Tab switches the
// service page's tabs and Escape cancels as Cancel does. Keys are typed
// into the launcher's window as real key strokes.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <cstdlib>
#include <initializer_list>

#include <msi.h>

#include "framework/Handles.h"
#include "framework/SystemApi.h"
#include "tests/catalogue/FixtureInstall.h"
#include "tests/e2e/LauncherRun.h"
#include "tests/e2e/server/ServerTestSupport.h"
#include "tests/support/RemoteControls.h"
#include "tests/support/WizardDriver.h"

using namespace testsupport;

namespace {
constexpr int kNext = 1, kCancel = 2, kBack = 1000, kLanguage = 1015;
constexpr int kFirstSubPackage = 1007, kServiceTabs = 1411, kSummary = 1415, kChange = 1418;

int IdOf(HWND control) { return control ? ::GetDlgCtrlID(control) : 0; }

std::vector<int> Ids(const std::vector<HWND>& controls) {
    std::vector<int> ids;
    for (HWND control : controls) ids.push_back(IdOf(control));
    return ids;
}

// Types keys into the launcher's window: each key down and up, with the
// modifiers held around it.
void Type(HWND frame, WORD key, std::initializer_list<WORD> modifiers = {}) {
    ::SetForegroundWindow(frame);
    std::vector<INPUT> inputs;
    auto add = [&inputs](WORD virtualKey, bool up) {
        INPUT input = {};
        input.type = INPUT_KEYBOARD;
        input.ki.wVk = virtualKey;
        input.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
        inputs.push_back(input);
    };
    for (WORD modifier : modifiers) add(modifier, false);
    add(key, false);
    add(key, true);
    for (WORD modifier : modifiers) add(modifier, true);
    ::SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
    ::Sleep(300);
}

bool WaitForFocus(const WizardDriver& wizard, int id, DWORD timeoutMs = 10000) {
    for (DWORD waited = 0; waited < timeoutMs; waited += 50) {
        if (IdOf(wizard.FocusedControl()) == id) return true;
        ::Sleep(50);
    }
    return false;
}
}  // namespace

TEST(Keyboard, TabFollowsTheScreenFromTheLanguageBoxAndEveryPageTakesTheFocus) {
    Background launcher(LauncherPath(L"multi_three"), L"lang=English");
    WizardDriver wizard(launcher.Id());
    ASSERT_TRUE(wizard.Found());
    // The welcome page: Next has the focus; the language box stands first
    // in the row below the page (Back is off on the first page).
    ASSERT_TRUE(WaitForFocus(wizard, kNext));
    EXPECT_EQ(Ids(wizard.TabOrder()), (std::vector<int>{kNext, kCancel, kLanguage}));
    Type(wizard.Frame(), VK_TAB);
    EXPECT_EQ(IdOf(wizard.FocusedControl()), kCancel) << "Tab goes on from Next";
    Type(wizard.Frame(), VK_TAB);
    EXPECT_EQ(IdOf(wizard.FocusedControl()), kLanguage) << "and wraps to the leftmost control";

    // Enter on the focused language box does nothing; Next moves on.
    wizard.Press(kNext);
    ASSERT_TRUE(WaitForFocus(wizard, kFirstSubPackage)) << "the sub-packages page starts at its first box";
    EXPECT_EQ(Ids(wizard.TabOrder()), (std::vector<int>{kFirstSubPackage, kFirstSubPackage + 1, kBack, kNext, kCancel}));
    // Back by keyboard, and the welcome page takes the focus again although
    // the Back button that had it is now off.
    Type(wizard.Frame(), 'B', {VK_MENU});
    ASSERT_TRUE(wizard.WaitForPageText(L"This wizard will install", 5000));
    EXPECT_TRUE(WaitForFocus(wizard, kNext));
    // Escape cancels as Cancel does: the finish page of a cancelled run.
    Type(wizard.Frame(), VK_ESCAPE);
    EXPECT_TRUE(wizard.WaitForPageText(L"Setup aborted", 5000));
    EXPECT_TRUE(WaitForFocus(wizard, kNext)) << "the Finish button";
    Type(wizard.Frame(), VK_RETURN);
    EXPECT_EQ(launcher.Wait(20000), 3u);
}

TEST(Keyboard, TheLanguageBoxComesBeforeTheButtonsBesideIt) {
    // An older version installed: Quick Install is offered on the left of
    // Next, and the language box stands left of it.
    fw::Msi().MsiSetInternalUI(INSTALLUILEVEL_NONE, nullptr);
    ASSERT_EQ(fw::Msi().MsiInstallProductW(statetest::FixtureMsi(L"dralyn2023").c_str(), L""), 0u);
    Background launcher(LauncherPath(L"dralyn_multi"), L"lang=English");
    WizardDriver wizard(launcher.Id());
    ASSERT_TRUE(wizard.Found());
    ASSERT_TRUE(wizard.WaitForEnabled(kBack, 20000));
    ASSERT_TRUE(WaitForFocus(wizard, kNext));
    EXPECT_EQ(Ids(wizard.TabOrder()), (std::vector<int>{kNext, kCancel, kLanguage, kBack}));
    // The first control of the Tab order, where it starts.
    EXPECT_EQ(IdOf(::GetNextDlgTabItem(wizard.Frame(), nullptr, FALSE)), kLanguage);
    Type(wizard.Frame(), VK_ESCAPE);
    EXPECT_TRUE(wizard.WaitForPageText(L"Setup aborted", 5000));
    Type(wizard.Frame(), VK_RETURN);
    EXPECT_EQ(launcher.Wait(20000), 3u);
}

TEST(Keyboard, TheServicePageIsReachedAfterUnpackingAndEveryControlOnItByKeys) {
    Background launcher(LauncherPath(L"server_brimcart"), L"");
    WizardDriver wizard(launcher.Id());
    ASSERT_TRUE(wizard.Found());
    ASSERT_TRUE(WaitForFocus(wizard, kNext));
    Type(wizard.Frame(), VK_RETURN);
    // The unpack worker ends and the service page takes the focus.
    ASSERT_TRUE(wizard.WaitForPageText(L"Check the Web server and service settings", 30000));
    ASSERT_TRUE(WaitForFocus(wizard, kNext));
    // Tab: the tab strip first, then each summary (read-only, named by its
    // section) and its "Change..." button, top to bottom, then the buttons.
    Type(wizard.Frame(), VK_TAB);
    Type(wizard.Frame(), VK_TAB);
    EXPECT_EQ(IdOf(wizard.FocusedControl()), kServiceTabs);
    EXPECT_EQ(Ids(wizard.TabOrder()),
              (std::vector<int>{kServiceTabs, kSummary, kChange, kSummary + 1, kChange + 1, kSummary + 2, kChange + 2,
                                kBack, kNext, kCancel}));
    HWND summary = servertest::FindControl(wizard.Frame(), kSummary);
    ASSERT_NE(summary, nullptr);
    EXPECT_TRUE(::GetWindowLongW(summary, GWL_STYLE) & ES_READONLY);
    // The tab strip comes first although the sections lie on it: it leaves
    // its display area to them (its window region stops at the area).
    HWND strip = servertest::FindControl(wizard.Frame(), kServiceTabs);
    RECT summaryRect;
    ::GetWindowRect(summary, &summaryRect);
    POINT inside = {(summaryRect.left + summaryRect.right) / 2, (summaryRect.top + summaryRect.bottom) / 2};
    ::ScreenToClient(strip, &inside);
    fw::GdiObject region(::CreateRectRgn(0, 0, 0, 0));
    ASSERT_NE(::GetWindowRgn(strip, static_cast<HRGN>(region.get())), ERROR);
    EXPECT_FALSE(::PtInRegion(static_cast<HRGN>(region.get()), inside.x, inside.y));
    // Ctrl+Tab switches the tab wherever the focus is on the page.
    HWND tabs = servertest::FindControl(wizard.Frame(), kServiceTabs);
    Type(wizard.Frame(), VK_TAB);
    EXPECT_EQ(IdOf(wizard.FocusedControl()), kSummary);
    Type(wizard.Frame(), VK_TAB, {VK_CONTROL});
    EXPECT_EQ(::SendMessageW(tabs, TCM_GETCURSEL, 0, 0), 1);
    EXPECT_EQ(RichEditText(servertest::FindControl(wizard.Frame(), kSummary)), L"port number: 8082");
    Type(wizard.Frame(), VK_TAB, {VK_CONTROL, VK_SHIFT});
    EXPECT_EQ(::SendMessageW(tabs, TCM_GETCURSEL, 0, 0), 0);
    // Escape on a summary still cancels the wizard, as Cancel does.
    Type(wizard.Frame(), VK_TAB);
    EXPECT_EQ(IdOf(wizard.FocusedControl()), kChange);
    // A "Change..." dialog opens with Space and opens centred on the wizard;
    // Escape closes it and the button that opened it has the focus again.
    Type(wizard.Frame(), VK_SPACE);
    FoundWindow dialog = WaitForWindow(launcher.Id(), 10000, wizard.Frame(), L"#32770");
    ASSERT_NE(dialog.handle, nullptr);
    RECT frame, box;
    ::GetWindowRect(wizard.Frame(), &frame);
    ::GetWindowRect(dialog.handle, &box);
    EXPECT_LE(std::abs((frame.left + frame.right) - (box.left + box.right)), 2);
    EXPECT_LE(std::abs((frame.top + frame.bottom) - (box.top + box.bottom)), 2);
    Type(dialog.handle, VK_ESCAPE);
    ASSERT_TRUE(WaitForWindowGone(dialog.handle));
    EXPECT_TRUE(WaitForFocus(wizard, kChange));
    Type(wizard.Frame(), VK_TAB, {VK_SHIFT});
    EXPECT_EQ(IdOf(wizard.FocusedControl()), kSummary);
    Type(wizard.Frame(), VK_ESCAPE);
    EXPECT_TRUE(wizard.WaitForPageText(L"Setup aborted", 5000));
    Type(wizard.Frame(), VK_RETURN);
    EXPECT_EQ(launcher.Wait(20000), 3u);
}
