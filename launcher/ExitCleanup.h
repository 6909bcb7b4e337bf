// The clean-up at the end of a run: the unpack folders of packages that are
// not installed, and, after a bundle was uninstalled, a script that removes
// the main package's folder once the launcher has ended.
#pragma once

#include <windows.h>

#include <string>

#include "catalogue/SetupPackage.h"

// Deletes the msiFolder of every package that is not installed, with its
// contents; a link in a folder's place is removed without following it.
void DeleteMsiFolders(const PackageCatalogue& catalogue);

// A bundle (two or more packages) was uninstalled (/x) successfully.
bool NeedsSelfDeleteScript(size_t packageCount, bool uninstall, DWORD outcomeCode);

// The script: removes folder and then itself. The folder is quoted and its
// percent signs doubled, so the command interpreter takes it as one literal
// path.
std::wstring SelfDeleteScriptText(const std::wstring& folder);

// Where the script is written: a folder of its own below the Windows
// folder's Temp, which others may not rename or replace.
std::wstring SelfDeleteScriptFolder();

// Makes the script folder anew with the protected list (whatever was there
// is removed first, never followed), writes "SelfDelete.bat" into it in the
// ANSI code page and starts it with the system's command interpreter,
// without waiting. False when the script could not be written or started.
bool StartSelfDeleteScript(const std::wstring& folderToRemove);
