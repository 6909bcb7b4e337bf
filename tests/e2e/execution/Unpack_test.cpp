// Shows that the launcher unpacks damaged packages cleanly (1620, the log line, no database left behind), that a hidden run with such a package passes its finish page by itself, that Escape during a two-package extraction lets the first cabinet finish and starts no second, and that no language box is live while packages are unpacked.
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
// The process's threads, other than except, that are not among before;
// waits up to timeoutMs for the first of them (empty when none came).
std::vector<DWORD> NewThreads(DWORD processId, DWORD except, const std::vector<DWORD>& before, DWORD timeoutMs) {
    std::vector<DWORD> found;
    WaitUntil([&] {
        found.clear();
        for (DWORD id : ThreadsOf(processId, except))
            if (std::find(before.begin(), before.end(), id) == before.end()) found.push_back(id);
        return !found.empty();
    }, timeoutMs);
    return found;
}

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

namespace {
struct ShownWindows {
    DWORD processId;
    std::vector<std::wstring> captions;
};

BOOL CALLBACK NoteShown(HWND window, LPARAM context) {
    auto* seen = reinterpret_cast<ShownWindows*>(context);
    DWORD owner = 0;
    ::GetWindowThreadProcessId(window, &owner);
    if (owner != seen->processId || !::IsWindowVisible(window)) return TRUE;
    wchar_t caption[256] = {};
    ::GetWindowTextW(window, caption, 256);
    if (std::find(seen->captions.begin(), seen->captions.end(), caption) == seen->captions.end())
        seen->captions.push_back(caption);
    return TRUE;
}

// The captions of the top-level windows a launcher run shows, looked for
// without pause while it runs (a frame that passes on by itself is on the
// screen only for a moment).
std::vector<std::wstring> WindowsShownBy(const std::wstring& variant, const std::wstring& arguments, LauncherRun& run) {
    TempDir dir;
    std::wstring log = dir.File(L"setup.log");
    Background launcher(LauncherPath(variant), arguments + L" /L*v \"" + log + L"\"");
    ShownWindows seen{launcher.Id(), {}};
    DWORD start = ::GetTickCount();
    while (::WaitForSingleObject(launcher.Process(), 0) == WAIT_TIMEOUT && ::GetTickCount() - start < 60000)
        ::EnumWindows(NoteShown, reinterpret_cast<LPARAM>(&seen));
    run.exitCode = launcher.Wait(0);
    run.log = ReadUtf16(log);
    return seen.captions;
}
}  // namespace

