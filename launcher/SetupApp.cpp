#include "launcher/SetupApp.h"

#include <cstdarg>
#include <cwchar>

#include "catalogue/SubPackageSelection.h"
#include "execution/PackageVerification.h"
#include "framework/Console.h"
#include "framework/MessageBox.h"
#include "framework/ModulePath.h"
#include "framework/SystemApi.h"
#include "framework/Text.h"
#include "launcher/LauncherFile.h"
#include "launcher/PropertyRules.h"
#include "launcher/UsageText.h"

CSetupApp::CSetupApp(const std::wstring& commandLine, const std::wstring& exePath, HMODULE resources)
    : exePath_(exePath.empty() ? fw::RunningModulePath() : exePath),
      launcherFile_(OpenLauncherFile(exePath_)),
      languages_(resources),
      resources_(resources) {
    // The main thread needs a message queue before anything posts to it.
    MSG msg;
    ::PeekMessageW(&msg, nullptr, WM_USER, WM_USER, PM_NOREMOVE);
    arguments_ = fw::ArgumentsText(commandLine);
    fw::ParseCommandLine(commandLine_, commandLine);
    log_.Open(commandLine_.logPath, commandLine_.logMode, commandLine_.logAttributes, exePath_);
}

CSetupApp* CSetupApp::Current() { return dynamic_cast<CSetupApp*>(fw::CWinAppBase::Current()); }

// ---- outcome

UINT CSetupApp::SetOutcome(DWORD code) {
    SetOutcome(code, 0);
    return code != 0 ? ERROR_INSTALL_FAILURE : ERROR_SUCCESS;
}

void CSetupApp::SetOutcome(DWORD code, DWORD systemError) { outcomes_.Set(code, systemError); }

void CSetupApp::RecordRestartSuccess(DWORD code) {
    if (outcomes_.RecordRestart(code)) log_.WriteRaw(3, outcome::RestartLine(code));
}

void CSetupApp::SetInstallerOutcome(DWORD result) {
    if (outcomes_.SetInstallerResult(result)) log_.WriteRaw(3, outcome::RestartLine(result));
}

void CSetupApp::ReportOutcome() {
    if (!outcomes_.ReportDue()) return;
    const SetupOutcome& outcome = outcomes_.Outcome();
    log_.Write(3, L"ZEL (c): ERROR: %s\r\n", outcome::OutcomeText(outcome).c_str());
    if (UINT box = outcome::BoxStringId(outcome.code); box != 0 && !NoBoxes())
        fw::ShowMessageBox(false, LoadLocalizedString(box), MB_ICONEXCLAMATION);
    outcomes_.MarkReported();
}

void CSetupApp::AbortRun(DWORD code) {
    ::PostThreadMessageW(MainThreadId(), WM_QUIT, code, 0);
    if (::GetCurrentThreadId() != MainThreadId()) ::ExitThread(code);
}

void CSetupApp::OnInternalError(const std::wstring& place, const std::wstring& what) noexcept {
    try {
        internalError_ = true;
        log_.WriteRaw(1, L"ZEL (c): Internal error in " + place + L": " + what + L"\r\n");
        outcomes_.FailUnlessFailed();
    } catch (...) {
        internalError_ = true;
    }
    ::PostThreadMessageW(MainThreadId(), WM_QUIT, outcome::kFailed, 0);
}

std::wstring CSetupApp::FormatLocalized(UINT id, ...) const {
    std::wstring format = LoadLocalizedString(id);
    va_list args;
    va_start(args, id);
    std::wstring text = fw::FormatV(format.c_str(), args);
    va_end(args);
    return text;
}

// ---- catalogue

