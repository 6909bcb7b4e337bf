// The option classes the launcher knows, as prototypes in their fixed order.
#pragma once

#include "options/SetupOptions.h"

OptionList CreateBuiltInOptions();
