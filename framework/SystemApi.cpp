#include "framework/SystemApi.h"

#include <string>

namespace fw {
namespace {

template <class F>
void Bind(HMODULE module, ApiFunction<F>& entry, const char* name) {
    entry.fn = module ? reinterpret_cast<F>(reinterpret_cast<void*>(::GetProcAddress(module, name))) : nullptr;
}

#define BIND(table, name) Bind(module, table.name, #name)

MsiApi LoadMsi() {
    MsiApi api;
    // Stays loaded for the life of the process, as the table refers to it.
    HMODULE module = LoadSystemLibrary(L"msi.dll");
    BIND(api, MsiCloseHandle);
    BIND(api, MsiEnableLogW);
    BIND(api, MsiSetInternalUI);
    BIND(api, MsiSetExternalUIW);
    BIND(api, MsiInstallProductW);
    BIND(api, MsiConfigureProductExW);
    BIND(api, MsiReinstallProductW);
    BIND(api, MsiEnumProductsW);
    BIND(api, MsiEnumRelatedProductsW);
    BIND(api, MsiGetProductInfoW);
    BIND(api, MsiGetProductCodeW);
    BIND(api, MsiQueryProductStateW);
    BIND(api, MsiOpenDatabaseW);
    BIND(api, MsiDatabaseCommit);
    BIND(api, MsiDatabaseOpenViewW);
    BIND(api, MsiDatabaseApplyTransformW);
    BIND(api, MsiDatabaseGenerateTransformW);
    BIND(api, MsiCreateTransformSummaryInfoW);
    BIND(api, MsiDatabaseExportW);
    BIND(api, MsiDatabaseImportW);
    BIND(api, MsiDatabaseGetPrimaryKeysW);
    BIND(api, MsiDatabaseIsTablePersistentW);
    BIND(api, MsiViewExecute);
    BIND(api, MsiViewFetch);
    BIND(api, MsiViewClose);
    BIND(api, MsiViewModify);
    BIND(api, MsiViewGetColumnInfo);
    BIND(api, MsiCreateRecord);
    BIND(api, MsiRecordGetFieldCount);
    BIND(api, MsiRecordIsNull);
    BIND(api, MsiRecordGetStringW);
    BIND(api, MsiRecordGetInteger);
    BIND(api, MsiRecordSetStringW);
    BIND(api, MsiRecordSetInteger);
    BIND(api, MsiRecordSetStreamW);
    BIND(api, MsiRecordReadStream);
    BIND(api, MsiRecordDataSize);
    BIND(api, MsiGetSummaryInformationW);
    BIND(api, MsiSummaryInfoGetPropertyW);
    BIND(api, MsiSummaryInfoSetPropertyW);
    BIND(api, MsiSummaryInfoPersist);
    BIND(api, MsiGetLastErrorRecord);
    BIND(api, MsiFormatRecordW);
    return api;
}

CabinetApi LoadCabinet() {
    CabinetApi api;
    HMODULE module = LoadSystemLibrary(L"cabinet.dll");
    BIND(api, FDICreate);
    BIND(api, FDICopy);
    BIND(api, FDIDestroy);
    BIND(api, FDIIsCabinet);
    BIND(api, FCICreate);
    BIND(api, FCIAddFile);
    BIND(api, FCIFlushCabinet);
    BIND(api, FCIFlushFolder);
    BIND(api, FCIDestroy);
    return api;
}
Crypt32Api LoadCrypt32() {
    Crypt32Api api;
    HMODULE module = LoadSystemLibrary(L"crypt32.dll");
    BIND(api, CryptBinaryToStringW);
    BIND(api, CryptStringToBinaryW);
    return api;
}
VersionApi LoadVersion() {
    VersionApi api;
    HMODULE module = LoadSystemLibrary(L"version.dll");
    BIND(api, GetFileVersionInfoSizeW);
    BIND(api, GetFileVersionInfoW);
    BIND(api, VerQueryValueW);
    return api;
}
#undef BIND

}  // namespace

HMODULE LoadSystemLibrary(const wchar_t* fileName) {
    wchar_t folder[MAX_PATH];
    UINT length = ::GetSystemDirectoryW(folder, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) return nullptr;
    std::wstring path(folder, length);
    path += L'\\';
    path += fileName;
    return ::LoadLibraryExW(path.c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
}

MsiApi& Msi() {
    static MsiApi api = LoadMsi();
    return api;
}

CabinetApi& Cabinet() {
    static CabinetApi api = LoadCabinet();
    return api;
}

VersionApi& Version() {
    static VersionApi api = LoadVersion();
    return api;
}

Crypt32Api& Crypt32() {
    static Crypt32Api api = LoadCrypt32();
    return api;
}

}  // namespace fw
