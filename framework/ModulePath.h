// The running program's own file.
#pragma once

#include <string>

namespace fw {

// The full path of the process's executable, however long; empty when
// Windows cannot tell.
std::wstring RunningModulePath();

}  // namespace fw
