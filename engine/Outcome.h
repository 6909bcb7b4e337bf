// The outcome of a run: the process exit code, the final "ERROR:" log line
// and the single error message box. Codes below 100 are the launcher's own,
// for its own checks and failures that no installer call produced; a run
// that ends on a Windows Installer result exits with that result unchanged.
#pragma once

#include <windows.h>

#include <string>

struct SetupOutcome {
    DWORD code = 0;         // chooses the log text and the message box
    DWORD systemError = 0;
    bool reported = true;
    // The Windows Installer result the run ended on, which is the exit code
    // as it is; 0 when the outcome is the launcher's own.
    DWORD installerResult = 0;
};

namespace outcome {

// The launcher's own codes.
enum : DWORD {
    kSuccess = 0,
    kCorrupted = 1,
    kFailed = 2,
    kCancelled = 3,
    kIncompatibleWindows = 4,
    kNoDirect2D = 5,
    kAlreadyRunning = 6,
    kNoAdminRights = 7,
    kOtherVersionInstalled = 8,
    kNoMsiFile = 9,
    k64BitOn32Bit = 10,
    kDiskFull = 11,
    kCatalogueBroken = 13,
};

// Windows Installer's own codes, given by the launcher where it answers in
// Windows Installer's place, as msiexec would.
enum : DWORD {
    kProductNotInstalled = ERROR_UNKNOWN_PRODUCT,            // 1605: /x or /f of a product not installed
    kPackageDamaged = ERROR_INSTALL_PACKAGE_INVALID,         // 1620: a package that cannot be unpacked
    kTransformFailed = ERROR_INSTALL_TRANSFORM_FAILURE,      // 1624: a TRANSFORMS= transform does not apply
    kNewerVersionInstalled = ERROR_PRODUCT_VERSION,          // 1638: no quiet downgrade
    kInvalidCommandLine = ERROR_INVALID_COMMAND_LINE,        // 1639: a command line that cannot be read
};

// Log text of a code ("" when it has none).
const wchar_t* CodeText(DWORD code);
// String-table id of the message box of a code; 0 when it shows none.
UINT BoxStringId(DWORD code);
// Windows Installer's successes that ask for a restart: 3010 (restart
// required) and 1641 (restart started). A run ending with one of them is a
// success whose exit code is that code.
bool IsSuccessWithRestart(DWORD code);
// 0, 3010 or 1641.
bool IsSuccess(DWORD code);

// The code whose log text and message box report a Windows Installer
// result that is not a success: 1602 cancelled (3), 1620 corrupted (1),
// 1633 platform (10), 1638 other version (8), anything else failed (2). 0
// for a success, also one that asks for a restart. The exit code stays the
// result itself.
DWORD ForInstallerResult(DWORD result);

// The process exit code of an outcome: the Windows Installer result it
// stands for, else its code.
DWORD ExitCode(const SetupOutcome& value);

// The log text of an outcome: the code's text, followed by the system's
// message for systemError when there is one.
std::wstring OutcomeText(const SetupOutcome& value);

}  // namespace outcome
