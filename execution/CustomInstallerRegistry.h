// The uninstall entry of a bundle (a catalogue of two or more packages): the
// main product's entry in the list of installed programs is pointed at a
// copy of the launcher kept in the package's folder, so that changing or
// removing the product always goes through the launcher, which handles the
// sub-packages. Around an uninstall the entry is turned back into a plain
// Windows Installer entry, and launcher-owned again when the uninstall
// fails. On Windows older than 6.1 the installer's product key is changed
// along with it.
#pragma once

#include <windows.h>

#include <string>

class RunSession;
class SetupPackage;

enum CustomInstallerStep : int {
    kPerformCustomInstaller = 0,              // after a successful install: new launcher copy, then redo
    kRedoCustomInstaller = 1,                 // after a modify or repair
    kPrepareRemoveCustomInstaller = 2,        // before an uninstall
    kRollBackPrepareRemoveCustomInstaller = 3 // after a failed uninstall
};

// What the steps take from the running launcher and the system.
struct CustomInstallerFacts {
    HANDLE launcherFile = INVALID_HANDLE_VALUE;  // the running launcher, held open since start-up
    std::wstring launcherPath;                   // its path; the copy takes its file name
    std::wstring languageArgument;               // " lang=German", or empty without a chosen language
    bool oldSystem = false;                      // Windows older than 6.1
};

// Runs the step for the package with the facts of the running launcher:
// its module path, the file it holds open, the chosen language (a language
// is chosen in a multi-language installer) and the running Windows version.
// No result: failures are silent apart from the log lines, and nothing
// thrown inside leaves the routine.
void CustomInstallerRegistry(int step, const SetupPackage& package, RunSession& session);

// The same with the facts given. Any step code other than 0 to 3 does
// nothing.
void CustomInstallerRegistry(int step, const SetupPackage& package, const CustomInstallerFacts& facts);
