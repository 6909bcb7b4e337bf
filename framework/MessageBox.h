// Message boxes that never wait in an unattended run.
#pragma once

#include <windows.h>

#include <string>

namespace fw {

// Shows text with the application's name as caption; an unattended run shows
// nothing and answers IDOK.
int ShowMessageBox(bool unattended, const std::wstring& text, UINT type);

}  // namespace fw
