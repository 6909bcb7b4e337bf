// What the service step does for the run, apart from its controls: the
// service entries, read from the machine when the step is made ready,
// completed from the command line when it is first entered, and the service
// configuration property string it leaves. The page and the quiet run call
// it alike; only the page can ask for a missing password.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "catalogue/SetupPackage.h"
#include "server/ServiceSettings.h"

class RunChoices;
class RunSession;

class ServiceStep {
public:
    // The entries of the catalogue's server products, read from the machine.
    explicit ServiceStep(RunSession& session);

    // The first entry into the step: the captions in the current language,
    // the linked entries, and the command line's items. Once.
    void Prepare(const std::function<std::wstring(UINT)>& text, const std::vector<std::wstring>& items);
    bool Prepared() const { return prepared_; }
    // The first entry of a selected package whose account has no password;
    // Entries().size() when none lacks one.
    size_t FirstMissingPassword() const;
    // Nobody can type the password (below the full level): logs the missing
    // property and records an invalid command line.
    void RefuseMissingPassword(size_t entry) const;
    // Leaves the property string in choices, or false (an invalid command
    // line recorded) when a password cannot be encrypted. Either way the
    // choices take over every item it sets and every password item: no
    // password goes on as typed.
    bool Compose(RunChoices& choices) const;

    std::vector<service_config::ServiceSettings>& Entries() { return entries_; }
    // Whether the entry's package takes part in the run.
    bool Selected(const service_config::ServiceSettings& entry) const;

private:
    RunSession& session_;
    const PackageCatalogue& catalogue_;
    std::vector<service_config::ServiceSettings> entries_;
    bool prepared_ = false;
};
