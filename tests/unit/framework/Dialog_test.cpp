// Modal dialogs come from the template of the chosen language, route their
// commands to the handlers, and no exception escapes into Windows; child
// windows get their own window procedure.
#include <gtest/gtest.h>

#include <stdexcept>

#include "framework/Dialog.h"

namespace {

class ProbeDialog : public fw::CDialog {
public:
    using fw::CDialog::CDialog;
    std::wstring caption;
    std::wstring buttonText;
    int actions = 0;
    bool throwOnAction = false;

protected:
    BOOL OnInitDialog() override {
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

TEST(FrameworkDialog, ExceptionInAHandlerStaysInside) {
    ProbeDialog dialog(900, 1033);
    dialog.throwOnAction = true;
    EXPECT_EQ(dialog.DoModal(), 42);
    EXPECT_EQ(dialog.actions, 1);
}

TEST(FrameworkDialog, ChildWindowHasItsOwnProcedure) {
    HostDialog host;
    EXPECT_EQ(host.DoModal(), IDCANCEL);
    EXPECT_EQ(host.child.created, 1);
    EXPECT_EQ(host.child.pings, 1);
    EXPECT_EQ(host.answer, 1234);
    EXPECT_EQ(host.child.GetSafeHwnd(), nullptr) << "destroyed with its parent";
}
