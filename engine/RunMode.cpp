#include "engine/RunMode.h"

RunMode DecideMaintenance(bool repair, bool uninstall, bool mainInstalled) {
    if (repair) return RunMode::Repair;
    if (uninstall) return RunMode::Uninstall;
    return mainInstalled ? RunMode::Modify : RunMode::Install;
}

RunMode WithExtraction(bool extract, RunMode maintenance) { return extract ? RunMode::Extract : maintenance; }

RunMode DecideRunMode(const RunSwitches& switches, bool mainInstalled) {
    return WithExtraction(switches.extract, DecideMaintenance(switches.repair, switches.uninstall, mainInstalled));
}
