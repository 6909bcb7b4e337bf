#include "wizard/BackupWizardPage.h"

#include <commctrl.h>

#include <algorithm>

#include "engine/CancelFlag.h"
#include "engine/Log.h"
#include "engine/Outcome.h"
#include "execution/WorkerSupervisor.h"
#include "framework/AccessibleName.h"
#include "framework/InternalError.h"
#include "framework/MessageBox.h"
#include "framework/Text.h"
#include "framework/Window.h"
#include "resources/ResourceIds.h"
#include "server/BackupSettings.h"
#include "wizard/WizardDialog.h"
#include "wizard/WizardSession.h"

using namespace backup_config;

BackupWizardPage::BackupWizardPage(CWizardDialog* wizard) : WizardPageBase(wizard, PageKind::Backup) {}

void BackupWizardPage::CreateControls(HWND, int, int) {
    using fw::At;
    using fw::FromEnd;
    using Kind = fw::FlowLayout::Kind;
    const DWORD text = WS_VISIBLE | SS_LEFT | SS_NOPREFIX;
    HFONT font = wizard_->TextFont();
    // The intro, the measuring's status and bar, the two figures with the
    // two check boxes beside them, and the explanation below in the smaller
    // font: all of it on the page in every language.
    intro_ = AddControl(L"STATIC", L"", text, {At(0), At(0), FromEnd(0), At(60)}, -1, font);
    status_ = AddControl(L"STATIC", L"", text, {At(0), At(64), FromEnd(0), At(80)}, -1, font);
    progress_ = AddControl(PROGRESS_CLASSW, L"", WS_VISIBLE | PBS_SMOOTH, {At(0), At(82), FromEnd(0), At(96)},
                           IDC_PAGE_PROGRESS, nullptr, Kind::Fixed);
    // A screen reader names the bar by the status above it.
    fw::SetAccessibleName(progress_, [this] { return fw::WindowText(status_); });
    // The labels are single lines: the figures' column follows the longer.
    sizeLabel_ = AddControl(L"STATIC", L"", text, {At(0), At(104), At(160), At(120)}, -1, font, Kind::Fixed);
    sizeValue_ = AddControl(L"STATIC", L"", text, {At(165), At(104), At(225), At(120)}, -1, font);
    freeLabel_ = AddControl(L"STATIC", L"", text, {At(0), At(122), At(160), At(138)}, -1, font, Kind::Fixed);
    freeValue_ = AddControl(L"STATIC", L"", text, {At(165), At(122), At(225), At(138)}, -1, font);
    skip_ = AddControl(L"BUTTON", L"", WS_VISIBLE | WS_TABSTOP | BS_AUTOCHECKBOX, {At(230), At(103), FromEnd(0), At(121)},
                       IDC_BACKUP_SKIP, font, Kind::Fixed);
    reset_ = AddControl(L"BUTTON", L"", WS_VISIBLE | WS_TABSTOP | BS_AUTOCHECKBOX,
                        {At(230), At(121), FromEnd(0), At(139)}, IDC_BACKUP_RESET_DATABASE, font, Kind::Fixed);
    description_ = AddControl(L"STATIC", L"", text, {At(0), At(144), FromEnd(0), FromEnd(0)}, -1,
                              wizard_->SmallTextFont());
}

void BackupWizardPage::UpdateTexts() {
    WizardSession& app = wizard_->Session();
    std::wstring product = app.ReadCatalogueString(L"PRODUCT_NAME_0");
    std::wstring intro = Text(1150);
    if (!product.empty()) intro = product + L"\r\n" + intro;
    ::SetWindowTextW(intro_, intro.c_str());
    ::SetWindowTextW(status_, Text(statusId_).c_str());
    ::SetWindowTextW(sizeLabel_, Text(1152).c_str());
    ::SetWindowTextW(freeLabel_, Text(1153).c_str());
    ::SetWindowTextW(skip_, Text(1154).c_str());
    ::SetWindowTextW(reset_, Text(1157).c_str());
    ::SetWindowTextW(description_, Text(1159).c_str());
}

void BackupWizardPage::LayOut() {
    WizardPageBase::LayOut();
    AlignFigures();
}

void BackupWizardPage::AlignFigures() {
    // The figures stand in one column after the longer label, so that no
    // language's label is cut; the check boxes follow them on their rows.
    FitWidthToText(sizeLabel_, true);
    FitWidthToText(freeLabel_, true);
    int column = Scale(165);
    for (HWND label : {sizeLabel_, freeLabel_})
        column = std::max(column, static_cast<int>(GetRectInParent(label).right) + Scale(5));
    int boxes = std::max(Scale(230), column + Scale(65));
    int pageWidth = ClientSize().cx;
    const UINT flags = SWP_NOZORDER | SWP_NOACTIVATE;
    for (HWND value : {sizeValue_, freeValue_}) {
        RECT rect = GetRectInParent(value);
        ::SetWindowPos(value, nullptr, column, rect.top, boxes - Scale(5) - column, rect.bottom - rect.top, flags);
    }
    for (HWND box : {skip_, reset_}) {
        RECT rect = GetRectInParent(box);
        ::SetWindowPos(box, nullptr, boxes, rect.top, std::max(0, pageWidth - boxes), rect.bottom - rect.top, flags);
    }
}

