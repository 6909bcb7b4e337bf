// Console output of a GUI program: the parent's console when there is one,
// otherwise the inherited standard output (a pipe or a file), so that
// deployment tools and "setup.exe /? > help.txt" capture the text.
#pragma once

#include <string>

namespace fw {

// Attaches to the parent process's console (once per process).
void AttachParentConsole();

// Writes text to the console with WriteConsoleW; when that fails, writes it
// to the standard output handle in the console's (or else the OEM) code page.
void WriteConsoleText(const std::wstring& text);

}  // namespace fw
