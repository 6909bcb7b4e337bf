// Name patterns that number a file: the text around exactly one integer
// conversion ("QTX_CAB%x.tmp", "backup%03d.bak").
#pragma once

#include <string>

namespace icbs {

// True when pattern holds exactly one integer conversion (%d, %i, %u, %x,
// %X or %o with optional flags, width and precision) and otherwise only
// "%%". Anything else could read arguments that are not there.
bool IsCounterPattern(const std::wstring& pattern);

}  // namespace icbs
