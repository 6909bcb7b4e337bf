#include "engine/RunChoices.h"

#include <utility>

#include "engine/CommandLineInfo.h"
#include "engine/PropertyItems.h"

RunChoices::RunChoices(const CSetupAppCommandLineInfo& request, const WizardFlags& flags, size_t packageCount,
                       std::function<void(DWORD)> recordResult)
    : request_(request), flags_(flags), packageCount_(packageCount), recordResult_(std::move(recordResult)) {}

RunMode RunChoices::Maintenance() const { return DecideMaintenance(request_.repair, request_.uninstall, mainInstalled_); }

void RunChoices::SetResult(DWORD errorCode) {
    if (recordResult_) recordResult_(errorCode);
}

std::vector<PageKind> RunChoices::Steps() const { return BuildPageTable(packageCount_, flags_, IsUninstall()); }

void RunChoices::TakeOverItems(const std::vector<std::wstring>& names) {
    takenOver_.insert(takenOver_.end(), names.begin(), names.end());
}

std::vector<std::wstring> RunChoices::CommandLineItems() const { return items::WithoutNamed(request_.properties, takenOver_); }
