// Modal dialogs come from the template of the chosen language, route their
// commands to the handlers, and no exception escapes into Windows: each one
// stopped at a barrier is reported to the application and ends the dialog;
// child windows get their own window procedure.
#include <gtest/gtest.h>

#include <atomic>
#include <stdexcept>
#include <thread>

#include "framework/Application.h"
#include "framework/Dialog.h"
#include "framework/InternalError.h"

namespace {

class ProbeDialog : public fw::CDialog {
public:
    using fw::CDialog::CDialog;
    std::wstring caption;
    std::wstring buttonText;
    int actions = 0;
    bool throwOnAction = false;
    bool throwOnInit = false;

protected:
    BOOL OnInitDialog() override {
        if (throwOnInit) throw std::runtime_error("initialisation failed");
        caption = GetWindowText();
        buttonText = fw::WindowText(GetDlgItem(100));
        ::PostMessageW(hwnd_, WM_COMMAND, MAKEWPARAM(100, BN_CLICKED), 0);
        ::PostMessageW(hwnd_, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
        return TRUE;
    }
    bool OnCommand(WORD id, WORD, HWND) override {
        if (id != 100) return false;
        ++actions;
        if (throwOnAction) throw std::runtime_error("handler failed");
        return true;
    }
    void OnOK() override { EndDialog(42); }
};

class CountingChild : public fw::CWnd {
public:
    int created = 0;
    int pings = 0;

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
        if (message == WM_CREATE) ++created;
        if (message == WM_USER + 7) {
            ++pings;
            return 1234;
        }
        if (message == WM_USER + 8) throw std::runtime_error("child failed");
        return Default(message, wParam, lParam);
    }
};

class HostDialog : public fw::CDialog {
public:
    HostDialog() : fw::CDialog(900, 1033) {}
    CountingChild child;
    LRESULT answer = 0;

protected:
    BOOL OnInitDialog() override {
        RECT rect = {0, 0, 50, 20};
        if (child.CreateChild(hwnd_, rect, WS_VISIBLE)) answer = ::SendMessageW(child, WM_USER + 7, 0, 0);
        ::PostMessageW(hwnd_, WM_COMMAND, IDCANCEL, 0);
        return TRUE;
    }
};

// An application object that records what the barriers report; it ends no
// loop of its own.
class RecordingApp : public fw::CWinAppBase {
public:
    std::vector<std::pair<std::wstring, std::wstring>> reports;
    bool throwOnInit = false;
    int exits = 0;
    BOOL InitInstance() override {
        if (throwOnInit) throw std::runtime_error("start failed");
        return FALSE;
    }
    int ExitInstance() override {
        ++exits;
        return 77;
    }
    void OnInternalError(const std::wstring& place, const std::wstring& what) noexcept override {
        reports.emplace_back(place, what);
    }
};

// Ends a dialog that is still open after some seconds, so that a dialog
// that would wait for ever fails its test instead of hanging it.
class Watchdog {
public:
    explicit Watchdog(fw::CWnd& dialog) : thread_([this, &dialog] {
        for (int i = 0; i < 100 && !done_; ++i) ::Sleep(100);
        if (!done_ && dialog.GetSafeHwnd()) ::PostMessageW(dialog.GetSafeHwnd(), WM_COMMAND, IDCANCEL, 0);
    }) {}
    ~Watchdog() {
        done_ = true;
        thread_.join();
    }

private:
    std::atomic<bool> done_{false};
    std::thread thread_;
};

}  // namespace

TEST(FrameworkDialog, TemplateInTheChosenLanguage) {
    ProbeDialog english(900, 1033);
    EXPECT_EQ(english.DoModal(), 42);
    EXPECT_EQ(english.caption, L"English caption");
    ProbeDialog german(900, MAKELANGID(LANG_GERMAN, SUBLANG_GERMAN));
    EXPECT_EQ(german.DoModal(), 42);
    EXPECT_EQ(german.caption, L"Deutsche Beschriftung");
    EXPECT_EQ(german.buttonText, L"Aktion");
    EXPECT_EQ(german.actions, 1);
}

