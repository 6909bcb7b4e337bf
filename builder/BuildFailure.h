// How the builder's steps report a failure: the file and a one-line reason.
#pragma once

#include <windows.h>

#include <string>

#include "builder/BuildDescription.h"

// The system's text for an error code, without its final period, or
// "error N" where the system has none.
std::wstring ErrorReason(DWORD error);

// Records the failure and returns false, for `return Fail(...)`.
bool Fail(BuildError& error, const std::wstring& file, const std::wstring& reason);
