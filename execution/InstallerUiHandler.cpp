#include "execution/InstallerUiHandler.h"

#include "framework/InternalError.h"
#include "framework/MessageBox.h"
#include "framework/SystemApi.h"
#include "launcher/SetupApp.h"

namespace {

constexpr DWORD kMessageFilter =
    INSTALLLOGMODE_FATALEXIT | INSTALLLOGMODE_ERROR | INSTALLLOGMODE_WARNING | INSTALLLOGMODE_USER;

INT CALLBACK ExternalHandler(LPVOID, UINT messageType, LPCWSTR message) {
    try {
        CSetupApp* app = CSetupApp::Current();
        return HandleInstallerMessage(messageType, message, app ? app->NoBoxes() : true);
    } catch (...) {
        fw::ReportInternalError(L"the installer's message handler");
        return IDABORT;
    }
}

}  // namespace

int HandleInstallerMessage(UINT messageType, const wchar_t* message, bool unattended) {
    if ((messageType & 0xFF000000u) != INSTALLMESSAGE_USER || unattended) return 0;
    return fw::ShowMessageBox(false, message ? message : L"", messageType & 0x00FFFFFFu);
}

ExternalUiHandlerScope::ExternalUiHandlerScope()
    : previous_(fw::Msi().MsiSetExternalUIW(ExternalHandler, kMessageFilter, nullptr)) {}

ExternalUiHandlerScope::~ExternalUiHandlerScope() { fw::Msi().MsiSetExternalUIW(previous_, 0, nullptr); }