TEST(UnpackBadInput, HiddenRunEndsByItselfAfterTheFinishPageOfTheError) {
    // Basic interface, as an unattended deployment runs it: the error shows
    // the finish page in the frame, which passes on by itself; nobody has to
    // press a key. Level none shows nothing at all.
    LauncherRun run;
    std::vector<std::wstring> shown = WindowsShownBy(L"unpack_datablock", L"/qb", run);
    // The wizard's frame, named by the product, and nothing else.
    ASSERT_EQ(shown.size(), 1u) << "the frame with the finish page appears: " << testing::PrintToString(shown);
    EXPECT_TRUE(testsupport::Contains(shown[0], L"Morvex Test Editor 2024")) << testing::PrintToString(shown);
    EXPECT_EQ(run.exitCode, 1620u);
    size_t error = run.log.find(kExtractError);
    ASSERT_NE(error, std::wstring::npos) << run.log.c_str();
    size_t finish = run.log.find(L"ZEL (c): Activating dialog Finish\r\n", error);
    EXPECT_NE(finish, std::wstring::npos) << "the finish page follows the error";
    EXPECT_NE(run.log.find(L"ZEL (c): Deactivating dialog Finish\r\n", finish), std::wstring::npos);
    EXPECT_TRUE(testsupport::Contains(run.log, L"=== SetupLauncher stopped: "));

    LauncherRun quiet;
    EXPECT_EQ(WindowsShownBy(L"unpack_datablock", L"/qn", quiet), std::vector<std::wstring>()) << "none at level none";
    EXPECT_EQ(quiet.exitCode, 1620u);
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
    std::vector<DWORD> workers = NewThreads(launcher.Id(), ui, before, 20000);
    ASSERT_FALSE(workers.empty());
    // Once the worker names the first cabinet it is past its start (a cancel
    // seen there starts no cabinet at all); held then, the Escape surely
    // comes while the first cabinet is still being read.
    ASSERT_TRUE(WaitUntil([&] { return Contains(ReadUtf16(log), L"Extracting resource: PACKAGE_0"); }, 20000));
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

// The language is chosen on the welcome page of a fresh install only: while
// the worker unpacks (and reads the current language) no box offers another.
TEST(UnpackLanguage, NoLanguageChangeWhileThePackagesAreUnpacked) {
    constexpr int kLanguage = 1015;
    Background launcher(LauncherPath(L"multi_large"), L"lang=English");
    WizardDriver wizard(launcher.Id());
    ASSERT_TRUE(wizard.Found());
    ASSERT_TRUE(WaitUntil([&] { return wizard.IsShown(kLanguage); }, 10000)) << "offered on the welcome page";
    std::wstring caption = wizard.Caption();
    std::vector<std::wstring> entries = wizard.LanguageEntries();
    ASSERT_EQ(entries.size(), 5u);
    DWORD ui = ::GetWindowThreadProcessId(wizard.Frame(), nullptr);
    std::vector<DWORD> before = ThreadsOf(launcher.Id(), ui);
    wizard.PressPosted(kNext);
    std::vector<DWORD> workers = NewThreads(launcher.Id(), ui, before, 20000);
    ASSERT_FALSE(workers.empty());
    {
        // The worker is held while the unpack page is looked at.
        Suspended hold(workers);
        ASSERT_EQ(hold.Count(), workers.size());
        ::SendMessageTimeoutW(wizard.Frame(), WM_NULL, 0, 0, SMTO_NORMAL, 5000, nullptr);
        EXPECT_TRUE(wizard.IsVisible());
        EXPECT_FALSE(wizard.IsShown(kLanguage)) << "no language box on the unpack page";
        // A selection sent to the hidden box changes nothing.
        wizard.ChooseLanguage(entries[1]);
        EXPECT_EQ(wizard.Caption(), caption);
        ::PostMessageW(wizard.Frame(), WM_KEYDOWN, VK_ESCAPE, 0);
        ::SendMessageTimeoutW(wizard.Frame(), WM_NULL, 0, 0, SMTO_NORMAL, 5000, nullptr);
        ::Sleep(200);
    }
    EXPECT_TRUE(wizard.WaitForPageText(L"Setup aborted", 60000));
    wizard.Press(kNext);
    EXPECT_EQ(launcher.Wait(20000), 3u);
}

TEST(UnpackLanguage, AMaintenanceRunOffersNoLanguage) {
    constexpr int kLanguage = 1015, kCancel = 2;
    Background launcher(LauncherPath(L"multi"), L"/x lang=English");
    WizardDriver wizard(launcher.Id());
    ASSERT_TRUE(wizard.Found());
    ASSERT_TRUE(WaitUntil([&] { return wizard.IsVisible() && !wizard.PageTexts().empty(); }, 10000));
    EXPECT_FALSE(wizard.IsShown(kLanguage)) << "an uninstall keeps its language";
    wizard.Press(kCancel);
    EXPECT_TRUE(wizard.WaitForPageText(L"Setup aborted", 20000));
    wizard.Press(kNext);
    EXPECT_EQ(launcher.Wait(20000), 3u);
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
    std::vector<DWORD> workers = NewThreads(launcher.Id(), ui, before, 20000);
    ASSERT_FALSE(workers.empty());
    // The worker is past its start (a cancel seen there ends the run as a
    // failure, 2) once it names the first cabinet.
    ASSERT_TRUE(WaitUntil([&] { return Contains(ReadUtf16(log), L"Extracting resource: PACKAGE_0"); }, 20000));
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