std::wstring CSetupApp::ReadCatalogueString(const std::wstring& name) {
    bool damaged = false;
    std::optional<std::wstring> text = resources_.ReadString(name, &damaged);
    if (text) return *text;
    // A resource entry that points outside the image is a damaged installer,
    // reported as a missing one; nothing of it is read.
    if (damaged) log_.WriteRaw(1, L"ZEL (c): The resource " + name + L" lies outside the installer's image.\r\n");
    log_.WriteRaw(1, L"ZEL (c): The required resource " + name + L" is missing.\r\n");
    if (outcomes_.CatalogueDamaged()) return std::wstring();
    // The box is the report: the outcome is stored as reported, so that no
    // second box follows, and no later step can turn the run into a
    // success or another failure.
    fw::ShowMessageBox(NoBoxes(), FormatLocalized(2, name.c_str()), MB_ICONEXCLAMATION);
    outcomes_.MarkCatalogueDamaged();
    AbortRun(ERROR_INSTALL_FAILURE);
    return std::wstring();
}

bool CSetupApp::ReadPackageCatalogue() {
    catalogue_.clear();
    log_.Write(3, L"ZEL (c): Reading package information.\r\n");
    int count = ParsePackageCount(ReadCatalogueString(L"PACKAGE_COUNT"));
    log_.Write(3, L"ZEL (c): Installer contains %d packages.\r\n", count);
    if (count < 1) return false;
    // The count is checked against what is there, before a record is made.
    int carried = resources_.PackageResourceCount();
    if (count > carried) {
        log_.Write(1, L"ZEL (c): The installer carries %d packages, fewer than the %d it names.\r\n", carried, count);
        return false;
    }
    bool complete = true;
    for (int i = 0; i < count && !outcomes_.CatalogueDamaged(); ++i) {
        PackageRecord record;
        record.name = ReadCatalogueString(fw::Format(L"PRODUCT_NAME_%d", i));
        record.productCode = ReadCatalogueString(fw::Format(L"PRODUCT_CODE_%d", i));
        record.packageCode = ReadCatalogueString(fw::Format(L"PACKAGE_CODE_%d", i));
        record.productId = ReadCatalogueString(fw::Format(L"PRODUCT_ID_%d", i));
        record.is64 = ReadCatalogueString(fw::Format(L"PRODUCT_PLATFORM_%d", i)) == L"x64";
        record.versionText = ReadCatalogueString(fw::Format(L"PRODUCT_VERSION_%d", i));
        // Reading stops at the first missing string: the run ends anyway.
        if (outcomes_.CatalogueDamaged()) return false;
        record.packageResource = fw::Format(L"PACKAGE_%d", i);
        record.transformPattern = fw::Format(L"PACKAGE_%d_%%s", i);
        record.isMain = i == 0;
        if (record.packageCode.empty()) complete = false;
        AddPackage(std::move(record));
        log_.Write(3, L"ZEL (c): Initialized state for package %s.\r\n", catalogue_.back()->name.c_str());
    }
    return complete;
}

DetectionContext CSetupApp::DetectionContextFor(bool isMain) const {
    DetectionContext context;
    context.extractAll = commandLine_.extractAll;
    context.repair = commandLine_.repair;
    context.uninstall = commandLine_.uninstall;
    context.mainInstalled = !isMain && !catalogue_.empty() && catalogue_.front()->InstalledHere();
    context.language = languages_.Current().code;
    return context;
}

SetupPackage& CSetupApp::AddPackage(PackageRecord record) {
    DetectionContext context = DetectionContextFor(record.isMain);
    catalogue_.push_back(std::make_unique<SetupPackage>(std::move(record), context));
    return *catalogue_.back();
}

bool CSetupApp::ValidateCatalogue() {
    int count = ParsePackageCount(resources_.ReadString(L"PACKAGE_COUNT").value_or(L""));
    // More packages named than carried: some PACKAGE_<n> is missing, found
    // without listing them all.
    if (count > resources_.PackageResourceCount()) return false;
    for (const RequiredResource& required :
         RequiredResources(count, multiLanguage_, languages_.Current().englishName)) {
        if (!resources_.CatalogueResourceExists(required.name, required.language)) return false;
    }
    return VerifyPackagePayloads(resources_.Module(), count);
}

// ---- environment

std::pair<DWORD, DWORD> CSetupApp::WindowsVersion() const {
    WindowsFacts windows = windows_;
    if (windows.major == 0) windows = QueryRunningWindows();  // not asked yet in this run
    return {windows.major, windows.minor};
}

