// Shows that the launcher unpacks damaged packages cleanly (1620, the log line, no database left behind), that a hidden run with such a package shows its finish page, and that Escape during a two-package extraction lets the first cabinet finish and starts no second.
#include <gtest/gtest.h>

#include <windows.h>
#include <tlhelp32.h>

#include <algorithm>
#include <functional>

#include "framework/Handles.h"
#include "tests/e2e/LauncherRun.h"
#include "tests/support/WizardDriver.h"

using namespace testsupport;

namespace {

constexpr int kNext = 1;
const std::wstring kExtractError = L"ZEL (c): Error extracting cabinet file - 1620.\r\n";

// Every installer database (*.msi) in a folder tree.
void FindDatabases(const std::wstring& folder, std::vector<std::wstring>& found) {
    WIN32_FIND_DATAW data;
    HANDLE search = ::FindFirstFileW((folder + L"\\*").c_str(), &data);
    if (search == INVALID_HANDLE_VALUE) return;
    do {
        std::wstring name = data.cFileName;
        if (name == L"." || name == L"..") continue;
        std::wstring path = folder + L"\\" + name;
        if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
            FindDatabases(path, found);
        else if (name.size() > 4 && _wcsicmp(name.c_str() + name.size() - 4, L".msi") == 0)
            found.push_back(path);
    } while (::FindNextFileW(search, &data));
    ::FindClose(search);
}

std::vector<std::wstring> DatabasesInPackageFolders() {
    std::vector<std::wstring> found;
    FindDatabases(L"C:\\ProgramData\\Morvex", found);
    return found;
}

void ExpectCleanFailure(const std::wstring& variant) {
    LauncherRun run = RunLauncher(variant, L"/qn /L*v %LOG%");
    EXPECT_EQ(run.exitCode, 1620u);
    ASSERT_TRUE(run.logExists);
    EXPECT_TRUE(run.LogHas(kExtractError)) << testing::PrintToString(run.log);
    EXPECT_TRUE(run.LogHas(L"ZEL (c): Extracting resource: PACKAGE_0\r\n"));
    EXPECT_FALSE(run.LogHas(L"Installing product")) << "nothing is installed from a damaged package";
    EXPECT_EQ(DatabasesInPackageFolders(), std::vector<std::wstring>{});
}

// Polls (every few milliseconds) until check holds or the time is up.
bool WaitUntil(const std::function<bool()>& check, DWORD timeoutMs) {
    DWORD start = ::GetTickCount();
    do {
        if (check()) return true;
        ::Sleep(2);
    } while (::GetTickCount() - start < timeoutMs);
    return false;
}

bool PageShows(const WizardDriver& wizard, const std::wstring& part) {
    for (const std::wstring& text : wizard.PageTexts())
        if (Contains(text, part)) return true;
    return false;
}

// The threads of a process other than one, by id.
std::vector<DWORD> ThreadsOf(DWORD processId, DWORD except) {
    std::vector<DWORD> ids;
    fw::KernelHandle snapshot(::CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0));
    THREADENTRY32 entry = {sizeof(entry)};
    if (snapshot.get() == INVALID_HANDLE_VALUE || !::Thread32First(snapshot.get(), &entry)) return ids;
    do {
        if (entry.th32OwnerProcessID == processId && entry.th32ThreadID != except) ids.push_back(entry.th32ThreadID);
    } while (::Thread32Next(snapshot.get(), &entry));
    return ids;
}

// Holds threads still while it lives.
class Suspended {
public:
    explicit Suspended(const std::vector<DWORD>& ids) {
        for (DWORD id : ids) {
            fw::KernelHandle thread(::OpenThread(THREAD_SUSPEND_RESUME, FALSE, id));
            if (thread && ::SuspendThread(thread.get()) != static_cast<DWORD>(-1)) threads_.push_back(std::move(thread));
        }
    }
    ~Suspended() {
        for (auto& thread : threads_) ::ResumeThread(thread.get());
    }
    size_t Count() const { return threads_.size(); }

private:
    std::vector<fw::KernelHandle> threads_;
};

}  // namespace

TEST(UnpackBadInput, TruncatedCabinet) { ExpectCleanFailure(L"unpack_truncated"); }

TEST(UnpackBadInput, DamagedDataBlock) { ExpectCleanFailure(L"unpack_datablock"); }

TEST(UnpackBadInput, ResourceShorterThanItsLengthField) {
    ExpectCleanFailure(L"unpack_tiny");
}

TEST(UnpackBadInput, LengthFieldLargerThanTheResource) {
    ExpectCleanFailure(L"unpack_badlength");
}

