// The entry points of msi.dll and cabinet.dll, bound at run time from the
// system folder. All calls into Windows Installer and the cabinet library go
// through this table, so a test can replace an entry and inject a failure
// that real packages cannot produce on demand (disk full, 1618, 3010).
#pragma once

#include <windows.h>
#include <fci.h>
#include <fdi.h>
#include <msi.h>
#include <msiquery.h>
#include <wincrypt.h>

#include <type_traits>
#include <utility>

namespace fw {

// A missing entry point answers like a failed call: ERROR_PROC_NOT_FOUND for
// functions that return Windows error codes, a zero value otherwise.
template <class R>
R MissingEntryResult() {
    if constexpr (std::is_same_v<R, UINT>) return ERROR_PROC_NOT_FOUND;
    else if constexpr (std::is_void_v<R>) return;
    else return R{};
}

template <class F>
struct ApiFunction {
    F fn = nullptr;
    template <class... Args>
    auto operator()(Args&&... args) const -> decltype(fn(std::forward<Args>(args)...)) {
        using R = decltype(fn(std::forward<Args>(args)...));
        if (!fn) return MissingEntryResult<R>();
        return fn(std::forward<Args>(args)...);
    }
};

#define FW_API(name) ApiFunction<decltype(&::name)> name
struct MsiApi {
    FW_API(MsiCloseHandle);
    FW_API(MsiEnableLogW);
    FW_API(MsiSetInternalUI);
    FW_API(MsiSetExternalUIW);
    FW_API(MsiInstallProductW);
    FW_API(MsiConfigureProductExW);
    FW_API(MsiReinstallProductW);
    FW_API(MsiEnumProductsW);
    FW_API(MsiEnumRelatedProductsW);
    FW_API(MsiGetProductInfoW);
    FW_API(MsiGetProductCodeW);
    FW_API(MsiQueryProductStateW);
    FW_API(MsiOpenDatabaseW);
    FW_API(MsiDatabaseCommit);
    FW_API(MsiDatabaseOpenViewW);
    FW_API(MsiDatabaseApplyTransformW);
    FW_API(MsiDatabaseGenerateTransformW);
    FW_API(MsiCreateTransformSummaryInfoW);
    FW_API(MsiDatabaseExportW);
    FW_API(MsiDatabaseImportW);
    FW_API(MsiDatabaseGetPrimaryKeysW);
    FW_API(MsiDatabaseIsTablePersistentW);
    FW_API(MsiViewExecute);
    FW_API(MsiViewFetch);
    FW_API(MsiViewClose);
    FW_API(MsiViewModify);
    FW_API(MsiViewGetColumnInfo);
    FW_API(MsiCreateRecord);
    FW_API(MsiRecordGetFieldCount);
    FW_API(MsiRecordIsNull);
    FW_API(MsiRecordGetStringW);
    FW_API(MsiRecordGetInteger);
    FW_API(MsiRecordSetStringW);
    FW_API(MsiRecordSetInteger);
    FW_API(MsiRecordSetStreamW);
    FW_API(MsiRecordReadStream);
    FW_API(MsiRecordDataSize);
    FW_API(MsiGetSummaryInformationW);
    FW_API(MsiSummaryInfoGetPropertyW);
    FW_API(MsiSummaryInfoSetPropertyW);
    FW_API(MsiSummaryInfoPersist);
    FW_API(MsiGetLastErrorRecord);
    FW_API(MsiFormatRecordW);
};

struct CabinetApi {
    FW_API(FDICreate);
    FW_API(FDICopy);
    FW_API(FDIDestroy);
    FW_API(FDIIsCabinet);
    FW_API(FCICreate);
    FW_API(FCIAddFile);
    FW_API(FCIFlushCabinet);
    FW_API(FCIFlushFolder);
    FW_API(FCIDestroy);
};
// crypt32.dll is no KnownDLL: imported by name, Windows would look for it in
// the launcher's own folder (often Downloads) before any of the launcher's
// code runs. It is bound at run time from the system folder instead.
struct Crypt32Api {
    FW_API(CryptBinaryToStringW);
    FW_API(CryptStringToBinaryW);
};

// version.dll, no KnownDLL either: the version resources of files.
struct VersionApi {
    FW_API(GetFileVersionInfoSizeW);
    FW_API(GetFileVersionInfoW);
    FW_API(VerQueryValueW);
};
#undef FW_API

// The process-wide tables. The first use loads the library by its full path
// in the system folder; a library that cannot be loaded leaves every entry
// missing.
MsiApi& Msi();
CabinetApi& Cabinet();
Crypt32Api& Crypt32();
VersionApi& Version();

// Loads a DLL from the system folder only, never from the application's
// folder or the current directory.
HMODULE LoadSystemLibrary(const wchar_t* fileName);

}  // namespace fw