bool BackupWizardPage::Applies() const {
    return wizard_->IsFreshInstall() && wizard_->FullUi() && wizard_->Session().QuickInstallList().empty();
}

void BackupWizardPage::Activate() {
    // Never a second activation inside the first one's message loop.
    if (measuring_) return;
    WriteLog(3, L"ZEL (c): Activating dialog %s\r\n", pageName_.c_str());
    if (!Applies()) {
        wizard_->OnOK();
        return;
    }
    ::ShowWindow(wizard_->GetDlgItem(IDC_WIZARD_LANGUAGE), SW_HIDE);
    for (int id : {IDC_WIZARD_BACK, IDOK, IDCANCEL}) wizard_->EnableDlgItem(id, true);
    wizard_->UpdateFrameTexts();
    if (!firstActivation_) {
        ShowWindow(SW_SHOW);
        return;
    }
    if (!step_.ReadSettings()) {
        wizard_->OnOK();
        return;
    }
    wizard_->EnableDlgItem(IDCANCEL, true);
    // Next and Back stay off until the measuring has finished; off before
    // the page shows, so they are never offered while "Calculating" is on
    // screen.
    wizard_->EnableDlgItem(IDOK, false);
    wizard_->EnableDlgItem(IDC_WIZARD_BACK, false);
    ShowWindow(SW_SHOW);
    // Cancel is what takes input while the page measures.
    wizard_->FocusControl(wizard_->GetDlgItem(IDCANCEL));
    ::SendMessageW(skip_, BM_SETCHECK, step_.AvoidBackup() ? BST_CHECKED : BST_UNCHECKED, 0);
    worker_.reset(::CreateThread(nullptr, 0, WorkerEntry, this, CREATE_SUSPENDED, nullptr));
    if (worker_) {
        // Said before the worker runs, so that its own lines follow.
        WriteLog(3, L"ZEL (c): CreatedBackupWorkerThread\r\n");
        ::ResumeThread(worker_.get());
        WorkerSupervision supervision;
        supervision.refresh = [this] { RefreshFigures(); };
        supervision.refreshMs = 500;
        supervision.lingerMs = 1000;
        measuring_ = true;
        bool ended = SuperviseWorker(worker_.get(), supervision);
        measuring_ = false;
        if (!ended) return;
        worker_.reset();
    } else {
        WriteLog(1, L"ZEL (c): CreateThread for the backup measuring failed (%u)\r\n", ::GetLastError());
    }
    firstActivation_ = false;
    if (CancelFlag()) {
        // Escape or Cancel while measuring ends the run as Cancel does.
        wizard_->OnCancel();
        return;
    }
    wizard_->EnableDlgItem(IDOK, true);
    wizard_->EnableDlgItem(IDC_WIZARD_BACK, true);
    statusId_ = 1156;
    UpdateTexts();
    LayOut();
    ShowWindow(SW_SHOW);
}

void BackupWizardPage::RefreshFigures() {
    uint32_t backupMegabytes = Megabytes(step_.BackupBytes());
    uint32_t freeMegabytes = step_.FreeMegabytes();
    if (TooLittleSpace(freeMegabytes, backupMegabytes)) ::SendMessageW(skip_, BM_SETCHECK, BST_CHECKED, 0);
    ::SendMessageW(progress_, PBM_SETRANGE32, 0, step_.ProgressRange());
    ::SendMessageW(progress_, PBM_SETPOS, static_cast<WPARAM>(step_.FileCount()), 0);
    ::SetWindowTextW(sizeValue_, FigureText(backupMegabytes).c_str());
    ::SetWindowTextW(freeValue_, FigureText(freeMegabytes).c_str());
}

DWORD WINAPI BackupWizardPage::WorkerEntry(void* page) {
    try {
        if (CancelFlag()) return 2;
        static_cast<BackupWizardPage*>(page)->step_.Measure();
        return CancelFlag() ? 3 : 0;
    } catch (...) {
        fw::ReportInternalError(L"the backup measuring thread");
        return outcome::kFailed;
    }
}

bool BackupWizardPage::Checked(int id) const {
    return ::SendMessageW(id == IDC_BACKUP_SKIP ? skip_ : reset_, BM_GETCHECK, 0, 0) == BST_CHECKED;
}

bool BackupWizardPage::QueryNext() {
    // Next is off while measuring; one that arrives all the same waits too.
    if (measuring_ || worker_) return false;
    std::wstring message = ConfirmationText(Checked(IDC_BACKUP_SKIP), Checked(IDC_BACKUP_RESET_DATABASE), Text(1165),
                                            Text(1164));
    if (message.empty() || !wizard_->FullUi()) return true;
    return fw::ShowMessageBox(false, message, MB_OKCANCEL | MB_ICONEXCLAMATION) != IDCANCEL;
}

bool BackupWizardPage::QueryBack() { return !measuring_ && !worker_ && WizardPageBase::QueryBack(); }

bool BackupWizardPage::QueryCancel() {
    if (worker_) {
        // The measuring stops first; the page then cancels the run.
        CancelFlag() = true;
        return false;
    }
    return WizardPageBase::QueryCancel();
}

void BackupWizardPage::Deactivate() {
    WizardPageBase::Deactivate();
    wizard_->Choices().backupProperties = BackupPropertyString(Checked(IDC_BACKUP_SKIP), Checked(IDC_BACKUP_RESET_DATABASE));
}
