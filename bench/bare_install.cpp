// The bare way to install a package carried as the launcher carries it:
// unpack the cabinet of this program's own type-40 resource into a folder
// (exactly as bench_bare_fdicopy does), then MsiInstallProductW on the one
// database found there, with no user interface and no properties.
//   bench_bare_install.exe RESOURCE TARGET_FOLDER
// The exit code is the Windows Installer result (0 installed); the program's
// own failures (usage, missing resource, unpacking, no database) exit with 2
// to 5 and say so on the error output.
#include <windows.h>
#include <msi.h>

#include <cstdio>
#include <string>

#include "bare_cabinet.h"

namespace {

// The one "*.msi" file in FOLDER; empty when there are none or several.
std::wstring OnlyDatabaseIn(const std::wstring& folder) {
    WIN32_FIND_DATAW found;
    HANDLE search = ::FindFirstFileW((folder + L"\\*.msi").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return {};
    std::wstring path = folder + L"\\" + found.cFileName;
    bool several = ::FindNextFileW(search, &found) != FALSE;
    ::FindClose(search);
    return several ? std::wstring() : path;
}

int Fail(int code, const char* what) {
    std::fprintf(stderr, "bench_bare_install: %s\n", what);
    return code;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc < 3) return Fail(2, "usage: bench_bare_install.exe RESOURCE TARGET_FOLDER");
    bare::CabinetSource cabinet = bare::OwnCabinet(argv[1]);
    if (!cabinet.data) return Fail(3, "no such package resource");
    std::wstring folder = argv[2];
    ::CreateDirectoryW(folder.c_str(), nullptr);
    if (!bare::UnpackCabinet(cabinet, folder.c_str())) return Fail(4, "unpacking failed");
    std::wstring database = OnlyDatabaseIn(folder);
    if (database.empty()) return Fail(5, "not exactly one database after unpacking");
    ::MsiSetInternalUI(INSTALLUILEVEL_NONE, nullptr);
    UINT result = ::MsiInstallProductW(database.c_str(), L"");
    if (result != ERROR_SUCCESS) std::fprintf(stderr, "bench_bare_install: MsiInstallProductW answered %u\n", result);
    return static_cast<int>(result);
}
