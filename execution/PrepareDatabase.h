// The step before every Windows Installer call that works from a package
// database (install, modify, uninstall and their rollbacks; not repair):
// sets the installer's user-interface level, applies the command-line
// transforms to the package's database and hands the log file over to the
// installer. The caller takes the log back (ReopenLog) after the call.
#pragma once

class SetupPackage;

// Reads the user-interface level and the "TRANSFORMS=" text from the
// command line of the package's application (the current one when the
// package has no owner). Each call applies the command-line list once to
// this package's database.
void PrepareDatabase(const SetupPackage& package);
