// Carries an operation plan out through the effects: the calls in order,
// each failure as the plan says, and the one result of the run: the first
// failure, else the strongest restart a call asked for (1641 over 3010),
// else success.
#pragma once

#include <windows.h>

#include "engine/InstallerEffects.h"
#include "engine/OperationPlan.h"

// notInstalled plans make no call; the caller reports them.
DWORD ApplyPlan(const OperationPlan& plan, InstallerEffects& effects);
