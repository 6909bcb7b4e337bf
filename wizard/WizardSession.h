// What the wizard frame, its pages and their steps take from the running
// launcher beyond what the folders below take (catalogue/RunSession.h): the
// catalogue's strings, the run's outcome and its report, the welcome text
// the system check chose, and whether the sub-packages were chosen on
// purpose. The launcher's application object is one; the frame is given it.
#pragma once

#include <string>

#include "catalogue/RunSession.h"
#include "engine/Outcome.h"

class WizardSession : public RunSession {
public:
    // A catalogue string; a required one that is missing ends the run as a
    // corrupted installer.
    virtual std::wstring ReadCatalogueString(const std::wstring& name) = 0;
    virtual const SetupOutcome& Outcome() const = 0;
    // Reports a failure once: its log line, and its box at the full level.
    virtual void ReportOutcome() = 0;
    virtual int WelcomeTextId() const = 0;
    virtual bool SubPackageSelectionFixed() const = 0;

protected:
    ~WizardSession() = default;
};
