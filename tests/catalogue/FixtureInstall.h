// Fixture packages installed with Wine's Windows Installer in the test's own
// prefix, their codes read from the databases themselves, and what a test
// needs to look at package folders and access lists.
#pragma once

#include <windows.h>

#include <string>

#include "catalogue/SetupPackage.h"

namespace statetest {

// build/fixtures/<name>.msi
std::wstring FixtureMsi(const std::wstring& name);

struct FixtureFacts {
    std::wstring name;         // ProductName
    std::wstring productCode;  // ProductCode
    std::wstring packageCode;  // summary information: revision number
    std::wstring version;      // ProductVersion
    std::wstring componentCode;  // ComponentId of the first component
};
FixtureFacts FactsOf(const std::wstring& msiPath);
// The catalogue fields a launcher with this database would carry.
PackageRecord FieldsOf(const FixtureFacts& facts, bool isMain, const std::wstring& productId = L"");

// Installs silently; the Windows Installer result.
UINT Install(const std::wstring& msiPath);
// Installs from a copy in a folder of its own (so that this folder becomes
// the registered install source); the copy's path.
std::wstring InstallFromCopy(const std::wstring& msiPath, const std::wstring& sourceFolder);
// Windows Installer's own view: the product is installed on this machine.
bool ProductInstalled(const std::wstring& productCode);
// The package code Windows Installer has registered for a product; empty
// when the product is not registered.
std::wstring RegisteredPackageCodeOf(const std::wstring& productCode);

// %ProgramData%\Morvex, and a package code's folder in it.
std::wstring ExpectedBaseFolder();
std::wstring ExpectedMsiFolder(const std::wstring& packageCode);

bool IsFolder(const std::wstring& path);
bool Exists(const std::wstring& path);
// A file with the given bytes, replacing one that is there.
void PutFile(const std::wstring& path, const std::string& bytes);


// Checks the protected package-folder list: owner Administrators, nothing
// inherited, Administrators and SYSTEM full control, Users read and execute,
// nobody else. Only on a system that keeps lists as given.
void ExpectProtectedList(const std::wstring& folder);
// What Wine shows of an access list it derived from Unix permissions: does
// Everyone have an allowed entry?
bool EveryoneAllowed(const std::wstring& path);

}  // namespace statetest
