// The wizard frame of the full user interface level: one modal dialog that
// owns the pages and moves between them with Back, Next and Cancel; what the
// steps decide lives in the run's choices. Below the full level the steps run
// without it (engine/HeadlessDriver.h); a failure at /qb or /qr shows the
// frame with the finish page alone, which passes on by itself.
#pragma once

#include <windows.h>

#include <array>
#include <memory>
#include <string>

#include "engine/PageTable.h"
#include "engine/RunChoices.h"
#include "engine/StepSequencer.h"
#include "resources/ResourceIds.h"
#include "wizard/DialogBase.h"
#include "wizard/FrameGeometry.h"
#include "wizard/WizardObserver.h"

class WizardPageBase;

class CWizardDialog : public CDialogBase, public OperationMode {
public:
    // finishOnly: the frame holds the finish page alone and shows it (a
    // failure below the full level), whose quiet run has made it already.
    CWizardDialog(WizardSession& session, std::wstring title, RunChoices& choices, bool finishOnly = false,
                  HWND parent = nullptr);
    ~CWizardDialog() override;

    void OnOK() override;
    void OnCancel() override;
    void OnBackButton();
    void OnLanguageChanged();
    void UpdateFrameTexts();

    // Records a Windows Installer result as the run's outcome.
    void SetResult(DWORD errorCode) override { choices_.SetResult(errorCode); }
    // The user cancelled in the wizard: the launcher's own outcome 3, no
    // installer call was cut short.
    void RecordCancel();
    bool HasNextPage() const;

    RunMode Maintenance() const override { return choices_.Maintenance(); }
    RunChoices& Choices() { return choices_; }

    // False in the finish frame of a failure below the full level, whose
    // page is entered and left at once (engine/PageTable.h's
    // PassesStepThrough).
    bool FullUi() const { return fullUi_; }
    // Who answers the steps' questions and shows their status.
    SessionObserver& Observer() { return observer_; }
    // The pages' background: white, or the system's window colour while high
    // contrast is on.
    HBRUSH PageBrush() const;
    COLORREF PageColour() const;
    bool HighContrast() const { return highContrast_; }
    // Where a control of the frame (a button, the language box) goes at the
    // current DPI, before any page has moved it.
    RECT FrameControlRect(int id) const { return geometry_.Control(id, Dpi()); }
    // The frame's own controls as found once (the language box may not
    // exist); any other id is searched for.
    HWND GetDlgItem(int id) const override;
    // Moves the keyboard focus to the active page's control for it.
    void FocusPage();
    // Moves the keyboard focus to a control, as Tab would.
    void FocusControl(HWND control);
    const WizardFlags& Flags() const override { return choices_.Flags(); }
    const std::wstring& BackupProperties() const override { return choices_.BackupProperties(); }
    const std::wstring& ServiceProperties() const override { return choices_.ServiceProperties(); }
    const std::wstring& ClusterProperties() const override { return choices_.ClusterProperties(); }
    std::vector<std::wstring> CommandLineItems() const override { return choices_.CommandLineItems(); }
    int PageCount() const { return pageCount_; }
    int CurrentIndex() const { return steps_.Current(); }
    int FinishIndex() const { return steps_.Finish(); }
    WizardPageBase* Page(int index) const;
    // The page is the active one and the dialog goes on (a page that ends
    // the wizard or moves it on while it is being prepared is no longer).
    bool IsActivePage(const WizardPageBase* page) const { return !ended_ && Page(steps_.Current()) == page; }

    // Shows the hidden frame (a pending error moves to the finish page).
    void ShowFrame();

protected:
    BOOL OnInitDialog() override;
    bool OnCommand(WORD id, WORD code, HWND control) override;
    bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, INT_PTR& result) override;

private:
    void BuildPages();
    // The language box, in an installer of several languages.
    void MakeLanguageBox();
    // Finds the frame's own controls once: every search by id asks the
    // window manager for the list of children, and the pages ask often.
    void KeepFrameControls();
    static BOOL CALLBACK KeepFrameControl(HWND child, LPARAM param);
    // Makes the page's controls when it is first shown, and activates it.
    void ActivatePage(int index);
    // Lays the frame and every page out for dpi (at creation, and when the
    // window moves to a monitor of another DPI).
    void ApplyDpi(UINT dpi);
    // The pages' rectangle in the page area.
    RECT PageRect() const;
    void PlacePages();
    void SetIcons();
    // Reads whether high contrast is on and repaints in the colours it asks.
    void RefreshColours();
    int Scale(int pixels) const;
    static LRESULT CALLBACK KeyboardFilter(int code, WPARAM wParam, LPARAM lParam);
    bool IsPage(int index) const { return index >= 0 && index < pageCount_ && pages_[index]; }

    std::wstring title_;
    RunChoices& choices_;
    bool finishOnly_;
    HWND parent_;
    fw::IconHandle bigIcon_, smallIcon_;
    fw::GdiObject pageBrush_;
    bool highContrast_ = false;
    FrameGeometry geometry_;
    HFONT dialogFont_ = nullptr;   // the template's font the frame's controls use
    fw::GdiObject ownDialogFont_;  // that font, when made here for another DPI
    fw::HookHandle keyboardFilter_;
    bool fullUi_ = false;
    bool mayShow_ = true;
    bool unattended_ = false;
    bool ended_ = false;
    bool activated_ = false;
    std::array<std::unique_ptr<WizardPageBase>, 10> pages_;
    int pageCount_ = 0;
    StepSequencer steps_;
    std::array<std::pair<int, HWND>, 5> frameControls_ = {{{IDOK, nullptr},
                                                           {IDCANCEL, nullptr},
                                                           {IDC_WIZARD_BACK, nullptr},
                                                           {IDC_WIZARD_LANGUAGE, nullptr},
                                                           {IDC_WIZARD_PAGE_AREA, nullptr}}};
    bool frameControlsKept_ = false;
    WizardObserver observer_{*this};
};
