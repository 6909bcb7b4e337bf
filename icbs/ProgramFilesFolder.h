// The program files folder of a platform, as Windows records it, whatever
// the bitness of the process that asks.
#pragma once

#include <string>

// 64-bit: "ProgramFilesDir" of the 64-bit view. 32-bit: "ProgramFilesDir
// (x86)" of that view, or on a 32-bit Windows, which has only one folder,
// "ProgramFilesDir". No trailing backslash; empty when neither is recorded.
std::wstring ProgramFilesFolder(bool is64);
