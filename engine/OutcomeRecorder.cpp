#include "engine/OutcomeRecorder.h"

void OutcomeRecorder::Set(DWORD code, DWORD systemError) {
    if (catalogueDamaged_) return;
    // A step that merely went well (the unpacking, say) says nothing about
    // the restart an earlier one asked for.
    if (code == 0 && outcome::IsSuccessWithRestart(outcome_.code)) return;
    outcome_ = {code, systemError, false};
}

bool OutcomeRecorder::RecordRestart(DWORD code) {
    if (catalogueDamaged_) return false;
    if (code == ERROR_SUCCESS_REBOOT_REQUIRED && outcome_.code == ERROR_SUCCESS_REBOOT_INITIATED) return false;
    outcome_ = {code, 0, true};
    return true;
}

bool OutcomeRecorder::SetInstallerResult(DWORD result) {
    if (result == 0) return false;
    if (outcome::IsSuccessWithRestart(result)) return RecordRestart(result);
    if (!catalogueDamaged_) outcome_ = {outcome::ForInstallerResult(result), result, false, result};
    return false;
}

void OutcomeRecorder::MarkCatalogueDamaged() {
    outcome_ = {outcome::kCorrupted, 0, true};
    catalogueDamaged_ = true;
}

void OutcomeRecorder::FailUnlessFailed() {
    if (outcome::IsSuccess(outcome_.code)) Set(outcome::kFailed);
}

namespace outcome {
std::wstring RestartLine(DWORD code) {
    if (code == ERROR_SUCCESS_REBOOT_INITIATED)
        return L"ZEL (c): Windows Installer succeeded and started a restart (" + std::to_wstring(code) + L").\r\n";
    return L"ZEL (c): Windows Installer succeeded; a restart is required (" + std::to_wstring(code) + L").\r\n";
}
}  // namespace outcome
