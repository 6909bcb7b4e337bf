#include "execution/InstallerUiHandler.h"

#include "framework/InternalError.h"
#include "framework/MessageBox.h"
#include "framework/SystemApi.h"

namespace {

constexpr DWORD kMessageFilter =
    INSTALLLOGMODE_FATALEXIT | INSTALLLOGMODE_ERROR | INSTALLLOGMODE_WARNING | INSTALLLOGMODE_USER;

}  // namespace

int HandleInstallerMessage(UINT messageType, const wchar_t* message, bool unattended) {
    if ((messageType & 0xFF000000u) != INSTALLMESSAGE_USER || unattended) return 0;
    return fw::ShowMessageBox(false, message ? message : L"", messageType & 0x00FFFFFFu);
}

// The scope is the handler's context: it outlives the installer call.
INT CALLBACK ExternalUiHandlerScope::Handler(LPVOID scope, UINT messageType, LPCWSTR message) {
    try {
        return HandleInstallerMessage(messageType, message, static_cast<ExternalUiHandlerScope*>(scope)->unattended_);
    } catch (...) {
        fw::ReportInternalError(L"the installer's message handler");
        return IDABORT;
    }
}

ExternalUiHandlerScope::ExternalUiHandlerScope(bool unattended)
    : unattended_(unattended), previous_(fw::Msi().MsiSetExternalUIW(Handler, kMessageFilter, this)) {}

ExternalUiHandlerScope::~ExternalUiHandlerScope() { fw::Msi().MsiSetExternalUIW(previous_, 0, nullptr); }
