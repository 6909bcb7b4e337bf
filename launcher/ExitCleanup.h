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
// folder, itself and its own (then empty) scriptFolder. Paths are quoted
// and their percent signs doubled, so the command interpreter takes each as
// one literal path. Lines end in CR LF.
std::wstring SelfDeleteScriptText(const std::wstring& folder, const std::wstring& lock, const std::wstring& system,
                                  const std::wstring& scriptFolder);

// Where the script's folder is made: the Windows folder's Temp.
std::wstring SelfDeleteScriptParent();
// The script folder's name: this prefix and a new UUID.
constexpr const wchar_t* kSelfDeleteFolderPrefix = L"MorvexSetup-";

// Makes a new script folder, of a name nobody can know beforehand, with the
// protected list from its first moment, creates "SelfDelete.lock" in it and
// holds it open for the rest of the process, writes "SelfDelete.bat" beside
// it in the ANSI code page and starts it with the system's command
// interpreter, without waiting. Returns the script folder; empty when the
// script could not be written or started.
std::wstring StartSelfDeleteScript(const std::wstring& folderToRemove);
