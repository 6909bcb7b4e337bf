// The sub-packages page shows one check box per sub-package (at most five)
// and keeps a change only when Next is pressed.
#include <gtest/gtest.h>

#include "tests/e2e/LauncherRun.h"
#include "tests/support/WizardDriver.h"

using namespace testsupport;

namespace {
constexpr int kNext = 1, kCancel = 2, kBack = 1000, kFirstBox = 1007;

HWND Box(const WizardDriver& wizard, int row) {
    HWND area = ::GetDlgItem(wizard.Frame(), 1036);
    for (HWND page = ::GetWindow(area, GW_CHILD); page; page = ::GetWindow(page, GW_HWNDNEXT))
        if (HWND box = ::GetDlgItem(page, kFirstBox + row)) return box;
    return nullptr;
}
bool Checked(HWND box) { return ::SendMessageW(box, BM_GETCHECK, 0, 0) == BST_CHECKED; }
std::wstring TextOf(HWND window) {
    wchar_t text[256] = {};
    ::GetWindowTextW(window, text, 256);
    return text;
}
}  // namespace

TEST(SubPackagesPage, ThreePackagesShowTwoBoxesAndBackDiscards) {
    Background launcher(LauncherPath(L"three_packages"), L"");
    WizardDriver wizard(launcher.Id());
    ASSERT_TRUE(wizard.Found());
    wizard.Press(kNext);
    ASSERT_TRUE(wizard.WaitForPageText(L"This installer contains additional products"));
    EXPECT_TRUE(wizard.WaitForPageText(L"can be installed by selecting the relevant check boxes."));
    HWND first = Box(wizard, 0), second = Box(wizard, 1);
    ASSERT_NE(first, nullptr);
    ASSERT_NE(second, nullptr);
    EXPECT_EQ(Box(wizard, 2), nullptr);
    EXPECT_EQ(TextOf(first), L"Morvex Test Tools 2024");
    EXPECT_EQ(TextOf(second), L"Morvex Brimcart Server 2024");
    RECT a, b;
    ::GetWindowRect(first, &a);
    ::GetWindowRect(second, &b);
    EXPECT_EQ(b.top - a.top, 21);
    // A fresh machine offers every sub-package.
    EXPECT_TRUE(Checked(first));
    ::SendMessageW(first, BM_SETCHECK, BST_UNCHECKED, 0);
    wizard.Press(kBack);
    ASSERT_TRUE(wizard.WaitForPageText(L"Morvex Test Editor 2024"));
    wizard.Press(kNext);
    ASSERT_TRUE(wizard.WaitForPageText(L"This installer contains additional products"));
    EXPECT_TRUE(Checked(first)) << "Back must not store the box";
    wizard.Press(kCancel);
    wizard.Press(kNext);
    EXPECT_EQ(launcher.Wait(20000), 3u);
}

TEST(SubPackagesPage, AtMostFiveRows) {
    Background launcher(LauncherPath(L"eight_packages"), L"subPackages=Seven");
    WizardDriver wizard(launcher.Id());
    ASSERT_TRUE(wizard.Found());
    wizard.Press(kNext);
    ASSERT_TRUE(wizard.WaitForPageText(L"This installer contains additional products"));
    for (int row = 0; row < 5; ++row) ASSERT_NE(Box(wizard, row), nullptr) << row;
    EXPECT_EQ(Box(wizard, 5), nullptr);
    EXPECT_EQ(TextOf(Box(wizard, 4)), L"Morvex Sub Five");
    // subPackages=Seven deselected the shown rows.
    EXPECT_FALSE(Checked(Box(wizard, 0)));
    wizard.Press(kCancel);
    wizard.Press(kNext);
    EXPECT_EQ(launcher.Wait(20000), 3u);
}
