// The custom action of the "results" fixture package: it ends the
// installation with the number given in the property CA_RESULT, as a
// package's own custom action does when it fails (1603) or when its user
// backs out (1602). Built with the tree's compiler, so that Windows
// Installer runs it in a custom-action server of the launcher's bitness.
#include <windows.h>
#include <msiquery.h>

#include <cwchar>

extern "C" __declspec(dllexport) UINT __stdcall ReturnRequested(MSIHANDLE install) {
    wchar_t value[16] = {};
    DWORD size = 16;
    if (::MsiGetPropertyW(install, L"CA_RESULT", value, &size) != ERROR_SUCCESS) return ERROR_SUCCESS;
    return static_cast<UINT>(std::wcstoul(value, nullptr, 10));
}
