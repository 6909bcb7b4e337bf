// The system's message text for a Windows error code.
#pragma once

#include <windows.h>

#include <string>

// The message table text for error (as the system words it, line end
// included); empty when error is 0 or the system has no text for it.
std::wstring SystemErrorText(DWORD error);
