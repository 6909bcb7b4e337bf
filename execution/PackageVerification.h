// What /v checks of the packages themselves, beyond the resources being
// there: each package's cabinet matches its recorded SHA-256 (where one is
// recorded), unpacks, holds one database, and carries every external
// cabinet that the database's Media table names (those are unpacked beside
// the database, where Windows Installer reads them).
#pragma once

#include <windows.h>

#include <string>
#include <vector>

// The Media table's external cabinets (Cabinet values not starting with
// "#") of a database; empty when it has none or cannot be read.
std::vector<std::wstring> ExternalCabinetsOf(const std::wstring& database);

// Packages PACKAGE_0 .. PACKAGE_<count - 1> of module; false (logged) at the
// first that fails. Unpacks each into a scratch folder that is removed.
bool VerifyPackagePayloads(HMODULE module, int count);
