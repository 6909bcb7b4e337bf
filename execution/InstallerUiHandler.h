// The external user-interface handler around a Windows Installer call: the
// package's user messages appear in the launcher's message box; everything
// else Windows Installer shows itself.
#pragma once

#include <windows.h>
#include <msi.h>

// The box answer for an INSTALLMESSAGE_USER message; 0 (let Windows
// Installer handle it) for every other message, and in a run without the
// full wizard, where nobody could answer.
int HandleInstallerMessage(UINT messageType, const wchar_t* message, bool unattended);

// Installs the handler for its lifetime and puts the previous one back;
// unattended: the run shows no boxes (HandleInstallerMessage).
class ExternalUiHandlerScope {
public:
    explicit ExternalUiHandlerScope(bool unattended);
    ~ExternalUiHandlerScope();
    ExternalUiHandlerScope(const ExternalUiHandlerScope&) = delete;
    ExternalUiHandlerScope& operator=(const ExternalUiHandlerScope&) = delete;

private:
    static INT CALLBACK Handler(LPVOID scope, UINT messageType, LPCWSTR message);

    bool unattended_;
    INSTALLUI_HANDLERW previous_ = nullptr;
};
