#include "icbs/ServiceStartType.h"

#include "framework/Text.h"

const wchar_t* StartTypeName(DWORD startType, bool delayed) {
    if (startType == SERVICE_AUTO_START) return delayed ? L"auto-delayed" : L"auto";
    if (startType == SERVICE_DEMAND_START) return L"demand";
    return L"disabled";
}

bool ParseStartTypeName(const std::wstring& text, DWORD& startType, bool& delayed) {
    if (fw::EqualsNoCase(text, L"auto")) {
        startType = SERVICE_AUTO_START;
        delayed = false;
    } else if (fw::EqualsNoCase(text, L"auto-delayed")) {
        startType = SERVICE_AUTO_START;
        delayed = true;
    } else if (fw::EqualsNoCase(text, L"demand")) {
        startType = SERVICE_DEMAND_START;
    } else if (fw::EqualsNoCase(text, L"disabled")) {
        startType = SERVICE_DISABLED;
    } else {
        startType = SERVICE_DISABLED;
        return false;
    }
    return true;
}
