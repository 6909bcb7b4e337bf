// What users of high contrast and of screen readers get from the wizard:
// with high contrast on, the pages and the service page's summaries take
// the system's window and text colours (outside it the page stays white);
// every input a screen reader lands on has a name that says what it is.
// Wine cannot turn high contrast on: the test makes the launcher's process
// see it on (tests/support/ui_probe.cpp) in a prefix with high-contrast
// colours, and announces the change as Windows does.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include "icbs/RegistryKey.h"
#include "icbs/RegistryViews.h"
#include "tests/e2e/LauncherRun.h"
#include "tests/e2e/server/ServerTestSupport.h"
#include "tests/support/RemoteControls.h"
#include "tests/support/WizardDriver.h"

using namespace testsupport;

namespace {
constexpr int kNext = 1, kCancel = 2, kLanguage = 1015, kProgress = 1005, kBackupSkip = 1155;
constexpr int kServiceTabs = 1411, kTitle = 1412, kSummary = 1415, kChange = 1418;
const wchar_t* kServicePageText = L"Check the Web server and service settings";

// A high-contrast colour set for the prefix, read by every program started
// afterwards: yellow text on black.
void UseContrastColours() {
    RegistryKey colours(L"HKEY_CURRENT_USER\\Control Panel\\Colors", false, true, registry_view::k32);
    ASSERT_TRUE(colours.IsOpen());
    colours.SetString(L"Window", L"0 0 0");
    colours.SetString(L"WindowText", L"255 255 0");
}

std::wstring TextOf(HWND control) {
    wchar_t text[512] = {};
    ::SendMessageW(control, WM_GETTEXT, 512, reinterpret_cast<LPARAM>(text));
    return text;
}

void EndWizard(const WizardDriver& wizard, Background& launcher) {
    wizard.Press(kCancel);
    wizard.WaitForPageText(L"Setup aborted", 5000);
    wizard.PressPosted(kNext);
    launcher.Wait(20000);
}
}  // namespace

TEST(HighContrast, TheSummariesTakeTheSystemColoursAndTheLookStaysOtherwise) {
    UseContrastColours();
    Background launcher(LauncherPath(L"server_brimcart"), L"");
    WizardDriver wizard(launcher.Id());
    ASSERT_TRUE(wizard.Found());
    wizard.PressPosted(kNext);
    ASSERT_TRUE(wizard.WaitForPageText(kServicePageText, 30000));
    HWND summary = servertest::WaitForControl(wizard.Frame(), kSummary + 2);
    ASSERT_NE(summary, nullptr);
    summary = servertest::FindControl(wizard.Frame(), kSummary);
    // Without high contrast: black on the page's white, as always.
    std::optional<RichEditColours> plain = RichEditColoursOf(summary);
    ASSERT_TRUE(plain);
    EXPECT_EQ(plain->background, RGB(255, 255, 255));
    ASSERT_TRUE(TurnHighContrastOn(wizard.Frame()));
    for (int section = 0; section < 3; ++section) {
        std::optional<RichEditColours> colours = RichEditColoursOf(servertest::FindControl(wizard.Frame(), kSummary + section));
        ASSERT_TRUE(colours) << section;
        EXPECT_EQ(colours->text, RGB(255, 255, 0)) << "the system's text colour, section " << section;
        EXPECT_EQ(colours->background, RGB(0, 0, 0)) << "the system's window colour, section " << section;
    }
    // Another tab's summaries keep the colours.
    ::SendMessageW(servertest::FindControl(wizard.Frame(), kServiceTabs), TCM_SETCURFOCUS, 1, 0);
    std::optional<RichEditColours> other = RichEditColoursOf(servertest::FindControl(wizard.Frame(), kSummary));
    ASSERT_TRUE(other);
    EXPECT_EQ(other->text, RGB(255, 255, 0));
    EndWizard(wizard, launcher);
}

TEST(ScreenReader, EveryInputHasANameThatSaysWhatItIs) {
    std::wstring data = servertest::CommonAppData() + L"\\Morvex\\SollenveyServer";
    servertest::Plant(data + L"\\sollenveyserver.cfg", "[server]\r\nport=1\r\n");
    Background launcher(LauncherPath(L"server_multi"), L"lang=German");
    WizardDriver wizard(launcher.Id());
    ASSERT_TRUE(wizard.Found());
    ASSERT_TRUE(wizard.WaitForEnabled(kNext, 20000));
    // The language box has no label on the screen: its name is its own.
    EXPECT_EQ(AccessibleName(::GetDlgItem(wizard.Frame(), kLanguage)), std::optional<std::wstring>(L"Sprache"));
    wizard.PressPosted(kNext);
    ASSERT_TRUE(wizard.WaitForPageText(L"Dieses Installationsprogramm enth", 10000));
    wizard.PressPosted(kNext);
    // The settings backup page's bar is named by the status above it.
    ASSERT_TRUE(wizard.WaitForPageText(L"Berechnung abgeschlossen", 30000));
    EXPECT_EQ(AccessibleName(servertest::FindControl(wizard.Frame(), kProgress)),
              std::optional<std::wstring>(L"Berechnung abgeschlossen"));
    ASSERT_TRUE(wizard.WaitForEnabled(kNext));
    wizard.PressPosted(kNext);
    ASSERT_TRUE(wizard.WaitForPageText(L"berpr\u00fcfen Sie die Webserver", 30000));
    ASSERT_NE(servertest::WaitForControl(wizard.Frame(), kChange + 2), nullptr);
    // Each "Change..." button by what it changes, for the entry of the tab;
    // each summary by its section's title.
    const wchar_t* names[] = {L"Einstellungen des unverschl\u00fcsselten Webservers von Brimcart Server \u00e4ndern",
                              L"Einstellungen des SSL-Webservers von Brimcart Server \u00e4ndern",
                              L"Diensteinstellungen von Brimcart Server \u00e4ndern"};
    for (int section = 0; section < 3; ++section) {
        EXPECT_EQ(AccessibleName(servertest::FindControl(wizard.Frame(), kChange + section)),
                  std::optional<std::wstring>(names[section]));
        std::wstring title = TextOf(servertest::FindControl(wizard.Frame(), kTitle + section));
        EXPECT_EQ(AccessibleName(servertest::FindControl(wizard.Frame(), kSummary + section)),
                  std::optional<std::wstring>(title));
    }
    ::SendMessageW(servertest::FindControl(wizard.Frame(), kServiceTabs), TCM_SETCURFOCUS, 1, 0);
    EXPECT_EQ(AccessibleName(servertest::FindControl(wizard.Frame(), kChange)),
              std::optional<std::wstring>(L"Einstellungen des unverschl\u00fcsselten Webservers von BrimcartWeb Server \u00e4ndern"));
    wizard.Press(kCancel);
    wizard.WaitForPageText(L"Setup abgebrochen", 5000);
    wizard.PressPosted(kNext);
    launcher.Wait(20000);
}
