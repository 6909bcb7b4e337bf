// The step before every Windows Installer call that works from a package
// database (install, modify, uninstall and their rollbacks; not repair):
// sets the installer's user-interface level, applies the command-line
// transforms to the package's database and hands the log file over to the
// installer. The caller takes the log back (ReopenLog) after the call.
#pragma once

#include <windows.h>

#include <string>

class SetupPackage;

// Sets the user-interface level and applies the command line's
// "TRANSFORMS=" list to this package's database unless it has been already
// (an installation checks them all before the first call; a database
// unpacked anew gets them again); a failure here is logged and left to the
// Windows Installer call.
void PrepareDatabase(SetupPackage& package, DWORD uiLevel, const std::wstring& transforms);
