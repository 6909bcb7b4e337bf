// The launcher's application object: one instance, made by the entry point
// inside its exception barrier, whose constructor parses the command line
// and opens the log, whose InitInstance runs the
// checks and the main path, and whose ExitInstance cleans up and returns the
// outcome code as the process exit code.
#pragma once

#include <windows.h>

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "catalogue/CatalogueResources.h"
#include "catalogue/LanguageTable.h"
#include "catalogue/SetupPackage.h"
#include "engine/CommandLineInfo.h"
#include "engine/OutcomeRecorder.h"
#include "execution/PayloadDigests.h"
#include "framework/Application.h"
#include "framework/Handles.h"
#include "launcher/EnvironmentChecks.h"
#include "launcher/HelpModel.h"
#include "launcher/SetupLog.h"
#include "wizard/WizardSession.h"

struct RelatedProduct;

class CSetupApp : public fw::CWinAppBase, public WizardSession {
public:
    // Parses commandLine (the whole process command line) and opens the log.
    explicit CSetupApp(const std::wstring& commandLine, const std::wstring& exePath = std::wstring(),
                       HMODULE resources = nullptr);

    BOOL InitInstance() override;
    int ExitInstance() override;

    static CSetupApp* Current();

    // Outcome. Plain success (0) never replaces a recorded restart (3010,
    // 1641), and nothing replaces the outcome of a damaged catalogue (1).
    UINT SetOutcome(DWORD code) override;
    void SetOutcome(DWORD code, DWORD systemError) override;
    // A success that asks for a restart (3010 or 1641): becomes the exit
    // code without an error report; 1641 outranks 3010.
    void RecordRestartSuccess(DWORD code);
    // The result of a Windows Installer call that the run ends on: a
    // failure is reported with the text and box of its outcome code
    // (outcome::ForInstallerResult) and is the exit code unchanged; a
    // success asking for a restart is recorded as such; 0 changes nothing.
    void SetInstallerOutcome(DWORD result) override;
    void ReportOutcome() override;
    // Windows Installer has shown the failure itself: no box of ours.
    void MarkOutcomeReported() override { outcomes_.MarkReported(); }
    const SetupOutcome& Outcome() const override { return outcomes_.Outcome(); }
    void AbortRun(DWORD code);
    // Logs "Internal error in <place>: <what>", records a failure and ends
    // the main thread's modal loops (the wizard, hidden or not), so that the
    // run ends instead of waiting. Any thread.
    void OnInternalError(const std::wstring& place, const std::wstring& what) noexcept override;
    bool HadInternalError() const { return internalError_; }

    // Log
    SetupLog& Log() { return log_; }

    // Catalogue and texts. A required string missing from a single-language
    // installer shows string 2 (once per run) and ends the run as a
    // corrupted installer (1, already reported).
    std::wstring ReadCatalogueString(const std::wstring& name) override;
    bool ReadPackageCatalogue();
    bool ValidateCatalogue();
    std::wstring LoadLocalizedString(UINT id) const { return languages_.LoadLocalizedString(id); }
    std::wstring FormatLocalized(UINT id, ...) const;

    // Environment checks
    bool CheckOsVersion();

    // Command line and help
    const CSetupAppCommandLineInfo& CommandLine() const override { return commandLine_; }
    bool IsSilent() const { return commandLine_.IsSilent(); }
    // Message boxes wait for a click, so they are shown only with the full
    // wizard: a run with /qn, /qb or /qr never waits for anybody.
    bool NoBoxes() const override { return !commandLine_.IsFullUi(); }
    void PrintUsage();
    const HelpModel& Help() const { return help_; }

    const WindowsFacts& RunningWindows() const { return windows_; }
    bool Is64BitOs() const override { return windows_.nativeAmd64; }
    // Asked here when the checks have not asked yet.
    std::pair<DWORD, DWORD> WindowsVersion() const override;
    const std::wstring& OsName() const { return osName_; }
    const std::wstring& RequiredOsName() const { return requiredOsName_; }
    int WelcomeTextId() const override { return welcomeTextId_; }

    LanguageTable& Languages() override { return languages_; }
    bool IsMultiLanguage() const override { return multiLanguage_; }
    CatalogueResources& Resources() override { return resources_; }
    PackageCatalogue& Catalogue() override { return catalogue_; }
    // What a package's detection takes from this run: its switches, the
    // current language and, for a sub-package, whether the main package
    // (the catalogue's first) is installed here.
    DetectionContext DetectionContextFor(bool isMain) const;
    // Appends a package to the catalogue, detected in this run's context.
    SetupPackage& AddPackage(PackageRecord record);
    std::vector<RelatedProduct*>& QuickInstallList() override { return quickInstall_; }
    // The sub-packages were chosen on purpose (subPackages= on the command
    // line, or Next on the sub-packages page): the choice stands, and the
    // upgrade handling does not select by what is installed.
    void FixSubPackageSelection() override { subPackageSelectionFixed_ = true; }
    bool SubPackageSelectionFixed() const override { return subPackageSelectionFixed_; }
    const std::wstring& ExePath() const { return exePath_; }
    // The launcher's own file, opened at construction so that it cannot be
    // written, renamed or deleted during the run; every copy of the launcher
    // is made from it (launcher/LauncherFile.h). INVALID_HANDLE_VALUE when
    // it could not be opened.
    HANDLE LauncherFile() const override { return launcherFile_.get(); }
    // The package hashes a quiet run works out while it does its checks.
    const PayloadDigests& DigestsAhead() const override { return digestsAhead_; }

private:
    void ChooseLanguage();
    void CheckPropertyAssignments();
    // Logs each problem and ends the run with 1639 (invalid command line).
    void RefuseCommandLine(const std::vector<std::wstring>& problems);
    void RunMainPath();
    // A run that unpacks without asking anybody hashes its packages on a
    // thread of their own from here on.
    void StartDigestsAhead();
    // The status file of "/m <file>", after the run's outcome is final.
    void WriteStatusFile();

    CSetupAppCommandLineInfo commandLine_;
    std::wstring arguments_;
    std::wstring exePath_;
    fw::FileHandle launcherFile_;  // opened right after exePath_ is known
    SetupLog log_;
    OutcomeRecorder outcomes_;
    WindowsFacts windows_;
    std::wstring osName_;
    std::wstring requiredOsName_;
    int welcomeTextId_ = 35;
    LanguageTable languages_;
    CatalogueResources resources_;
    PayloadDigests digestsAhead_;  // stopped before the resources go
    bool multiLanguage_ = false;
    PackageCatalogue catalogue_;
    HelpModel help_;
    bool commandLineInvalid_ = false;
    std::wstring collectedErrors_;
    std::vector<std::wstring> invalidValues_;  // the same faults, for the log
    std::vector<RelatedProduct*> quickInstall_;
    bool subPackageSelectionFixed_ = false;
    bool initialised_ = false;
    volatile bool internalError_ = false;
};
