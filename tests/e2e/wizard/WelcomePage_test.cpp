// The welcome page names what the run will do, finds an older installation
// of the main product through the setup keys real packages left, and offers
// Quick Install, which installs at once with the installed product's choices.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <optional>

#include <windows.h>
#include <msi.h>

#include "framework/SystemApi.h"
#include "icbs/RegistryKey.h"
#include "icbs/RegistryViews.h"
#include "tests/catalogue/FixtureInstall.h"
#include "tests/e2e/LauncherRun.h"
#include "tests/support/RemoteControls.h"
#include "tests/support/WizardDriver.h"

using namespace statetest;
using namespace testsupport;

namespace {
constexpr int kNext = 1, kCancel = 2, kBack = 1000;
const wchar_t kDralyn[] = L"Morvex Dralyn Enterprise Edition";

void InstallFixture(const wchar_t* name, const std::wstring& properties = L"") {
    fw::Msi().MsiSetInternalUI(INSTALLUILEVEL_NONE, nullptr);
    ASSERT_EQ(fw::Msi().MsiInstallProductW(FixtureMsi(name).c_str(), properties.c_str()), 0u)
        << testing::PrintToString(std::wstring(name));
}

RECT Rect(const WizardDriver& wizard, int id) {
    RECT rect;
    ::GetWindowRect(::GetDlgItem(wizard.Frame(), id), &rect);
    return rect;
}

int Width(const WizardDriver& wizard, int id) {
    RECT rect = Rect(wizard, id);
    return rect.right - rect.left;
}

// The visible page's icon control that is shown and not at the page's top
// left, where the product icon is: the hint icon of an upgrade.
HWND HintIcon(const WizardDriver& wizard) {
    HWND page = wizard.VisiblePage();
    for (HWND child = page ? ::GetWindow(page, GW_CHILD) : nullptr; child; child = ::GetWindow(child, GW_HWNDNEXT)) {
        RECT rect;
        ::GetWindowRect(child, &rect);
        ::MapWindowPoints(nullptr, page, reinterpret_cast<POINT*>(&rect), 2);
        if ((::GetWindowLongW(child, GWL_STYLE) & SS_TYPEMASK) == SS_ICON && ::IsWindowVisible(child) && rect.top > 0)
            return child;
    }
    return nullptr;
}

RECT InPage(const WizardDriver& wizard, HWND control) {
    RECT rect;
    ::GetWindowRect(control, &rect);
    ::MapWindowPoints(nullptr, wizard.VisiblePage(), reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

// One launcher in full UI, its log in a folder of its own.
struct WelcomeRun {
    WelcomeRun(const wchar_t* variant, const std::wstring& arguments = L"")
        : launcher(LauncherPath(variant), L"/L*v \"" + logDir.File(L"setup.log") + L"\" " + arguments),
          wizard(launcher.Id()) {}
    // Cancels on the welcome page and waits for the end.
    DWORD Cancel() {
        wizard.Press(kCancel);
        if (wizard.WaitForPageText(L"Setup aborted", 5000)) wizard.Press(kNext);
        return launcher.Wait(20000);
    }
    // Waits for the end of the install: with one package the wizard closes
    // by itself, with more the finish page is left with Finish.
    DWORD Finish(const std::wstring& completed = L"Setup completed") {
        DWORD start = ::GetTickCount();
        while (::GetTickCount() - start < 90000) {
            if (launcher.Wait(200) != STILL_ACTIVE) return launcher.Wait(0);
            if (wizard.PageShowsText(completed)) wizard.PressPosted(kNext);
        }
        ADD_FAILURE() << "the install did not end";
        return launcher.Wait(20000);
    }
    std::wstring Log() const { return ReadUtf16(logDir.File(L"setup.log")); }

    TempDir logDir;
    Background launcher;
    WizardDriver wizard;
};

// The choices an installation of the editor left on the machine.
void RecordEditorChoices() {
    RegistryKey installation(L"HKEY_LOCAL_MACHINE\\SOFTWARE\\Morvex\\Dralyn\\Installation_v2023", false, false,
                             registry_view::k32);
    ASSERT_TRUE(installation.IsOpen());
    installation.SetDword(L"QuilletTrustedLocations", 1);
    RegistryKey menu(L"HKEY_CURRENT_USER\\Software\\Microsoft\\Internet Explorer\\MenuExt\\Open in Dralyn", false, true,
                     registry_view::k32);
    menu.SetString(L"", L"C:\\Program Files\\Morvex\\Dralyn2023\\dralyn.htm");
    RegistryKey htm(L"HKEY_CURRENT_USER\\SOFTWARE\\Morvex\\Dralyn\\FileExt\\.htm", false, true, registry_view::k32);
    htm.SetString(L"FileType2", L"HTML");
    RegistryKey html(L"HKEY_CURRENT_USER\\SOFTWARE\\Morvex\\Dralyn\\FileExt\\.html", false, true, registry_view::k32);
    html.SetString(L"FileType2", L"XML");
}

// The setup keys of the maker's second product in the version of the
// editor's installation, as a suite's installation leaves them.
void RecordQuilletInstallation() {
    RegistryKey quillet(L"HKEY_LOCAL_MACHINE\\SOFTWARE\\Morvex\\Quillet\\Installation_v2023\\Setup", false, true,
                        registry_view::k32);
    quillet.SetString(L"Version", L"2023.01.00");
    quillet.SetString(L"ProductId", L"QL::E");
}

}  // namespace

TEST(WelcomePage, MaintenanceRunsNameTheirModeAndNeverOfferQuickInstall) {
    InstallFixture(L"dralyn2023");
    {
        // The editor itself, installed by this installer: a modify run.
        LauncherRun install = RunLauncher(L"dralyn", L"/qn");
        ASSERT_EQ(install.exitCode, 0u);
    }
    struct Mode {
        const wchar_t* arguments;
        const wchar_t* text;
    };
    for (const Mode& mode : {Mode{L"", L"This wizard will help to modify the installation of your product."},
                             Mode{L"/f", L"This wizard will help you to repair installation of your product."},
                             Mode{L"/x", L"Setup will guide you through the uninstall process of your product."}}) {
        WelcomeRun run(L"dralyn", mode.arguments);
        ASSERT_TRUE(run.wizard.Found());
        EXPECT_TRUE(run.wizard.WaitForPageText(mode.text, 10000)) << testing::PrintToString(std::wstring(mode.text));
        EXPECT_TRUE(run.wizard.PageShowsText(L"Welcome to the installer for "));
        EXPECT_FALSE(run.wizard.PageShowsText(L"Quick Install"));
        EXPECT_EQ(run.wizard.ControlText(kBack), L"< &Back");
        EXPECT_FALSE(run.wizard.IsEnabled(kBack));
        EXPECT_EQ(Width(run.wizard, kBack), Width(run.wizard, kCancel));
        run.Cancel();
    }
}

TEST(WelcomePage, AnOlderMajorVersionOffersQuickInstallWhichInstallsWithItsChoices) {
    InstallFixture(L"dralyn2023");
    RecordEditorChoices();
    WelcomeRun run(L"dralyn");
    ASSERT_TRUE(run.wizard.Found());
    ASSERT_TRUE(run.wizard.WaitForPageText(L"Upgrading to", 10000));
    EXPECT_TRUE(run.wizard.PageShowsText(L"Morvex Test Editor 2024"));
    // The texts are set one after the other: wait for this one too.
    EXPECT_TRUE(run.wizard.WaitForPageText(std::wstring(L"We have found ") + kDralyn +
                                           L" on your system. You are about to install a new major version of this product.", 5000));
    EXPECT_TRUE(run.wizard.PageShowsText(L"To install this version with the same options as your current product"));
    EXPECT_EQ(run.wizard.ControlText(kBack), L"&Quick Install");
    EXPECT_TRUE(run.wizard.IsEnabled(kBack));
    EXPECT_EQ(Width(run.wizard, kBack), Width(run.wizard, kCancel) + 10);
    // The hint row lies below the mode text, icon and hint centred on one
    // line, and the legal notice keeps to the page's bottom edge.
    HWND mode = run.wizard.PageControl(L"We have found "), hint = run.wizard.PageControl(L"To install this version");
    HWND icon = HintIcon(run.wizard), legal = run.wizard.PageControl(L"This program is protected by copyright law");
    ASSERT_TRUE(mode && hint && icon && legal);
    RECT modeRect = InPage(run.wizard, mode), hintRect = InPage(run.wizard, hint), iconRect = InPage(run.wizard, icon);
    EXPECT_GE(std::min(hintRect.top, iconRect.top), modeRect.bottom + 6);
    EXPECT_EQ(iconRect.left, 0);
    EXPECT_EQ(hintRect.left, iconRect.right + 4);
    EXPECT_LE(std::abs((hintRect.top + hintRect.bottom) - (iconRect.top + iconRect.bottom)), 2);
    RECT page;
    ::GetClientRect(run.wizard.VisiblePage(), &page);
    EXPECT_TRUE(::IsWindowVisible(legal));
    EXPECT_EQ(InPage(run.wizard, legal).bottom, page.bottom);
    EXPECT_GE(InPage(run.wizard, legal).top, std::max(hintRect.bottom, iconRect.bottom));

    // No other page waits: the install runs and the finish page follows.
    run.wizard.PressPosted(kBack);
    EXPECT_EQ(run.Finish(), 0u);
    std::wstring log = run.Log();
    EXPECT_TRUE(Contains(log, L"ZEL (c): detecting upgrade or downgrade scenarios...\r\n"));
    EXPECT_TRUE(Contains(log, std::wstring(L"    This is a product upgrade of your current installation of ") + kDralyn +
                                  L".\r\n"));
    EXPECT_FALSE(Contains(log, L"Your current installation will get replaced."));
    for (const wchar_t* property :
         {L"Property(S): DO_QUICK_INSTALL = DY::E", L"Property(S): UI_HIDE_ALL_BUT_PROGRESS = Yes",
          L"Property(S): ADDEXAMPLESTOTRUSTEDLOCATIONS = #1", L"Property(S): ADDIESUPPORT = Yes",
          L"Property(S): HTMLISXHTML = XML"})
        EXPECT_TRUE(Contains(log, property)) << testing::PrintToString(std::wstring(property));
    // The default folder is not passed on; the editor's pages were not shown.
    EXPECT_FALSE(Contains(log, L"DRALYNINSTALLDIR"));
    EXPECT_TRUE(FileExists(ProgramFiles32() + L"\\Morvex\\TestEditor\\readme.txt"));
}

TEST(WelcomePage, NextInsteadOfQuickInstallRunsTheOrdinaryWizard) {
    InstallFixture(L"dralyn2023");
    RecordEditorChoices();
    WelcomeRun run(L"dralyn");
    ASSERT_TRUE(run.wizard.WaitForPageText(L"Upgrading to", 10000));
    run.wizard.PressPosted(kNext);
    EXPECT_EQ(run.Finish(), 0u);
    std::wstring log = run.Log();
    EXPECT_TRUE(Contains(log, L"Property(S): INSTALLEDFROMLAUNCHER = Yes"));
    EXPECT_FALSE(Contains(log, L"DO_QUICK_INSTALL"));
    EXPECT_FALSE(Contains(log, L"ADDIESUPPORT"));
    EXPECT_FALSE(Contains(log, L"ADDEXAMPLESTOTRUSTEDLOCATIONS"));
}

TEST(WelcomePage, AMinorUpdateIsNamedSo) {
    InstallFixture(L"dralyn2024");
    WelcomeRun run(L"dralyn");
    ASSERT_TRUE(run.wizard.WaitForPageText(L"Upgrading to", 10000));
    // The page's texts are set one after another: waited for, not read at once.
    EXPECT_TRUE(run.wizard.WaitForPageText(std::wstring(L"We have found ") + kDralyn +
                                           L" on your system. You are about to replace your current installation with a minor update.",
                                           5000));
    EXPECT_EQ(run.wizard.ControlText(kBack), L"&Quick Install");
    run.Cancel();
    EXPECT_TRUE(Contains(run.Log(), L"    Your current installation will get replaced.\r\n"));
}

TEST(WelcomePage, ANewMajorVersionOverAFolderTheUserChoseIsNoQuickInstall) {
    InstallFixture(L"dralyn2023", L"INSTALLDIR=\"C:\\Custom Place\\Dralyn\"");
    ASSERT_TRUE(FileExists(L"C:\\Custom Place\\Dralyn\\application.txt"));
    WelcomeRun run(L"dralyn");
    ASSERT_TRUE(run.wizard.WaitForPageText(L"This wizard will install Morvex Test Editor 2024", 10000));
    EXPECT_FALSE(run.wizard.PageShowsText(L"Upgrading to"));
    EXPECT_EQ(run.wizard.ControlText(kBack), L"< &Back");
    EXPECT_FALSE(run.wizard.IsEnabled(kBack));
    run.Cancel();
    EXPECT_TRUE(Contains(run.Log(), std::wstring(L"    This is a product upgrade of your current installation of ") +
                                        kDralyn + L".\r\n"));
}

TEST(WelcomePage, ANewerInstallationIsADowngradeWithoutQuickInstall) {
    InstallFixture(L"dralyn2024newer");
    WelcomeRun run(L"dralyn");
    ASSERT_TRUE(run.wizard.WaitForPageText(L"This wizard will install Morvex Test Editor 2024", 10000));
    EXPECT_FALSE(run.wizard.IsEnabled(kBack));
    EXPECT_EQ(run.wizard.ControlText(kBack), L"< &Back");
    run.Cancel();
    std::wstring log = run.Log();
    EXPECT_TRUE(Contains(log, std::wstring(L"    This is a product downgrade of your current installation of ") +
                                  kDralyn + L".\r\n"));
    EXPECT_FALSE(Contains(log, L"This is a product upgrade"));
}

TEST(WelcomePage, ASuitesInstallationOfTheSameMajorVersionIsNoQuickInstall) {
    InstallFixture(L"dralyn2024bundle");
    WelcomeRun run(L"dralyn_suite");
    ASSERT_TRUE(run.wizard.WaitForPageText(L"This wizard will install Morvex Test Editor 2024", 10000));
    EXPECT_FALSE(run.wizard.IsEnabled(kBack));
    EXPECT_EQ(run.wizard.ControlText(kBack), L"< &Back");
    run.Cancel();
    EXPECT_TRUE(Contains(run.Log(), std::wstring(L"    This is a product upgrade of your current installation of ") +
                                        kDralyn + L".\r\n"));
}

TEST(WelcomePage, QuickInstallContinuesInTheLanguageOfTheInstalledProduct) {
    InstallFixture(L"dralyn2023de");
    WelcomeRun run(L"dralyn_multi");
    ASSERT_TRUE(run.wizard.Found());
    // German from the first text on.
    ASSERT_TRUE(run.wizard.WaitForPageText(L"Upgrade auf", 10000));
    EXPECT_EQ(run.wizard.ControlText(kBack), L"&Schnellinstallation");
    EXPECT_EQ(run.wizard.SelectedLanguage(), L"Deutsch");
    // The German texts leave no room for the legal notice under the hint
    // row: it is hidden rather than drawn over the hint.
    HWND legal = run.wizard.PageControl(L"Dieses Programm ist durch Urheberrechtsgesetze");
    ASSERT_NE(legal, nullptr);
    EXPECT_FALSE(::IsWindowVisible(legal));
    EXPECT_TRUE(run.wizard.PageShowsText(L"Um diese Version mit denselben Optionen"));
    // The longer label gets a wider button, grown to the left only, between
    // the language box and Next.
    constexpr int kLanguageBox = 1015;
    EXPECT_GT(Width(run.wizard, kBack), Width(run.wizard, kCancel) + 10);
    EXPECT_LT(Rect(run.wizard, kBack).right, Rect(run.wizard, kNext).left);
    EXPECT_GT(Rect(run.wizard, kBack).left, Rect(run.wizard, kLanguageBox).right);
    run.wizard.PressPosted(kBack);
    EXPECT_EQ(run.Finish(L"Setup abgeschlossen"), 0u);
    std::wstring log = run.Log();
    EXPECT_TRUE(Contains(log, L"Property(S): INSTALLER_LANGUAGE = de"));
    EXPECT_TRUE(Contains(log, L"Property(S): DO_QUICK_INSTALL = DY::E"));
}

TEST(WelcomePage, ASubPackageTakesPartWhenItsProductIsInstalledInTheSameVersion) {
    InstallFixture(L"dralyn2023");
    RecordQuilletInstallation();
    RegistryKey quilletInstallation(L"HKEY_LOCAL_MACHINE\\SOFTWARE\\Morvex\\Quillet\\Installation_v2023", false,
                                    false, registry_view::k32);
    quilletInstallation.SetDword(L"QuilletTrustedLocations", 1);
    WelcomeRun run(L"dralyn_quillet");
    ASSERT_TRUE(run.wizard.WaitForPageText(L"Upgrading to", 10000));
    run.wizard.PressPosted(kBack);
    EXPECT_EQ(run.Finish(), 0u);
    std::wstring log = run.Log();
    size_t second = log.find(L"ZEL (c): Installing product Morvex Test Tools 2024");
    ASSERT_NE(second, std::wstring::npos) << "the sub-package is installed";
    EXPECT_TRUE(Contains(log, L"Property(S): DO_QUICK_INSTALL = DY::E,QL::E"));
    // The trusted-locations choice of the second product goes with it.
    EXPECT_TRUE(Contains(log.substr(second), L"Property(S): ADDEXAMPLESTOTRUSTEDLOCATIONS = #1"));
    EXPECT_FALSE(Contains(log.substr(0, second), L"Property(S): ADDEXAMPLESTOTRUSTEDLOCATIONS = #1"));
    EXPECT_FALSE(Contains(log.substr(second), L"ADDIESUPPORT"));
}

TEST(WelcomePage, ASubPackageWhoseProductIsNotInstalledInThatVersionStaysOut) {
    InstallFixture(L"dralyn2023");
    LauncherRun run = RunLauncher(L"dralyn_quillet", L"/qn /L*v %LOG%", 120000);
    EXPECT_EQ(run.exitCode, 0u);
    EXPECT_TRUE(run.LogHas(L"ZEL (c): Installing product Morvex Test Editor 2024"));
    // On a machine without an older installation the fresh install takes it.
    EXPECT_FALSE(run.LogHas(L"ZEL (c): Installing product Morvex Test Tools 2024"));
    EXPECT_FALSE(FileExists(ProgramFiles32() + L"\\Morvex\\TestTools\\readme.txt"));
}

// subPackages= stands over the upgrade's own choice, both ways: an explicit
// selection installs what the older installation lacks, and a Quick Install
// that repeats an installation with another sub-package says so.
TEST(WelcomePage, AnExplicitSubPackageSelectionStandsOverTheUpgrade) {
    InstallFixture(L"dralyn2023");
    LauncherRun chosen = RunLauncher(L"dralyn_quillet", L"/qn subPackages=Tools /L*v %LOG%", 120000);
    EXPECT_EQ(chosen.exitCode, 0u);
    EXPECT_TRUE(chosen.LogHas(L"This is a product upgrade of your current installation of"));
    EXPECT_TRUE(chosen.LogHas(L"ZEL (c): Installing product Morvex Test Tools 2024"));
    EXPECT_TRUE(FileExists(ProgramFiles32() + L"\\Morvex\\TestTools\\readme.txt"));
}

TEST(WelcomePage, AQuickInstallWithAnotherSubPackageSelectionLogsIt) {
    InstallFixture(L"dralyn2023");
    RecordQuilletInstallation();
    WelcomeRun run(L"dralyn_quillet", L"subPackages=none");
    ASSERT_TRUE(run.wizard.WaitForPageText(L"Upgrading to", 10000));
    run.wizard.PressPosted(kBack);
    EXPECT_EQ(run.Finish(), 0u);
    std::wstring log = run.Log();
    EXPECT_TRUE(Contains(log, L"ZEL (c): Quick Install: Morvex Test Tools 2024 came with " + std::wstring(kDralyn) +
                                  L" but is not selected; it is not installed.\r\n"))
        << log;
    EXPECT_FALSE(Contains(log, L"ZEL (c): Installing product Morvex Test Tools 2024"));
}

TEST(WelcomePage, AQuoteInARecordedChoiceStaysInsideItsValue) {
    InstallFixture(L"kestrane2021");
    RegistryKey settings(L"HKEY_CURRENT_USER\\Software\\Morvex\\Kestrane\\Settings", false, true, registry_view::k32);
    settings.SetDword(L"DefaultServerType", 1);
    settings.SetString(L"DefaultServer", L"x\" INSTALLDIR=\"C:\\Windows");
    WelcomeRun run(L"kestrane");
    ASSERT_TRUE(run.wizard.WaitForPageText(L"Upgrading to", 10000));
    run.wizard.PressPosted(kBack);
    EXPECT_EQ(run.Finish(), 0u);
    std::wstring log = run.Log();
    EXPECT_TRUE(Contains(log, L"Property(S): KESTRANESERVER = x\" INSTALLDIR=\"C:\\Windows")) << "the value whole";
    EXPECT_FALSE(Contains(log, L"Property(S): INSTALLDIR = C:\\Windows"));
    EXPECT_TRUE(FileExists(ProgramFiles32() + L"\\Morvex\\TestEditor\\readme.txt"));
}

// The product name is drawn in the bold heading font up to 50 characters
// and in the smaller bold heading font beyond; the welcome line keeps the
// regular text font.
TEST(WelcomePage, ANameOfMoreThanFiftyCharactersTakesTheSmallHeadingFont) {
    std::optional<LOGFONTW> fifty, fiftyOne;
    for (const wchar_t* variant : {L"name_50", L"name_51"}) {
        SCOPED_TRACE(testing::PrintToString(std::wstring(variant)));
        WelcomeRun run(variant);
        ASSERT_TRUE(run.wizard.WaitForPageText(L"This wizard will install", 10000));
        HWND name = run.wizard.PageControl(L"Morvex Test Editor Whose Name Has Fifty");
        HWND welcome = run.wizard.PageControl(L"Welcome to the installer for ");
        ASSERT_TRUE(name && welcome);
        std::optional<LOGFONTW> nameFont = ControlFont(name), welcomeFont = ControlFont(welcome);
        ASSERT_TRUE(nameFont && welcomeFont);
        EXPECT_EQ(nameFont->lfWeight, FW_BOLD);
        EXPECT_EQ(welcomeFont->lfWeight, FW_NORMAL);
        bool atFifty = std::wstring(variant) == L"name_50";
        (atFifty ? fifty : fiftyOne) = nameFont;
        // The heading font has the text font's size.
        if (atFifty) {
            EXPECT_EQ(nameFont->lfHeight, welcomeFont->lfHeight);
        }
        run.Cancel();
    }
    ASSERT_TRUE(fifty && fiftyOne);
    EXPECT_LT(std::abs(fiftyOne->lfHeight), std::abs(fifty->lfHeight));
    EXPECT_EQ(std::wstring(fiftyOne->lfFaceName), std::wstring(fifty->lfFaceName));
}
