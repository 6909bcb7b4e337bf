// Reading and writing a service's configuration.
#include "icbs/WindowsService.h"

#include <vector>

#include "icbs/ServiceLogon.h"
#include "icbs/ServiceStartType.h"
#include "icbs/SystemErrorText.h"

namespace {

// Rights of a service created here: enough to configure, start, stop, query
// and delete it.
constexpr DWORD kCreatedServiceAccess = STANDARD_RIGHTS_REQUIRED | SERVICE_QUERY_CONFIG | SERVICE_CHANGE_CONFIG |
                                        SERVICE_QUERY_STATUS | SERVICE_ENUMERATE_DEPENDENTS | SERVICE_START |
                                        SERVICE_STOP;

// Calls query(buffer, size, &needed) once to learn the size and, when Windows
// answers that the buffer is too small, again with a buffer of that size.
// Empty when either call fails.
template <class Query>
std::vector<BYTE> QueryWithSizeProbe(Query query) {
    DWORD needed = 0;
    if (query(nullptr, 0, &needed) || ::GetLastError() != ERROR_INSUFFICIENT_BUFFER || needed == 0) return {};
    std::vector<BYTE> buffer(needed);
    if (!query(buffer.data(), needed, &needed)) return {};
    return buffer;
}

std::wstring TextOrEmpty(const wchar_t* text) { return text ? std::wstring(text) : std::wstring(); }

const wchar_t* NullIfEmpty(const std::wstring& text) { return text.empty() ? nullptr : text.c_str(); }

}  // namespace

WindowsService::WindowsService(const std::wstring& serviceName) : serviceName_(serviceName) {
    manager_.reset(::OpenSCManagerW(nullptr, nullptr, SC_MANAGER_ALL_ACCESS));
    if (!manager_) {
        managerError_ = ::GetLastError();
        return;
    }
    service_.reset(::OpenServiceW(manager_.get(), serviceName_.c_str(), SERVICE_ALL_ACCESS));
    if (service_) ReadConfiguration();
}

void WindowsService::ReadConfiguration() {
    SC_HANDLE service = service_.get();
    std::vector<BYTE> config = QueryWithSizeProbe([service](BYTE* buffer, DWORD size, DWORD* needed) {
        return ::QueryServiceConfigW(service, reinterpret_cast<QUERY_SERVICE_CONFIGW*>(buffer), size, needed);
    });
    if (!config.empty()) {
        const auto* fields = reinterpret_cast<const QUERY_SERVICE_CONFIGW*>(config.data());
        startType_ = fields->dwStartType;
        displayName_ = TextOrEmpty(fields->lpDisplayName);
        commandLine_ = TextOrEmpty(fields->lpBinaryPathName);
        reportedAccount_ = TextOrEmpty(fields->lpServiceStartName);
        account_ = reportedAccount_.rfind(L".\\", 0) == 0 ? reportedAccount_.substr(2) : reportedAccount_;
    }

    auto readLevel = [service](DWORD level) {
        return QueryWithSizeProbe([service, level](BYTE* buffer, DWORD size, DWORD* needed) {
            return ::QueryServiceConfig2W(service, level, buffer, size, needed);
        });
    };
    std::vector<BYTE> delayed = readLevel(SERVICE_CONFIG_DELAYED_AUTO_START_INFO);
    if (!delayed.empty())
        delayedAutoStart_ = reinterpret_cast<const SERVICE_DELAYED_AUTO_START_INFO*>(delayed.data())->fDelayedAutostart;
    std::vector<BYTE> description = readLevel(SERVICE_CONFIG_DESCRIPTION);
    if (!description.empty())
        description_ = TextOrEmpty(reinterpret_cast<const SERVICE_DESCRIPTIONW*>(description.data())->lpDescription);
}

const wchar_t* WindowsService::GetStartTypeName() const { return StartTypeName(startType_, delayedAutoStart_); }

bool WindowsService::SetStartTypeName(const std::wstring& text) {
    return ParseStartTypeName(text, startType_, delayedAutoStart_);
}

bool WindowsService::SetStartType(DWORD value) {
    if (value > SERVICE_DISABLED) {
        startType_ = SERVICE_AUTO_START;
        return false;
    }
    startType_ = value;
    return true;
}

void WindowsService::SetExecutable(const std::wstring& path) { SetExecutable(path, std::wstring()); }

void WindowsService::SetExecutable(const std::wstring& path, const std::wstring& arguments) {
    executablePath_ = (!path.empty() && path.front() == L'"') ? path : L"\"" + path + L"\"";
    commandLine_ = executablePath_;
    if (!arguments.empty()) commandLine_ += L" " + arguments;
}

bool WindowsService::Apply(std::wstring& message) {
    message.clear();
    ServiceLogon logon = ChooseServiceLogon(account_, password_, reportedAccount_, Exists());
    account_ = logon.account;
    const wchar_t* account = ArgumentOrNull(logon.accountArg);
    const wchar_t* password = ArgumentOrNull(logon.passwordArg);

    if (Exists()) {
        std::wstring ignored;
        Stop(ignored);
        // Empty texts leave the installed values as they are.
        if (!::ChangeServiceConfigW(service_.get(), SERVICE_WIN32_OWN_PROCESS, startType_, SERVICE_ERROR_NORMAL,
                                    NullIfEmpty(commandLine_), nullptr, nullptr, nullptr, account, password,
                                    NullIfEmpty(displayName_))) {
            message = SystemErrorText(::GetLastError());
            return false;
        }
    } else {
        if (!manager_) {
            message = SystemErrorText(managerError_);
            return false;
        }
        SC_HANDLE created = ::CreateServiceW(manager_.get(), serviceName_.c_str(), NullIfEmpty(displayName_),
                                             kCreatedServiceAccess, SERVICE_WIN32_OWN_PROCESS, startType_,
                                             SERVICE_ERROR_NORMAL, commandLine_.c_str(), nullptr, nullptr, nullptr,
                                             account, password);
        if (!created) {
            message = SystemErrorText(::GetLastError());
            return false;
        }
        service_.reset(created);
    }
    return SetOptionalConfiguration(message);
}

bool WindowsService::SetOptionalConfiguration(std::wstring& message) {
    SERVICE_DELAYED_AUTO_START_INFO delayed = {delayedAutoStart_ ? TRUE : FALSE};
    if (!::ChangeServiceConfig2W(service_.get(), SERVICE_CONFIG_DELAYED_AUTO_START_INFO, &delayed)) {
        DWORD error = ::GetLastError();
        // Systems without delayed automatic start (Wine, for one) do not know
        // this level at all. A service that is not to be delayed needs nothing
        // from them; one that is cannot be set up as asked.
        if (error != ERROR_INVALID_LEVEL || delayedAutoStart_) {
            message = SystemErrorText(error);
            return false;
        }
    }
    SERVICE_DESCRIPTIONW description = {description_.data()};
    if (!::ChangeServiceConfig2W(service_.get(), SERVICE_CONFIG_DESCRIPTION, &description)) {
        message = SystemErrorText(::GetLastError());
        return false;
    }
    return true;
}
