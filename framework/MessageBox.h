// Message boxes that respect the launcher's silent mode.
#pragma once

#include <windows.h>

#include <string>

namespace fw {

// Shows text with the application's name as caption; a silent run shows
// nothing and answers IDOK.
int ShowMessageBox(bool silent, const std::wstring& text, UINT type);

}  // namespace fw
