// One Windows service, named by its service name: its configuration as
// Windows keeps it (account, start type, delayed start, display name,
// command line, description), its state, and the operations that create or
// reconfigure, start, stop and delete it. Operations with a message output
// clear it first and, on failure, fill it with a text for the user.
#pragma once

#include <windows.h>

#include <string>

#include "framework/Handles.h"

class WindowsService {
public:
    // Opens the service control manager and the service, and reads the
    // service's configuration when it is installed.
    explicit WindowsService(const std::wstring& serviceName);
    WindowsService(const WindowsService&) = delete;
    WindowsService& operator=(const WindowsService&) = delete;

    bool Exists() const { return static_cast<bool>(service_); }
    // The current state (SERVICE_STOPPED, SERVICE_RUNNING, ...), 0 when it
    // cannot be queried.
    DWORD GetState() const;

    const wchar_t* GetStartTypeName() const;
    bool SetStartTypeName(const std::wstring& text);
    // Values above SERVICE_DISABLED give automatic start and false.
    bool SetStartType(DWORD value);
    // The path is kept in double quotes; the command line becomes the quoted
    // path, followed by a blank and the arguments when there are any.
    void SetExecutable(const std::wstring& path);
    void SetExecutable(const std::wstring& path, const std::wstring& arguments);
    void SetDisplayName(const std::wstring& text) { displayName_ = text; }
    void SetDescription(const std::wstring& text) { description_ = text; }
    void SetAccount(const std::wstring& text) { account_ = text; }
    void SetPassword(const std::wstring& text) { password_ = text; }

    const std::wstring& ServiceName() const { return serviceName_; }
    const std::wstring& DisplayName() const { return displayName_; }
    const std::wstring& Description() const { return description_; }
    DWORD StartType() const { return startType_; }
    bool DelayedAutoStart() const { return delayedAutoStart_; }
    const std::wstring& ExecutablePath() const { return executablePath_; }
    const std::wstring& CommandLine() const { return commandLine_; }
    const std::wstring& Account() const { return account_; }
    const std::wstring& ReportedAccount() const { return reportedAccount_; }

    // Creates the service, or stops and reconfigures the installed one.
    bool Apply(std::wstring& message);
    // Starts the service and waits up to 30 seconds for it to run.
    bool Start(std::wstring& message);
    // Stops the service and waits up to 120 seconds for it to stop; a
    // service that is not installed or not running counts as stopped.
    bool Stop(std::wstring& message);
    // While the service is stopping, waits up to 120 seconds for the end;
    // false when it did not end stopped.
    bool WaitUntilStopped();
    // Stops and deletes the service; one that is not installed counts as
    // deleted. A deleted service no longer exists for this object.
    bool Delete(std::wstring& message);

private:
    void ReadConfiguration();
    bool SetOptionalConfiguration(std::wstring& message);

    fw::ServiceHandle manager_;
    fw::ServiceHandle service_;
    DWORD managerError_ = 0;  // why the manager could not be opened

    std::wstring serviceName_;
    std::wstring displayName_;
    std::wstring description_;
    DWORD startType_ = 0;
    bool delayedAutoStart_ = false;
    std::wstring executablePath_;
    std::wstring commandLine_;
    std::wstring account_;
    std::wstring reportedAccount_;
    std::wstring password_;
};
