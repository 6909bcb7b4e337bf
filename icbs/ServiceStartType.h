// The four words in which service start types are exchanged with users and
// configuration files: "auto", "auto-delayed", "demand", "disabled".
#pragma once

#include <windows.h>

#include <string>

// "auto" or "auto-delayed" for automatic start (by delayed), "demand" for
// start on demand, "disabled" for anything else.
const wchar_t* StartTypeName(DWORD startType, bool delayed);

// Reads a start-type word without regard to letter case. "auto" also clears
// delayed and "auto-delayed" sets it; "demand" and "disabled" leave delayed
// as it is. Any other word gives SERVICE_DISABLED and false.
bool ParseStartTypeName(const std::wstring& text, DWORD& startType, bool& delayed);
