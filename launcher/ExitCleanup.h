// The clean-up at the end of a run: the unpack folders of packages that are
// not installed, and, after a bundle was uninstalled, a script that removes
// the main package's folder once the launcher has ended.
#pragma once

#include <windows.h>

#include <string>

#include "catalogue/SetupPackage.h"

// Deletes the msiFolder of every package that is not installed, with its
// contents, except the folder leftToScript (the self-deleting script's); a
// link in a folder's place is removed without following it.
void DeleteMsiFolders(const PackageCatalogue& catalogue, const std::wstring& leftToScript = std::wstring());

// A bundle (two or more packages) was uninstalled (/x) successfully, also
// when the success asks for a restart (3010, 1641).
bool NeedsSelfDeleteScript(size_t packageCount, bool uninstall, DWORD outcomeCode);

// How often the script looks for the launcher's end, about a second apart,
// before it removes the folder all the same.
constexpr int kSelfDeleteWaitTries = 5;

// The script: waits until lock can be deleted (the launcher holds it open
// until its process has ended), at most kSelfDeleteWaitTries times with a
// pause of about a second by the system folder's ping.exe, then removes
// folder and itself. Paths are quoted and their percent signs doubled, so
// the command interpreter takes each as one literal path. Lines end in CR LF.
std::wstring SelfDeleteScriptText(const std::wstring& folder, const std::wstring& lock, const std::wstring& system);

// Where the script is written: a folder of its own below the Windows
// folder's Temp, which others may not rename or replace.
std::wstring SelfDeleteScriptFolder();

// Makes the script folder anew with the protected list (whatever was there
// is removed first, never followed), creates "SelfDelete.lock" in it and
// holds it open for the rest of the process, writes "SelfDelete.bat" beside
// it in the ANSI code page and starts it with the system's command
// interpreter, without waiting. False when the script could not be written
// or started. Once per process: the held lock stays in the folder.
bool StartSelfDeleteScript(const std::wstring& folderToRemove);
