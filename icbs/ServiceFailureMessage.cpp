#include "icbs/ServiceFailureMessage.h"

#include "framework/Text.h"
#include "icbs/SystemErrorText.h"

DWORD ServiceExitCode(DWORD win32ExitCode, DWORD specificExitCode) {
    return win32ExitCode == ERROR_SERVICE_SPECIFIC_ERROR ? specificExitCode : win32ExitCode;
}

std::wstring ServiceFailureMessage(DWORD win32ExitCode, DWORD specificExitCode, DWORD lastError,
                                   const std::wstring& fallback) {
    DWORD code = ServiceExitCode(win32ExitCode, specificExitCode);
    if (code != 0) return fw::Format(L"Service returned error code %d.", static_cast<int>(code));
    // A pending error without a system text still needs a message.
    std::wstring text = SystemErrorText(lastError);
    return text.empty() ? fallback : text;
}