TEST(UnpackBadInput, HiddenRunShowsTheFinishPageOfTheError) {
    // Basic interface: the frame stays hidden until an error has to be shown.
    Background launcher(LauncherPath(L"unpack_datablock"), L"/qb");
    WizardDriver wizard(launcher.Id());
    ASSERT_TRUE(wizard.Found());
    EXPECT_TRUE(wizard.WaitForPageText(L"Setup aborted", 30000));
    EXPECT_TRUE(WaitUntil([&] { return wizard.IsVisible(); }, 5000)) << "the finish page is shown";
    EXPECT_EQ(wizard.ControlText(kNext), L"&Finish");
    wizard.Press(kNext);
    EXPECT_EQ(launcher.Wait(20000), 1620u);
}

TEST(UnpackCancel, EscapeLetsTheCurrentCabinetFinishAndStartsNoOther) {
    TempDir dir;
    std::wstring log = dir.File(L"setup.log");
    Background launcher(LauncherPath(L"unpack_large"), L"/L*v \"" + log + L"\"");
    WizardDriver wizard(launcher.Id());
    ASSERT_TRUE(wizard.Found());
    DWORD ui = ::GetWindowThreadProcessId(wizard.Frame(), nullptr);
    std::vector<DWORD> before = ThreadsOf(launcher.Id(), ui);
    // Next is posted: the page runs its extraction inside the button's handler.
    wizard.PressPosted(kNext);
    // The extraction's thread is held as soon as it appears, so the Escape
    // surely comes while the first cabinet is still being read.
    std::vector<DWORD> workers;
    ASSERT_TRUE(WaitUntil([&] {
        workers.clear();
        for (DWORD id : ThreadsOf(launcher.Id(), ui))
            if (std::find(before.begin(), before.end(), id) == before.end()) workers.push_back(id);
        return !workers.empty();
    }, 20000));
    {
        Suspended hold(workers);
        ASSERT_EQ(hold.Count(), workers.size());
        ::PostMessageW(wizard.Frame(), WM_KEYDOWN, VK_ESCAPE, 0);
        // A sent message is taken at the page's next look at its queue, the
        // same look that takes the Escape; a moment more and the flag is set.
        ::SendMessageTimeoutW(wizard.Frame(), WM_NULL, 0, 0, SMTO_NORMAL, 5000, nullptr);
        ::Sleep(200);
    }
    EXPECT_TRUE(wizard.WaitForPageText(L"Setup aborted", 30000));
    wizard.Press(kNext);
    EXPECT_EQ(launcher.Wait(20000), 3u);

    std::wstring text = ReadUtf16(log);
    EXPECT_TRUE(Contains(text, L"ZEL (c): Extracting resource: PACKAGE_0\r\n"));
    EXPECT_FALSE(Contains(text, L"Extracting resource: PACKAGE_1")) << "the second cabinet is not started";
    EXPECT_FALSE(Contains(text, L"Error extracting cabinet file")) << "the first cabinet is not broken off";
    EXPECT_FALSE(Contains(text, L"Installing product"));
}

// A quit message during the extraction stops the worker, and the page waits
// for it before it returns: the worker never outlives the page it uses.
TEST(UnpackQuit, TheWorkerIsStoppedAndWaitedForBeforeThePageReturns) {
    TempDir dir;
    std::wstring log = dir.File(L"setup.log");
    Background launcher(LauncherPath(L"unpack_large"), L"/L*v \"" + log + L"\"");
    WizardDriver wizard(launcher.Id());
    ASSERT_TRUE(wizard.Found());
    DWORD ui = ::GetWindowThreadProcessId(wizard.Frame(), nullptr);
    std::vector<DWORD> before = ThreadsOf(launcher.Id(), ui);
    wizard.PressPosted(kNext);
    std::vector<DWORD> workers;
    ASSERT_TRUE(WaitUntil([&] {
        workers.clear();
        for (DWORD id : ThreadsOf(launcher.Id(), ui))
            if (std::find(before.begin(), before.end(), id) == before.end()) workers.push_back(id);
        return !workers.empty();
    }, 20000));
    {
        // The quit comes while the first cabinet is still being read.
        Suspended hold(workers);
        ASSERT_EQ(hold.Count(), workers.size());
        ASSERT_TRUE(::PostThreadMessageW(ui, WM_QUIT, 0, 0));
        ::SendMessageTimeoutW(wizard.Frame(), WM_NULL, 0, 0, SMTO_NORMAL, 5000, nullptr);
        ::Sleep(200);
    }
    EXPECT_EQ(launcher.Wait(30000), 3u) << "ends by itself, cancelled";

    std::wstring text = ReadUtf16(log);
    size_t quit = text.find(L"ZEL (c): Received 'quit' message\r\n");
    ASSERT_NE(quit, std::wstring::npos) << testing::PrintToString(text);
    size_t stopped = text.find(L"ZEL (c): Worker-thread stopped\r\n", quit);
    EXPECT_NE(stopped, std::wstring::npos) << "the page returned before its worker had ended";
    EXPECT_FALSE(Contains(text, L"Extracting resource: PACKAGE_1")) << "the second cabinet is not started";
    EXPECT_FALSE(Contains(text, L"Installing product"));
    EXPECT_TRUE(Contains(text, L"=== SetupLauncher stopped: "));
}
