// What the detection found out about one package on this machine, and the
// part of the run it depends on.
#pragma once

#include <string>

struct PackageState {
    // Windows Installer has the product code registered, by any package.
    bool isInstalled = false;
    // Registered by a package other than this installer's (another package
    // code): the product counts as not installed by this installer.
    bool fromOtherInstaller = false;
    // Takes part in the run unless the user or the command line says else.
    bool selected = true;

    // Installed, and by this installer's package.
    bool InstalledHere() const { return isInstalled && !fromOtherInstaller; }
};

// What a package's detection needs to know about the run besides the
// package itself.
struct DetectionContext {
    bool extractAll = false;     // /u
    bool repair = false;         // /f
    bool uninstall = false;      // /x
    bool mainInstalled = false;  // the main package installed here (for sub-packages)
    std::wstring language;       // two-letter code of the current language
};
