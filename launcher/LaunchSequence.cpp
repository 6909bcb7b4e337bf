// The order of a run: InitInstance's checks and main path, ExitInstance's
// clean-up.
#include <cwchar>

#include "catalogue/SessionChoices.h"
#include "catalogue/SubPackageSelection.h"
#include "engine/RunChoices.h"
#include "execution/PackageDigest.h"
#include "framework/Console.h"
#include "framework/InternalError.h"
#include "framework/MessageBox.h"
#include "framework/SystemApi.h"
#include "framework/Text.h"
#include "launcher/ExitCleanup.h"
#include "launcher/PropertyRules.h"
#include "launcher/QuietRun.h"
#include "launcher/SetupApp.h"
#include "launcher/StatusMif.h"
#include "resources/ResourceIds.h"
#include "wizard/WizardDialog.h"

BOOL CSetupApp::InitInstance() {
    log_.WriteRaw(2, L"ZEL (c): CommandLine: " + MaskPasswordsForLog(arguments_) + L"\r\n");
    languages_.SelectLanguage(L"English");
    ChooseLanguage();

    int packageCount = ParsePackageCount(ReadCatalogueString(L"PACKAGE_COUNT"));
    std::wstring productName = ReadCatalogueString(L"PRODUCT_NAME_0");
    StringLoader load = [this](UINT id) { return LoadLocalizedString(id); };
    help_ = BuildHelpModel(productName, packageCount, multiLanguage_, load);
    CheckPropertyAssignments();

    if (commandLine_.validateOnly) {
        log_.Write(3, L"Validation if all necessary resources have been compiled into setup.");
        if (!ValidateCatalogue()) {
            log_.Write(1, L"Validation failed!");
            SetOutcome(outcome::kCorrupted);
            MarkOutcomeReported();
        }
    } else if (commandLine_.usageError || commandLine_.help) {
        // A command line that cannot be read fails, so that no deployment
        // takes the printed usage for an installation.
        if (commandLine_.usageError) RefuseCommandLine(commandLine_.usageProblems);
        PrintUsage();
    } else if (StartDigestsAhead(); !CheckOsVersion()) {
        log_.Write(2, L"ZEL (c): Setup not allowed to run on %s\r\n", osName_.c_str());
        fw::ShowMessageBox(NoBoxes(), FormatLocalized(10, osName_.c_str(), requiredOsName_.c_str()), MB_ICONHAND);
        SetOutcome(outcome::kIncompatibleWindows);
    } else if (!HasDirect2D()) {
        log_.WriteRaw(2, L"No Direct2D found on this machine.");
        fw::ShowMessageBox(NoBoxes(), LoadLocalizedString(66), MB_ICONHAND);
        SetOutcome(outcome::kNoDirect2D);
    } else if (commandLineInvalid_) {
        RefuseCommandLine(invalidValues_);
        fw::AttachParentConsole();
        fw::WriteConsoleText(L"\r\n" + collectedErrors_ + L"\r\n\r\n");
    } else if (IsAnotherInstanceRunning(windows_.major)) {
        log_.Write(1, L"ZEL (c): Setup already in progress.\r\n");
        SetOutcome(outcome::kAlreadyRunning);
    } else if (!IsAdminOrPowerUser()) {
        log_.Write(1, L"ZEL (c): User has no sufficient rights to run setup.\r\n");
        SetOutcome(outcome::kNoAdminRights);
    } else {
        RunMainPath();
    }

    ReportOutcome();
    AbortRun(Outcome().code);
    initialised_ = true;
    return FALSE;
}

void CSetupApp::RefuseCommandLine(const std::vector<std::wstring>& problems) {
    for (const std::wstring& problem : problems)
        log_.WriteRaw(1, L"ZEL (c): Invalid command line: " + problem + L"\r\n");
    SetOutcome(outcome::kInvalidCommandLine);
}

void CSetupApp::StartDigestsAhead() {
    // Nobody waits at a page here, so the checks and the reading of the
    // machine are time the hashes can use; a repair or removal unpacks
    // nothing as a rule, and commandLineInvalid_ ends the run anyway.
    if (commandLine_.Ui().IsFull() || commandLine_.repair || commandLine_.uninstall || commandLineInvalid_) return;
    HMODULE module = resources_.Module();
    int count = std::min(ParsePackageCount(resources_.ReadString(L"PACKAGE_COUNT").value_or(L"")),
                         resources_.PackageResourceCount());
    std::vector<PayloadDigests::Cabinet> cabinets;
    for (int i = 0; i < count; ++i) {
        std::wstring resource = fw::Format(L"PACKAGE_%d", i);
        CabinetImage image;
        if (HasRecordedDigest(module, resource) && ReadPackageCabinet(module, resource, image, false))
            cabinets.push_back({std::move(resource), image});
    }
    digestsAhead_.Start(std::move(cabinets));
}

