// High contrast: while it is on, the launcher's own surfaces take the
// system's window and text colours instead of their fixed white.
#pragma once

#include <windows.h>

namespace fw {

bool HighContrastOn();

}  // namespace fw
