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

// Makes the folder of an installed package safe for an elevated process to
// take from and write into, by handle: an existing folder gets owner
// Administrators and the protected access list (Administrators and SYSTEM
// full control, Users read and execute, nothing inherited); inside it,
// links and files with further hard links are removed, and every other
// entry gets owner Administrators and only the folder's inherited entries.
// With create, a link or a file in its place is removed (a link as a link,
// never followed) and a missing folder is created with that list. True when
// the folder exists with the list afterwards.
bool SecurePackageFolder(const std::wstring& folder, bool create);

// Removes everything inside folder (links as links, never followed; each
// entry opened relative to its folder's handle) except the file keep (a
// full path; empty for none) and keeps the folder itself. True when nothing
// else is left.
bool EmptyPackageFolder(const std::wstring& folder, const std::wstring& keep = std::wstring());

// Moves whatever is at folder (which anyone may have made or filled) into a
// new protected folder of a name nobody can know, beside it, and removes it
// there by handle; a link or a file in its place is removed as it is. True
// when nothing is at folder afterwards, also when it was never there.
bool SetAsideFolder(const std::wstring& folder);

// The folder for a fresh unpacking: whatever is there is set aside, and the
// folder is made anew with the protected list. Where it cannot be moved
// (keep, the running launcher's own file, is in it) it is secured and
// emptied in place, keeping that file.
bool RenewPackageFolder(const std::wstring& folder, const std::wstring& keep);

// A package folder that is missing is made with the protected list (a link
// or a file in its place goes); one that is there is left as it is. True
// when a folder is there afterwards. Every folder the launcher makes below
// the base folder is made so, never by a copy that makes its target's
// folder.
bool EnsureProtectedFolder(const std::wstring& folder);

// Creates folder with the protected list from its first moment; fails when
// anything is already there.
bool CreateProtectedFolder(const std::wstring& folder);

// Removes a link to a folder without touching what it points to.
bool RemoveFolderLink(const std::wstring& path);