bool CSetupApp::CheckOsVersion() {
    log_.Write(3, L"ZEL (c): Determining OS version\r\n");
    windows_ = QueryRunningWindows();
    osName_ = WindowsName(windows_.major, windows_.minor, windows_.spMajor, windows_.spMinor, windows_.build,
                          windows_.productType, windows_.suiteMask, windows_.nativeAmd64, windows_.serverR2);
    log_.Write(3, L"ZEL (c): found %s\r\n", osName_.c_str());

    OsRequirement required = ParseOsRequirement(ReadCatalogueString(L"OS"));
    // Named as the running system would be: the machine's R2 mark and
    // processor architecture count as they do for its own name.
    requiredOsName_ = WindowsName(required.major, required.minor, static_cast<WORD>(required.spMajor),
                                  static_cast<WORD>(required.spMinor), 0, VER_NT_WORKSTATION, 0,
                                  windows_.nativeAmd64, windows_.serverR2);
    log_.Write(3, L"ZEL (c): Expect at least %s %s\r\n", requiredOsName_.c_str(), required.restriction.c_str());
    if (required.major == 0) {
        log_.Write(2, L"ZEL (c): Not checking OS version since no minimum version specified.\r\n");
        return true;
    }
    welcomeTextId_ = WelcomeTextIdFor(required);
    if (welcomeTextId_ == 35) log_.Write(3, L"ZEL (c): Default text for supported OSes used.\r\n");
    log_.Write(3, L"ZEL (c): Checking OS version\r\n");
    if (!MeetsRequirement(windows_, required)) return false;
    if (required.hasRestriction && required.restriction != L"WSOnly")
        log_.Write(2, L"ZEL (c): Unsupported OS restriction selection!\r\n");
    log_.Write(3, L"ZEL (c): OS version found to be correct.\r\n");
    return true;
}

// ---- start-up

void CSetupApp::ChooseLanguage() {
    multiLanguage_ = resources_.DetectMultiLanguage();
    resources_.SetMultiLanguage(multiLanguage_);
    if (multiLanguage_) {
        if (!commandLine_.language.empty()) {
            languages_.SelectLanguage(commandLine_.language);
        } else {
            languages_.SelectLanguageById(::GetUserDefaultUILanguage());
            languages_.ReloadDisplayNames();
        }
        return;
    }
    const std::pair<LANGID, const wchar_t*> probes[] = {
        {1031, L"German"}, {1034, L"Spanish"}, {1036, L"French"}, {1041, L"Japanese"}};
    for (const auto& [language, name] : probes) {
        if (resources_.ExistsInLanguage(L"OS", language)) {
            languages_.SelectLanguage(name);
            return;
        }
    }
    languages_.SelectLanguage(L"English");
}

void CSetupApp::CheckPropertyAssignments() {
    for (const std::wstring& assignment : commandLine_.properties) {
        size_t equals = assignment.find(L'=');
        std::wstring name = assignment.substr(0, equals);
        std::wstring value = equals == std::wstring::npos ? std::wstring() : assignment.substr(equals + 1);
        if (fw::EqualsNoCase(name, L"lang") || fw::EqualsNoCase(name, L"SubPackages") ||
            fw::EqualsNoCase(name, L"TRANSFORMS"))
            continue;
        if (help_.FindProperty(name)) {
            if (!IsValidPropertyValue(name, value)) {
                commandLineInvalid_ = true;
                collectedErrors_ += FormatLocalized(1310, name.c_str()) + L"\n";
                invalidValues_.push_back(L"the value of " + name + L" must be numeric");
            }
            continue;
        }
        fw::AttachParentConsole();
        fw::WriteConsoleText(FormatLocalized(1277, name.c_str()) + L"\r\n");
    }
}

void CSetupApp::PrintUsage() {
    fw::AttachParentConsole();
    StringLoader load = [this](UINT id) { return LoadLocalizedString(id); };
    fw::WriteConsoleText(ComposeUsage(help_, ExecutableName(exePath_), load));
}
