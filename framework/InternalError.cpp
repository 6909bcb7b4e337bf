#include "framework/InternalError.h"

#include <exception>
#include <stdexcept>

#include "framework/Application.h"
#include "framework/Text.h"

namespace fw {

std::wstring CurrentExceptionText() noexcept {
    try {
        throw;
    } catch (const std::exception& error) {
        try {
            return FromCodePage(error.what(), CP_ACP);
        } catch (...) {
            return L"standard exception";
        }
    } catch (...) {
        return L"unknown exception";
    }
}

void ReportInternalError(const wchar_t* place) noexcept {
    try {
        std::wstring what = CurrentExceptionText();
        if (CWinAppBase* app = CWinAppBase::Current()) app->OnInternalError(place ? place : L"", what);
    } catch (...) {
        // Nothing more can be done here.
    }
}

}  // namespace fw
