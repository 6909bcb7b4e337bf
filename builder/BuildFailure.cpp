#include "builder/BuildFailure.h"

#include "framework/Text.h"
#include "icbs/SystemErrorText.h"

std::wstring ErrorReason(DWORD error) {
    std::wstring text = fw::Trim(SystemErrorText(error), L" \t\r\n.");
    return text.empty() ? fw::Format(L"error %u", static_cast<unsigned>(error)) : text;
}

bool Fail(BuildError& error, const std::wstring& file, const std::wstring& reason) {
    error = {file, reason};
    return false;
}
