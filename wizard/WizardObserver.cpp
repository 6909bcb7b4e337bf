#include "wizard/WizardObserver.h"

#include "framework/MessageBox.h"
#include "framework/Text.h"
#include "wizard/AlreadyInstalledDialog.h"
#include "wizard/UnpackWizardPage.h"
#include "wizard/WizardDialog.h"
#include "wizard/WizardSession.h"

bool WizardObserver::Attended() const { return frame_.FullUi(); }

ForeignAnswer WizardObserver::AnswerForeignRemoval(ForeignQuestion question) {
    WizardSession& session = frame_.Session();
    ForeignAnswer answer;
    if (question == ForeignQuestion::MessageBox) {
        std::wstring text =
            fw::Format(session.Languages().LoadLocalizedString(1047).c_str(), session.Catalogue().front()->name.c_str());
        answer.ok = fw::ShowMessageBox(session.NoBoxes(), text, MB_OKCANCEL | MB_ICONEXCLAMATION) == IDOK;
    } else if (question == ForeignQuestion::Dialog) {
        CDialog_AlreadyInstalled dialog(session.Languages(), session.Catalogue());
        answer.ok = dialog.DoModal(frame_) == IDOK;
        answer.removeSubPackages = dialog.removeSubPackages == 1;
    }
    return answer;
}

void WizardObserver::UnpackingProduct(const std::wstring& productName) {
    // On the worker thread: the frame's pages stay as they were made while
    // it runs, and the page only leaves the text and posts.
    for (int index = 0; index < frame_.PageCount(); ++index) {
        WizardPageBase* page = frame_.Page(index);
        if (page && page->Kind() == PageKind::Unpack) static_cast<UnpackWizardPage*>(page)->ShowStatus(productName);
    }
}
