// A DLL planted beside the launcher under the name of a system DLL that is
// no KnownDLL is never loaded: the launcher imports only KnownDLLs by name
// (tests/support/check-imports.sh) and loads the others by their full path
// in the system folder. Wine shows it when it is told to prefer a DLL it
// finds over its own, as Windows does for every DLL that is not known.
// Only crypt32.dll is planted: Wine's own msi.dll imports version.dll and
// Wine looks for that beside the program, where Windows, with the search
// limited to the system folder at start (SetDefaultDllDirectories), does
// not.
#include <gtest/gtest.h>

#include <vector>

#include "tests/e2e/LauncherRun.h"

using namespace testsupport;

namespace {

// Tells Wine to load these DLLs for setup.exe as Windows loads every DLL
// that is not known: a file it finds first (beside the program) before its
// own.
bool PreferFoundDlls(const std::vector<std::wstring>& names) {
    HKEY key = nullptr;
    if (::RegCreateKeyExW(HKEY_CURRENT_USER, L"Software\\Wine\\AppDefaults\\setup.exe\\DllOverrides", 0, nullptr, 0,
                          KEY_SET_VALUE, nullptr, &key, nullptr) != ERROR_SUCCESS)
        return false;
    bool set = true;
    const wchar_t order[] = L"native,builtin";
    for (const std::wstring& name : names)
        set = set && ::RegSetValueExW(key, name.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(order),
                                      sizeof(order)) == ERROR_SUCCESS;
    ::RegCloseKey(key);
    return set;
}

}  // namespace

TEST(PlantedDll, ADllBesideTheLauncherIsNeverLoaded) {
    TempDir dir;
    std::wstring launcher = dir.File(L"setup.exe");
    ASSERT_TRUE(::CopyFileW((BuildDir() + L"\\tests\\launchers\\server_harrowby\\setup.exe").c_str(),
                            launcher.c_str(), FALSE));
    const wchar_t* planted[] = {L"crypt32.dll"};
    for (const wchar_t* name : planted)
        ASSERT_TRUE(::CopyFileW((BuildDir() + L"\\tests\\planted\\" + name).c_str(), dir.File(name).c_str(), FALSE));
    ASSERT_TRUE(PreferFoundDlls({L"crypt32"}));
    // Another user's account: the password is encrypted and encoded, which
    // needs crypt32.dll at run time.
    LauncherRun run = RunLauncherFile(
        launcher, L"/qn HB_Service_Username=.\\svc HB_Service_Password=pw /L*v %LOG%", 120000);
    EXPECT_EQ(run.exitCode, 0u);
    EXPECT_TRUE(run.LogHas(L"Property(S): HB_SERVICE_PASSWORD = ")) << "the password was not passed on";
    for (const wchar_t* name : planted)
        EXPECT_FALSE(FileExists(dir.File(name) + L".loaded")) << testing::PrintToString(std::wstring(name));
}
