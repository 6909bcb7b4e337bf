#include "engine/Outcome.h"

#include "framework/Handles.h"
#include "framework/Text.h"

namespace outcome {
namespace {

struct CodeRow {
    DWORD code;
    const wchar_t* text;
    UINT box;
};

constexpr CodeRow kCodes[] = {
    {kCorrupted, L"Installer is corrupted.", 6},
    {kFailed, L"Installation failed.", 0},
    {kCancelled, L"User cancelled installation.", 0},
    {kIncompatibleWindows, L"Incompatible Windows Version", 25},
    {kNoDirect2D, L"Direct 2D not found", 67},
    {kAlreadyRunning, L"Another installer was already running.", 27},
    {kNoAdminRights, L"Installation requires admin rights.", 18},
    {kOtherVersionInstalled, L"", 24},
    {kNoMsiFile, L"Could not find MSI-file", 60},
    {k64BitOn32Bit, L"Installing a 64-bit product on a 32-bit system", 64},
    {kDiskFull, L"Your disk is full.", 1130},
    {kCatalogueBroken, L"", 1146},
    {kInvalidCommandLine, L"Invalid command line.", 0},
    {ERROR_INSTALL_PACKAGE_INVALID, L"Installer is corrupted.", 6},  // 1620: a damaged package
    {ERROR_INSTALL_PACKAGE_REJECTED, L"", 26},    // 1625
    {ERROR_INSTALL_PLATFORM_UNSUPPORTED, L"", 63}  // 1633
};

const CodeRow* Find(DWORD code) {
    for (const CodeRow& row : kCodes)
        if (row.code == code) return &row;
    return nullptr;
}

}  // namespace

bool IsSuccessWithRestart(DWORD code) {
    return code == ERROR_SUCCESS_REBOOT_REQUIRED || code == ERROR_SUCCESS_REBOOT_INITIATED;
}

bool IsSuccess(DWORD code) { return code == 0 || IsSuccessWithRestart(code); }

DWORD ForInstallerResult(DWORD result) {
    if (IsSuccess(result)) return kSuccess;
    switch (result) {
        case ERROR_INSTALL_USEREXIT: return kCancelled;
        case ERROR_INSTALL_PACKAGE_INVALID: return kCorrupted;
        case ERROR_INSTALL_PLATFORM_UNSUPPORTED: return k64BitOn32Bit;
        case ERROR_PRODUCT_VERSION: return kOtherVersionInstalled;
        default: return kFailed;
    }
}

DWORD ExitCode(const SetupOutcome& value) { return value.installerResult != 0 ? value.installerResult : value.code; }

const wchar_t* CodeText(DWORD code) {
    const CodeRow* row = Find(code);
    return row ? row->text : L"";
}

UINT BoxStringId(DWORD code) {
    const CodeRow* row = Find(code);
    return row ? row->box : 0;
}

std::wstring OutcomeText(const SetupOutcome& value) {
    std::wstring base = CodeText(value.code);
    if (value.systemError == 0) return base;
    wchar_t* buffer = nullptr;
    DWORD length = ::FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM |
                                        FORMAT_MESSAGE_IGNORE_INSERTS,
                                    nullptr, value.systemError, MAKELANGID(LANG_NEUTRAL, SUBLANG_DEFAULT),
                                    reinterpret_cast<wchar_t*>(&buffer), 0, nullptr);
    fw::LocalMemory owner(buffer);
    if (length == 0 || buffer == nullptr) return base;
    std::wstring message(buffer, length);
    return fw::Format(L"%s (%d - %s)", base.c_str(), static_cast<int>(value.systemError), message.c_str());
}

}  // namespace outcome
