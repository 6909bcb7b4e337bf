#include "server/ServiceStep.h"

#include "catalogue/RunSession.h"
#include "engine/Log.h"
#include "engine/Outcome.h"
#include "engine/RunChoices.h"
#include "icbs/PasswordCrypto.h"
#include "server/ServiceCommandLine.h"
#include "server/ServiceEntryTable.h"
#include "server/ServiceMachineState.h"
#include "server/ServicePropertyString.h"

using namespace service_config;

namespace {
bool PackageSelected(const void* context, size_t index) {
    const PackageCatalogue& catalogue = *static_cast<const PackageCatalogue*>(context);
    return index < catalogue.size() && catalogue[index]->selected;
}

std::wstring Encrypt(const std::wstring& plain) { return icbs::EncryptPassword(plain); }
}  // namespace

ServiceStep::ServiceStep(RunSession& session)
    : session_(session), catalogue_(session.Catalogue()), entries_(ReadServiceEntries(catalogue_)) {}

void ServiceStep::Prepare(const std::function<std::wstring(UINT)>& text, const std::vector<std::wstring>& items) {
    if (prepared_) return;
    prepared_ = true;
    for (ServiceSettings& entry : entries_)
        if (entry.captionId != 0) entry.caption = text(entry.captionId);
    LinkEntries(entries_);
    ApplyCommandLineProperties(entries_, items);
}

bool ServiceStep::Selected(const ServiceSettings& entry) const { return PackageSelected(&catalogue_, entry.packageIndex); }

size_t ServiceStep::FirstMissingPassword() const {
    return service_config::FirstMissingPassword(entries_, PackageSelected, &catalogue_);
}

void ServiceStep::RefuseMissingPassword(size_t index) const {
    const ServiceSettings& entry = entries_[index];
    // Nobody could type it: the command line lacks a property.
    WriteLog(1, L"ZEL (c): No password for the logon account of service %s: set %s_Service_Password\r\n",
             entry.serviceName.c_str(), entry.ServicePrefix().c_str());
    session_.SetOutcome(ERROR_INVALID_COMMAND_LINE, ERROR_INVALID_COMMAND_LINE);
}

bool ServiceStep::Compose(RunChoices& choices) const {
    ServiceProperties properties = ComposeServiceProperties(entries_, PackageSelected, &catalogue_, Encrypt);
    choices.TakeOverItems(properties.names);
    choices.TakeOverItems(PasswordPropertyNames(entries_));
    if (!properties.unencrypted.empty()) {
        for (const std::wstring& name : properties.unencrypted)
            WriteLog(1, L"ZEL (c): Cannot encrypt the password for %s (no key of the base cryptographic provider); "
                        L"it is not passed on\r\n", name.c_str());
        session_.SetOutcome(ERROR_INVALID_COMMAND_LINE, ERROR_INVALID_COMMAND_LINE);
        return false;
    }
    choices.serviceProperties = properties.text;
    return true;
}
