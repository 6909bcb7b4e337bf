// What the welcome step does for the run, apart from its controls: it looks
// for an older installation of the main product (which a Quick Install can
// repeat with that installation's own choices, in its language), and has
// products that a different installer put on the machine removed. The page
// and the quiet run call it alike.
#pragma once

#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "catalogue/RelatedProduct.h"
#include "catalogue/SetupPackage.h"
#include "wizard/ForeignInstallations.h"

class WizardSession;
class RunChoices;
class SessionObserver;

class WelcomeStep {
public:
    WelcomeStep(WizardSession& session, RunChoices& choices) : session_(session), choices_(choices) {}
    ~WelcomeStep();
    WelcomeStep(const WelcomeStep&) = delete;
    WelcomeStep& operator=(const WelcomeStep&) = delete;

    // The search for an older installation (none for a repair, a removal or
    // a change); with one found, a multi-language installer goes on in the
    // installed product's language. Again on every entry.
    void DetectUpgrade();
    // The products of another installer: the observer is asked about them
    // when it is attended (the full wizard), and they are removed as planned.
    ForeignCheckResult CheckForeign(SessionObserver& observer);
    // The user took Quick Install: the installed products, with their own
    // choices, are what the run repeats.
    void TakeQuickInstall();

    // The installed product's name; empty when no Quick Install is offered.
    const std::wstring& InstalledName() const { return installedName_; }
    bool MajorUpgrade() const { return majorUpgrade_; }

private:
    void SwitchToPredecessorLanguage();

    WizardSession& session_;
    RunChoices& choices_;
    std::wstring installedName_;
    bool majorUpgrade_ = false;
    std::vector<std::unique_ptr<RelatedProduct>> predecessors_;
    std::vector<const SetupPackage*> earlierSubPackages_;  // what the installation Quick Install repeats has
};
