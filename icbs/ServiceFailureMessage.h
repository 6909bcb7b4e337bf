// The message for a service that did not reach the state it was asked for:
// the exit code it reported, else the pending Windows error, else a fixed
// text.
#pragma once

#include <windows.h>

#include <string>

// The code a service reported on stopping: its specific exit code when the
// general one is ERROR_SERVICE_SPECIFIC_ERROR, otherwise the general one.
DWORD ServiceExitCode(DWORD win32ExitCode, DWORD specificExitCode);

// win32ExitCode and specificExitCode are the service's reported exit codes
// (the specific one counts when the first is ERROR_SERVICE_SPECIFIC_ERROR);
// lastError is the thread's pending error, 0 when none; fallback is the text
// for a failure without any code ("Service start-up failed.", ...).
std::wstring ServiceFailureMessage(DWORD win32ExitCode, DWORD specificExitCode, DWORD lastError,
                                   const std::wstring& fallback);
