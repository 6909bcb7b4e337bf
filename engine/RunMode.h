// What a run does, decided once from its switches and whether the main
// product is installed: the one precedence extract > repair > uninstall >
// modify > install.
#pragma once

enum class RunMode { Install, Modify, Repair, Uninstall, Extract };

// The run's mode switches as the command line gave them (/u, /f, /x).
struct RunSwitches {
    bool extract = false;
    bool repair = false;
    bool uninstall = false;
};

// The maintenance the pages name: repair, else uninstall, else modify when
// the main product is installed, else install. An extraction is named by
// the maintenance it would otherwise be.
RunMode DecideMaintenance(bool repair, bool uninstall, bool mainInstalled);
// The work the run does: an extraction outranks every maintenance.
RunMode WithExtraction(bool extract, RunMode maintenance);
RunMode DecideRunMode(const RunSwitches& switches, bool mainInstalled);
