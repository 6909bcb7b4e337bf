// The checks that run before any package is touched: Windows version,
// Direct2D, single instance, group membership; and the naming of Windows
// versions in their texts.
#pragma once

#include <windows.h>

#include <string>

struct WindowsFacts {
    DWORD major = 0;
    DWORD minor = 0;
    WORD spMajor = 0;
    WORD spMinor = 0;
    WORD build = 0;
    BYTE productType = VER_NT_WORKSTATION;
    WORD suiteMask = 0;
    bool nativeAmd64 = false;
    bool serverR2 = false;
};

// The running system, from GetVersionExW, GetNativeSystemInfo and
// GetSystemMetrics(SM_SERVERR2).
WindowsFacts QueryRunningWindows();

// The display name of a Windows version; nativeAmd64 and serverR2 only
// matter for version 5.2.
std::wstring WindowsName(DWORD major, DWORD minor, WORD spMajor, WORD spMinor, DWORD build, BYTE productType,
                         WORD suiteMask, bool nativeAmd64 = false, bool serverR2 = false);

// The OS requirement of the catalogue: "major.minor.sp.sp4[/restriction]",
// with the aliases WinNT (4.0) and WinXP (5.1.2).
struct OsRequirement {
    DWORD major = 0;
    DWORD minor = 0;
    DWORD spMajor = 0;
    DWORD spMinor = 0;
    std::wstring restriction;
    bool hasRestriction = false;
};
OsRequirement ParseOsRequirement(const std::wstring& text);

// The welcome text chosen by the requirement; 35 when none is specific.
int WelcomeTextIdFor(const OsRequirement& required);

// Running major, minor and service pack compared with the requirement.
bool MeetsRequirement(const WindowsFacts& running, const OsRequirement& required);

bool HasDirect2D();

// Creates the single-instance mutex (never closed: it lives as long as the
// process); true when another launcher holds it or it cannot be created.
bool IsAnotherInstanceRunning(DWORD osMajor);

bool IsAdminOrPowerUser();