TEST(FrameworkDialog, MissingTemplateReportsMinusOne) {
    ProbeDialog missing(901, 1033);
    EXPECT_EQ(missing.DoModal(), -1);
}

TEST(FrameworkDialog, AnExceptionInAHandlerIsReportedAndEndsTheDialog) {
    RecordingApp app;
    ProbeDialog dialog(900, 1033);
    dialog.throwOnAction = true;
    EXPECT_EQ(dialog.DoModal(), IDABORT) << "ended by the barrier, not by the OK that follows";
    EXPECT_EQ(dialog.actions, 1);
    ASSERT_EQ(app.reports.size(), 1u);
    EXPECT_EQ(app.reports[0].first, L"the dialog procedure");
    EXPECT_EQ(app.reports[0].second, L"handler failed");
}

TEST(FrameworkDialog, ADialogWhoseInitialisationThrowsDoesNotWaitForEver) {
    // Nobody would press anything in a hidden run.
    RecordingApp app;
    ProbeDialog dialog(900, 1033);
    dialog.throwOnInit = true;
    INT_PTR result;
    {
        Watchdog watchdog(dialog);
        result = dialog.DoModal();
    }
    EXPECT_EQ(result, IDABORT);
    ASSERT_EQ(app.reports.size(), 1u);
    EXPECT_EQ(app.reports[0].second, L"initialisation failed");
}

TEST(FrameworkWindow, AnExceptionInAWindowProcedureIsReported) {
    RecordingApp app;
    HWND parent = ::CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 100, 100, nullptr, nullptr,
                                    ::GetModuleHandleW(nullptr), nullptr);
    ASSERT_NE(parent, nullptr);
    {
        CountingChild child;
        RECT rect = {0, 0, 50, 20};
        ASSERT_TRUE(child.CreateChild(parent, rect, 0));
        EXPECT_EQ(::SendMessageW(child, WM_USER + 8, 0, 0), 0);
        EXPECT_EQ(::SendMessageW(child, WM_USER + 7, 0, 0), 1234) << "the window still answers";
    }
    ::DestroyWindow(parent);
    ASSERT_EQ(app.reports.size(), 1u);
    EXPECT_EQ(app.reports[0].first, L"the window procedure");
    EXPECT_EQ(app.reports[0].second, L"child failed");
}

TEST(FrameworkApplication, TheApplicationIsMadeAndRunInsideTheOutermostBarrier) {
    // Made by the factory: an exception while it is made gives the failure code.
    EXPECT_EQ(fw::RunApplication([]() -> std::unique_ptr<fw::CWinAppBase> { throw std::runtime_error("no app"); }, 2),
              2);
    // One while it runs is reported, and its exit still runs and gives the code.
    RecordingApp* app = nullptr;
    std::vector<std::pair<std::wstring, std::wstring>> reports;
    int exits = 0;
    struct Watched : RecordingApp {
        std::vector<std::pair<std::wstring, std::wstring>>* reportsOut = nullptr;
        int* exitsOut = nullptr;
        ~Watched() override {
            *reportsOut = reports;
            *exitsOut = exits;
        }
    };
    int code = fw::RunApplication(
        [&]() -> std::unique_ptr<fw::CWinAppBase> {
            auto made = std::make_unique<Watched>();
            made->throwOnInit = true;
            made->reportsOut = &reports;
            made->exitsOut = &exits;
            app = made.get();
            return made;
        },
        2);
    EXPECT_NE(app, nullptr);
    EXPECT_EQ(code, 77) << "ExitInstance's result";
    EXPECT_EQ(exits, 1);
    ASSERT_EQ(reports.size(), 1u);
    EXPECT_EQ(reports[0].first, L"the application's start");
    EXPECT_EQ(reports[0].second, L"start failed");
}
