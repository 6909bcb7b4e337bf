// The folders packages are unpacked into: the launcher-wide base folder under
// the common application data folder, and in it one folder per package code.
// The base folder is open to everyone (server products keep data beneath
// it); each package folder is not: an elevated process later runs what it
// holds, so only administrators may change it.
#pragma once

#include <string>

#include "framework/Handles.h"

// The common application data folder + "\Morvex", created on first use and
// given BaseFolderDescriptor's owner and list unless it has them already. A
// link found in its place is removed, never granted through.
const std::wstring& LauncherBaseFolder();
// What the base folder carries: owned by Administrators; Everyone may list
// it and create files and folders in it, but not delete or rename what is
// there (a package folder others could move away and replace), and has full
// control of everything below it (server products keep data there).
fw::LocalMemory BaseFolderDescriptor();

// True when name can be a folder of its own below the base folder: not
// empty, not "." or "..", and free of separators and wildcard characters.
bool IsUsableFolderName(const std::wstring& name);
// base + "\" + packageCode; empty when the code cannot name a folder.
std::wstring MsiFolderFor(const std::wstring& packageCode);
// The only "*.msi" file in folder; empty with none or several.
std::wstring SingleMsiFile(const std::wstring& folder);

// Makes folder safe for an elevated process to take from and write into. A
// junction or other reparse point there is removed (never followed). An
// existing folder gets owner Administrators and the protected access list
// (Administrators and SYSTEM full control, Users read and execute, nothing
// inherited); inside it, links and files with further hard links are
// removed, and every other entry gets owner Administrators and only the
// folder's inherited entries. A missing folder is created with that list
// when create is set. True when the folder exists with the list afterwards.
bool SecurePackageFolder(const std::wstring& folder, bool create);

// Removes everything inside folder (links as links, never followed) except
// the file keep (a full path; empty for none) and keeps the folder itself.
// True when nothing else is left.
bool EmptyPackageFolder(const std::wstring& folder, const std::wstring& keep = std::wstring());

// Creates folder with the protected list from its first moment; fails when
// anything is already there.
bool CreateProtectedFolder(const std::wstring& folder);

// Removes a link to a folder without touching what it points to.
bool RemoveFolderLink(const std::wstring& path);
