#include "execution/CustomInstallerRegistry.h"

#include "catalogue/PackageFolders.h"
#include "catalogue/RunSession.h"
#include "catalogue/SetupPackage.h"
#include "engine/Log.h"
#include "execution/PackedProductCode.h"
#include "execution/UninstallEntryTexts.h"
#include "framework/ModulePath.h"
#include "framework/SystemApi.h"
#include "framework/Text.h"
#include "icbs/FilePath.h"
#include "icbs/ICBSFileUtilities.h"
#include "icbs/RegistryKey.h"
#include "icbs/RegistryViews.h"

namespace {

const wchar_t kUninstallKey[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\";
const wchar_t kProductsKey[] = L"Software\\Classes\\Installer\\Products\\";

// Everything a step writes, derived once per call.
struct EntryValues {
    std::wstring copyPath;
    std::wstring modifyPath;
    std::wstring uninstallString;
    std::wstring quietUninstallString;
    std::wstring icon;
};

// The uninstall key, opened (never created) with all access; a 64-bit
// product's entry lives in the 64-bit view of the registry, any other's in
// the 32-bit view. Without a product code (or with one that names a path)
// there is no entry: the values must never land in the list's own key or
// another product's.
RegistryKey OpenUninstallKey(const SetupPackage& package) {
    if (package.productCode.empty() || package.productCode.find(L'\\') != std::wstring::npos)
        return RegistryKey(std::wstring());  // no root: never open
    return RegistryKey(RegistryKey::LocalMachine(), kUninstallKey + package.productCode, false, false,
                       registry_view::ForProduct(package.is64));
}

// The installer's own product key, always in the 64-bit view; a product
// code without the form of a GUID has none.
RegistryKey OpenProductsKey(const SetupPackage& package) {
    std::wstring packed = PackProductCode(package.productCode);
    if (packed.empty()) return RegistryKey(std::wstring());  // no root: never open
    return RegistryKey(RegistryKey::LocalMachine(), kProductsKey + packed, false, false, registry_view::k64);
}

std::wstring ProductIcon(const std::wstring& productCode) {
    wchar_t buffer[260] = {};
    DWORD size = 260;
    if (fw::Msi().MsiGetProductInfoW(productCode.c_str(), L"ProductIcon", buffer, &size) != ERROR_SUCCESS)
        return std::wstring();
    return std::wstring(buffer, size);
}

// True when the copy is there afterwards.
bool CopyLauncher(const CustomInstallerFacts& facts, const std::wstring& copyPath, bool failIfExists) {
    // Started from the uninstall entry, the running launcher is the kept
    // copy itself: there is nothing to copy.
    if (fw::EqualsNoCase(facts.launcherPath, copyPath)) return true;
    // The copy never makes its folder: a missing package folder is made
    // with the protected list first.
    if (EnsureProtectedFolder(FilePath(copyPath).Folder().Path()) &&
        ICBSFileUtilities::CopyOpenFile(facts.launcherFile, copyPath, failIfExists))
        return true;
    WriteLog(2, L"ZEL (c): Failed to copy the launcher to %s (error %u)\r\n", copyPath.c_str(),
             static_cast<unsigned>(::GetLastError()));
    return false;
}

void Redo(const SetupPackage& package, const CustomInstallerFacts& facts, const EntryValues& values, bool copied) {
    WriteLog(3, L"ZEL (c): redo-after modify or re-install custom installer registry\r\n");
    if (copied && !ICBSFileUtilities::FileExists(values.copyPath)) copied = CopyLauncher(facts, values.copyPath, true);
    // An entry naming a launcher copy that is not there could neither change
    // nor remove the product: it stays as Windows Installer wrote it.
    if (!copied) {
        WriteLog(2, L"ZEL (c): No launcher copy at %s; the uninstall entry is left to Windows Installer\r\n",
                 values.copyPath.c_str());
        return;
    }
    if (RegistryKey uninstall = OpenUninstallKey(package); uninstall.IsOpen()) {
        uninstall.SetDword(L"WindowsInstaller", 0);
        uninstall.SetString(L"ModifyPath", values.modifyPath);
        uninstall.SetString(L"UninstallString", values.uninstallString);
        // Deployment tools (winget and the like) run this one first.
        uninstall.SetString(L"QuietUninstallString", values.quietUninstallString);
        uninstall.SetString(L"DisplayIcon", values.icon);
    }
    if (!facts.oldSystem) return;
    if (RegistryKey products = OpenProductsKey(package); products.IsOpen()) products.SetString(L"ProductName", L"");
}

void PrepareRemove(const SetupPackage& package, const CustomInstallerFacts& facts) {
    WriteLog(3, L"ZEL (c): prepare-remove custom installer registry\r\n");
    if (RegistryKey uninstall = OpenUninstallKey(package); uninstall.IsOpen()) {
        uninstall.SetDword(L"WindowsInstaller", 1);
        WriteLog(3, L"ZEL (c): before delete value - custom installer registry\r\n");
        uninstall.DeleteValue(L"DisplayIcon");
        WriteLog(3, L"ZEL (c): after delete value - custom installer registry\r\n");
    }
    if (!facts.oldSystem) return;
    if (RegistryKey products = OpenProductsKey(package); products.IsOpen()) {
        WriteLog(3, L"ZEL (c): before write product name - custom installer registry\r\n");
        products.SetString(L"ProductName", package.name);
        WriteLog(3, L"ZEL (c): after write product name - custom installer registry\r\n");
    }
}

void RollBackPrepareRemove(const SetupPackage& package, const CustomInstallerFacts& facts, const EntryValues& values) {
    WriteLog(3, L"ZEL (c): roll-back prepare-remove custom installer registry\r\n");
    if (RegistryKey uninstall = OpenUninstallKey(package); uninstall.IsOpen()) {
        uninstall.SetDword(L"WindowsInstaller", 0);
        uninstall.SetString(L"DisplayIcon", values.icon);
    }
    if (!facts.oldSystem) return;
    if (RegistryKey products = OpenProductsKey(package); products.IsOpen()) products.SetString(L"ProductName", L"");
}


}  // namespace

void CustomInstallerRegistry(int step, const SetupPackage& package, const CustomInstallerFacts& facts) {
    try {
        EntryValues values;
        values.copyPath = LauncherCopyPath(package.msiFolder, facts.launcherPath);
        values.modifyPath = LauncherCommand(values.copyPath, facts.languageArgument);
        values.uninstallString = LauncherCommand(values.copyPath, L" /x" + facts.languageArgument);
        values.quietUninstallString = QuietUninstallCommand(values.copyPath);
        values.icon = ProductIcon(package.productCode);
        switch (step) {
        case kPerformCustomInstaller:
            WriteLog(3, L"ZEL (c): perform custom installer registry\r\n");
            Redo(package, facts, values, CopyLauncher(facts, values.copyPath, false));
            break;
        case kRedoCustomInstaller:
            Redo(package, facts, values, true);
            break;
        case kPrepareRemoveCustomInstaller:
            PrepareRemove(package, facts);
            break;
        case kRollBackPrepareRemoveCustomInstaller:
            RollBackPrepareRemove(package, facts, values);
            break;
        default:
            break;
        }
    } catch (...) {
        // Out of memory or the like: the entry stays as far as it got.
    }
}

void CustomInstallerRegistry(int step, const SetupPackage& package, RunSession& session) {
    try {
        CustomInstallerFacts facts;
        facts.launcherPath = fw::RunningModulePath();
        if (facts.launcherPath.empty()) {
            WriteLog(3, L"ZEL (c): Failed to retrieve module file name\r\n");
            return;
        }
        facts.launcherFile = session.LauncherFile();
        facts.languageArgument = LanguageArgument(session.IsMultiLanguage(), session.Languages().Current().englishName);
        auto [major, minor] = session.WindowsVersion();
        facts.oldSystem = IsOldWindows(major, minor);
        CustomInstallerRegistry(step, package, facts);
    } catch (...) {
        // Out of memory or the like: the entry stays as it is.
    }
}
