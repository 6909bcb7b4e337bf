// A /qn run needs no display: on a desktop whose graphics driver cannot be
// loaded (as in a container without any), where creating any window fails,
// a quiet install and a quiet removal end with 0 and leave the machine as
// they say. The full wizard there fails to appear, which shows the desktop
// has no display.
#include <gtest/gtest.h>

#include "tests/catalogue/FixtureInstall.h"
#include "tests/support/TestSupport.h"

using namespace testsupport;

namespace {

// A desktop of the prefix whose display driver cannot be loaded: Wine reads
// the graphics driver when a desktop is first used, so a new desktop made
// after the setting has none.
class DesktopWithoutDisplay {
public:
    DesktopWithoutDisplay() {
        HKEY key = nullptr;
        if (::RegCreateKeyExW(HKEY_CURRENT_USER, L"Software\\Wine\\Drivers", 0, nullptr, 0, KEY_SET_VALUE, nullptr,
                              &key, nullptr) == ERROR_SUCCESS) {
            const wchar_t driver[] = L"nodisplay";
            ::RegSetValueExW(key, L"Graphics", 0, REG_SZ, reinterpret_cast<const BYTE*>(driver), sizeof(driver));
            ::RegCloseKey(key);
        }
        desktop_ = ::CreateDesktopW(kName, nullptr, nullptr, 0, GENERIC_ALL, nullptr);
    }
    ~DesktopWithoutDisplay() {
        if (desktop_) ::CloseDesktop(desktop_);
    }
    bool Made() const { return desktop_ != nullptr; }

    // Runs the launcher on the desktop; its exit code (STILL_ACTIVE when it
    // did not end in time).
    DWORD Run(const std::wstring& arguments) const {
        STARTUPINFOW startup = {};
        startup.cb = sizeof(startup);
        std::wstring desktop = std::wstring(L"WinSta0\\") + kName;
        startup.lpDesktop = desktop.data();
        std::wstring program = LauncherPath(L"single");
        std::wstring commandLine = L"\"" + program + L"\" " + arguments;
        PROCESS_INFORMATION info = {};
        if (!::CreateProcessW(program.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                              &startup, &info))
            return ::GetLastError();
        ::CloseHandle(info.hThread);
        DWORD code = STILL_ACTIVE;
        if (::WaitForSingleObject(info.hProcess, 120000) == WAIT_OBJECT_0) ::GetExitCodeProcess(info.hProcess, &code);
        else ::TerminateProcess(info.hProcess, 1);
        ::CloseHandle(info.hProcess);
        return code;
    }

private:
    static constexpr const wchar_t* kName = L"NoDisplay";
    HDESK desktop_ = nullptr;
};

}  // namespace

TEST(NoDisplay, AQuietInstallAndRemovalNeedNoWindow) {
    DesktopWithoutDisplay desktop;
    ASSERT_TRUE(desktop.Made()) << ::GetLastError();
    TempDir dir;
    std::wstring productCode = statetest::FactsOf(statetest::FixtureMsi(L"editor")).productCode;
    std::wstring file = ProgramFiles32() + L"\\Morvex\\TestEditor\\readme.txt";

    // No window can be made there: the full wizard cannot appear.
    std::wstring fullLog = dir.File(L"full.txt");
    EXPECT_EQ(desktop.Run(L"/L*v \"" + fullLog + L"\""), 2u);
    EXPECT_TRUE(Contains(ReadUtf16(fullLog), L"The wizard could not be created")) << ReadUtf16(fullLog).c_str();

    std::wstring installLog = dir.File(L"install.txt");
    EXPECT_EQ(desktop.Run(L"/qn /L*v \"" + installLog + L"\""), 0u) << ReadUtf16(installLog).c_str();
    EXPECT_TRUE(statetest::ProductInstalled(productCode));
    EXPECT_TRUE(FileExists(file));

    std::wstring removalLog = dir.File(L"removal.txt");
    EXPECT_EQ(desktop.Run(L"/x /qn /L*v \"" + removalLog + L"\""), 0u) << ReadUtf16(removalLog).c_str();
    EXPECT_FALSE(statetest::ProductInstalled(productCode));
    EXPECT_FALSE(FileExists(file));
}
