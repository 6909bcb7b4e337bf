// A DLL planted beside the launcher under the name of a system DLL that is
// no KnownDLL is never loaded: the launcher imports only KnownDLLs by name
// (tests/support/check-imports.sh) and loads the others by their full path
// in the system folder. Wine shows it when it is told to prefer a DLL it
// finds over its own, as Windows does for every DLL that is not known.
#include <gtest/gtest.h>

#include "tests/e2e/LauncherRun.h"

using namespace testsupport;

namespace {

// Sets an environment variable of this process (and so of the launchers it
// starts) while it lives.
class ScopedVariable {
public:
    ScopedVariable(const wchar_t* name, const std::wstring& value) : name_(name) {
        wchar_t old[1024] = {};
        DWORD length = ::GetEnvironmentVariableW(name, old, 1024);
        had_ = length > 0 && length < 1024;
        if (had_) old_ = old;
        ::SetEnvironmentVariableW(name, value.c_str());
    }
    ~ScopedVariable() { ::SetEnvironmentVariableW(name_, had_ ? old_.c_str() : nullptr); }

private:
    const wchar_t* name_;
    std::wstring old_;
    bool had_ = false;
};

}  // namespace

TEST(PlantedDll, ADllBesideTheLauncherIsNeverLoaded) {
    TempDir dir;
    std::wstring launcher = dir.File(L"setup.exe");
    ASSERT_TRUE(::CopyFileW((BuildDir() + L"\\tests\\launchers\\server_harrowby\\setup.exe").c_str(),
                            launcher.c_str(), FALSE));
    const wchar_t* planted[] = {L"crypt32.dll", L"version.dll"};
    for (const wchar_t* name : planted)
        ASSERT_TRUE(::CopyFileW((BuildDir() + L"\\tests\\planted\\" + name).c_str(), dir.File(name).c_str(), FALSE));
    // What Windows does for every DLL that is not known: the program's own
    // folder first.
    ScopedVariable overrides(L"WINEDLLOVERRIDES", L"crypt32,version=n,b;mscoree=;mshtml=");
    // Another user's account: the password is encrypted and encoded, which
    // needs crypt32.dll at run time.
    LauncherRun run = RunLauncherFile(
        launcher, L"/qn HB_Service_Username=.\\svc HB_Service_Password=pw /L*v %LOG%", 120000);
    EXPECT_EQ(run.exitCode, 0u);
    EXPECT_TRUE(run.LogHas(L"Property(S): HB_SERVICE_PASSWORD = ")) << "the password was not passed on";
    for (const wchar_t* name : planted)
        EXPECT_FALSE(FileExists(dir.File(name) + L".loaded")) << testing::PrintToString(std::wstring(name));
}
