// Removing a package's product with Windows Installer ("REMOVE=ALL "): with
// a given package database, with the one kept in the package's folder, or
// with the single database in the product's registered install source. The
// uninstall entry becomes a plain Windows Installer entry first, and the log
// is handed to the installer around the call.
#pragma once

#include <windows.h>

#include <string>

#include "catalogue/SetupPackage.h"

class RunSession;

// The Windows Installer result; success clears the package's isInstalled.
// session is the running launcher whose facts the uninstall entry's step
// takes; without one the entry is left as it is.
UINT UninstallWithDatabase(SetupPackage& package, const std::wstring& msiPath, DWORD uiLevel, RunSession* session);
// With the kept database when there is one, else from the install source.
UINT UninstallPackage(SetupPackage& package, DWORD uiLevel, RunSession* session);
// 9 (no MSI file) when the install source holds no single "*.msi".
UINT UninstallFromInstallSource(SetupPackage& package, DWORD uiLevel, RunSession* session);
