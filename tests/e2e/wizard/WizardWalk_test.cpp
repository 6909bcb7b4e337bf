// The wizard in full user interface, driven through window messages: Next
// and Back through the pages, Cancel to the finish page, the language box.
#include <gtest/gtest.h>

#include "tests/e2e/LauncherRun.h"
#include "tests/support/WizardDriver.h"

using namespace testsupport;

namespace {
constexpr int kNext = 1, kCancel = 2, kBack = 1000, kLanguage = 1015;

bool PageHas(const WizardDriver& wizard, const std::wstring& part) { return wizard.WaitForPageText(part, 5000); }
}  // namespace

TEST(WizardWalk, NextAndBackThroughAllPages) {
    Background launcher(LauncherPath(L"three_packages"), L"");
    WizardDriver wizard(launcher.Id());
    ASSERT_TRUE(wizard.Found());
    EXPECT_TRUE(wizard.IsVisible());
    EXPECT_EQ(wizard.Caption(), L"Morvex Test Editor 2024 - Installer Wizard");
    EXPECT_EQ(wizard.ControlText(kNext), L"&Next >");
    EXPECT_EQ(wizard.ControlText(kBack), L"< &Back");
    EXPECT_EQ(wizard.ControlText(kCancel), L"Cancel");
    EXPECT_TRUE(PageHas(wizard, L"This wizard will install Morvex Test Editor 2024"));
    EXPECT_FALSE(wizard.IsEnabled(kBack));
    // A single-language installer offers no languages, and makes no box for
    // them (each window costs the first view its time).
    EXPECT_EQ(::GetDlgItem(wizard.Frame(), kLanguage), nullptr);

    wizard.Press(kNext);
    EXPECT_TRUE(PageHas(wizard, L"This installer contains additional products"));
    EXPECT_TRUE(wizard.IsEnabled(kBack));
    wizard.Press(kBack);
    EXPECT_TRUE(PageHas(wizard, L"This wizard will install Morvex Test Editor 2024"));
    EXPECT_FALSE(wizard.IsEnabled(kBack));
    wizard.Press(kNext);
    EXPECT_TRUE(PageHas(wizard, L"This installer contains additional products"));
    // Next unpacks, naming each product on the unpack page's status line
    // (posted: the page keeps the frame responsive while it unpacks), and
    // installs; the frame comes back with the finish page.
    wizard.PressPosted(kNext);
    EXPECT_TRUE(wizard.WaitForPageText(L"Reading contents of package ", 30000));
    EXPECT_TRUE(wizard.WaitForPageText(L"Setup completed", 60000));
    EXPECT_TRUE(PageHas(wizard, L"Setup has successfully installed Morvex Test Editor 2024."));
    EXPECT_TRUE(wizard.IsVisible());
    EXPECT_EQ(wizard.ControlText(kNext), L"&Finish");
    wizard.Press(kNext);
    EXPECT_EQ(launcher.Wait(20000), 0u);
}

TEST(WizardWalk, CancelJumpsToTheFinishPage) {
    Background launcher(LauncherPath(L"three_packages"), L"");
    WizardDriver wizard(launcher.Id());
    ASSERT_TRUE(wizard.Found());
    wizard.Press(kNext);
    ASSERT_TRUE(PageHas(wizard, L"This installer contains additional products"));
    wizard.Press(kCancel);
    EXPECT_TRUE(PageHas(wizard, L"Setup aborted"));
    EXPECT_TRUE(PageHas(wizard, L"The wizard was interrupted before Morvex Test Editor 2024 could be completely installed."));
    EXPECT_TRUE(PageHas(wizard, L"Your system has not been modified."));
    EXPECT_TRUE(PageHas(wizard, L"Click Finish to exit the wizard."));
    EXPECT_EQ(wizard.ControlText(kNext), L"&Finish");
    EXPECT_FALSE(wizard.IsEnabled(kBack));
    wizard.Press(kNext);
    EXPECT_EQ(launcher.Wait(20000), 3u);
}

TEST(WizardWalk, BackOnTheFirstPageActsAsCancel) {
    Background launcher(LauncherPath(L"two_packages"), L"");
    WizardDriver wizard(launcher.Id());
    ASSERT_TRUE(wizard.Found());
    wizard.Press(kBack);
    EXPECT_TRUE(PageHas(wizard, L"Setup aborted"));
    wizard.Press(kCancel);  // Cancel on the finish page ends the wizard
    EXPECT_EQ(launcher.Wait(20000), 3u);
}

TEST(WizardWalk, LanguageBoxRetextsEverythingAtOnce) {
    Background launcher(LauncherPath(L"multi"), L"lang=English");
    WizardDriver wizard(launcher.Id());
    ASSERT_TRUE(wizard.Found());
    // The welcome page shows the box as it is activated: on a busy machine
    // that may come a moment after the frame.
    for (int tries = 0; tries < 100 && !wizard.IsShown(kLanguage); ++tries) ::Sleep(50);
    EXPECT_TRUE(wizard.IsShown(kLanguage));
    auto entries = wizard.LanguageEntries();
    ASSERT_EQ(entries.size(), 5u);
    EXPECT_EQ(entries[0], L"English");
    EXPECT_EQ(wizard.SelectedLanguage(), L"English");
    std::wstring englishCaption = wizard.Caption();
    std::vector<std::wstring> englishPage = wizard.PageTexts();

    ASSERT_TRUE(wizard.ChooseLanguage(L"German"));
    EXPECT_NE(wizard.Caption(), englishCaption);
    EXPECT_NE(wizard.ControlText(kNext), L"&Next >");
    EXPECT_NE(wizard.ControlText(kCancel), L"Cancel");
    EXPECT_NE(wizard.ControlText(kBack), L"< &Back");
    EXPECT_NE(wizard.PageTexts(), englishPage);
    // The box now lists the names in German, with German chosen.
    std::wstring german = wizard.SelectedLanguage();
    EXPECT_EQ(german, wizard.LanguageEntries()[1]);
    EXPECT_NE(german, L"German");

    ASSERT_TRUE(wizard.ChooseLanguage(wizard.LanguageEntries()[0]));
    EXPECT_EQ(wizard.Caption(), englishCaption);
    EXPECT_EQ(wizard.ControlText(kNext), L"&Next >");
    EXPECT_EQ(wizard.PageTexts(), englishPage);
    wizard.Press(kCancel);
    wizard.Press(kNext);
    EXPECT_EQ(launcher.Wait(20000), 3u);
}

TEST(WizardWalk, HiddenRunPassesEveryPage) {
    LauncherRun run = RunLauncher(L"two_packages", L"/qb /L*v %LOG%");
    EXPECT_EQ(run.exitCode, 0u);
    size_t at = 0;
    // The unpack page has an activation of its own: its worker thread.
    for (const wchar_t* line : {L"Activating dialog Welcome", L"Created SetupWorkerThread", L"Worker-thread stopped",
                                L"Starting the real work", L"Installing product Morvex Test Tools 2024", L"Activating dialog Finish"}) {
        std::wstring page = line;
        size_t found = run.log.find(std::wstring(L"ZEL (c): ") + page + L"\r\n", at);
        ASSERT_NE(found, std::wstring::npos) << testing::PrintToString(std::wstring(page));
        at = found;
    }
}
