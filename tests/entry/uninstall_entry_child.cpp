// Runs one step of a bundle's uninstall entry as the launcher does: with an
// application object built from this program's own module (its file held
// open from the start), the Windows version this process reports, and a
// package described on the command line.
//   uninstall_entry_child.exe STEP PRODUCT_CODE IS64 MSI_FOLDER NAME LOG
// Exit code 0 after the step, 2 on a wrong command line.
#include <windows.h>

#include <string>

#include "catalogue/SetupPackage.h"
#include "execution/CustomInstallerRegistry.h"
#include "launcher/SetupApp.h"

int wmain(int argc, wchar_t** argv) {
    if (argc != 7) return 2;
    CSetupApp app(L"setup.exe /L*v \"" + std::wstring(argv[6]) + L"\"");
    PackageRecord fields;
    fields.productCode = argv[2];
    fields.is64 = std::wstring(argv[3]) == L"1";
    fields.name = argv[5];
    fields.isMain = true;
    SetupPackage package(std::move(fields), app.DetectionContextFor(true));
    package.msiFolder = argv[4];
    CustomInstallerRegistry(_wtoi(argv[1]), package, app);
    return 0;
}