void CSetupApp::RunMainPath() {
    SetAppName(FormatLocalized(1, ReadCatalogueString(L"PRODUCT_NAME_0").c_str()));
    if (!ReadPackageCatalogue()) SetOutcome(outcome::kCatalogueBroken);
    ApplySubPackageSelection(*this);
    if (Outcome().code == 0) {
        log_.Write(3, L"ZEL (c): All information collected. Start processing.\r\n");
        RunChoices choices = ChoicesFor(*this);
        if (!commandLine_.IsFullUi()) {
            // Below the full level no page is made: the steps run without
            // windows (a /qn run needs no display at all).
            try {
                QuietRun(*this, choices).Run();
            } catch (...) {
                fw::ReportInternalError(L"the quiet run");
            }
            return;
        }
        auto wizard = std::make_unique<CWizardDialog>(*this, AppName(), choices);
        if (wizard->DoModal() == -1) {
            // No wizard, nothing done: a failure, never a silent success.
            DWORD error = ::GetLastError();
            log_.Write(1, L"ZEL (c): The wizard could not be created (DoModal of dialog template %d in language %d): "
                          L"error %d\r\n",
                       IDD_WIZARD, static_cast<int>(languages_.Current().languageId), static_cast<int>(error));
            if (Outcome().code == 0) SetOutcome(outcome::kFailed, error);
        }
    }
}

int CSetupApp::ExitInstance() {
    log_.Write(3, L"ZEL (c): entering ExitInstance \r\n");
    if (initialised_) {
        while (PumpMessage()) {
        }
    }
    fw::CWinAppBase::ExitInstance();
    // A run stopped by an internal error never ends as a success, whatever a
    // later step recorded.
    if (internalError_) outcomes_.FailUnlessFailed();
    if (!commandLine_.mifPath.empty()) WriteStatusFile();
    // After a successful removal nothing of the removed products stays; a
    // bundle's main folder, which may hold the running copy, is left to the
    // script. A repair and a failed removal keep every folder for a retry.
    bool script = NeedsSelfDeleteScript(catalogue_.size(), commandLine_.uninstall, Outcome().code);
    bool removed = commandLine_.uninstall && outcome::IsSuccess(Outcome().code);
    if (!commandLine_.repair && (!commandLine_.uninstall || removed))
        DeleteMsiFolders(catalogue_, script ? catalogue_.front()->msiFolder : std::wstring());
    log_.WriteFooter();
    if (script) StartSelfDeleteScript(catalogue_.front()->msiFolder);
    return static_cast<int>(outcome::ExitCode(Outcome()));
}

void CSetupApp::WriteStatusFile() {
    // A command line that could not be read did nothing to report.
    if (commandLine_.usageError || commandLine_.help || commandLine_.validateOnly || commandLineInvalid_) return;
    wchar_t temp[MAX_PATH + 1] = {};
    DWORD length = ::GetTempPathW(MAX_PATH + 1, temp);
    std::wstring path = StatusMifPath(commandLine_.mifPath, length > 0 && length <= MAX_PATH ? temp : L"");
    StatusMifFields fields;
    const SetupPackage* main = catalogue_.empty() ? nullptr : catalogue_.front().get();
    if (!main || main->msiFileName.empty() || !ReadStatusMifFields(main->msiFileName, fields)) {
        log_.Write(2, L"ZEL (c): The main package's database cannot be read: the status file names only its package "
                      L"code.\r\n");
        fields.product = resources_.ReadString(L"PACKAGE_CODE_0").value_or(L"");
    }
    DWORD exitCode = outcome::ExitCode(Outcome());
    fields.success = outcome::IsSuccess(exitCode);
    fields.description = StatusMifDescription(outcome::OutcomeText(Outcome()), exitCode);
    if (DWORD error = WriteStatusMif(path, StatusMifText(fields)); error != 0)
        log_.Write(1, L"ZEL (c): No status file was written to %s (error %u).\r\n", path.c_str(),
                   static_cast<unsigned>(error));
    else
        log_.Write(3, L"ZEL (c): Status file written to %s.\r\n", path.c_str());
}

bool WriteLog(int level, const wchar_t* format, ...) {
    CSetupApp* app = CSetupApp::Current();
    if (!app) return true;
    va_list args;
    va_start(args, format);
    app->Log().WriteV(level, format, args);
    va_end(args);
    return true;
}

bool WriteLogRaw(int level, const std::wstring& text) {
    if (CSetupApp* app = CSetupApp::Current()) app->Log().WriteRaw(level, text);
    return true;
}

void HandLogToInstaller() {
    if (CSetupApp* app = CSetupApp::Current()) app->Log().HandToInstaller();
}

void ReopenLog() {
    if (CSetupApp* app = CSetupApp::Current()) app->Log().Reopen();
}
