// The schema-management products' choices: the default server of the
// application, and the server's service.
#include "catalogue/RelatedProduct.h"
#include "icbs/RegistryKey.h"
#include "icbs/WindowsService.h"
#include "options/BuiltInOptions.h"

SetupOptionServerForKestrane::SetupOptionServerForKestrane() : SetupOptionBase(L"KESTRANESERVER", {L"KS::Z"}) {}

std::unique_ptr<SetupOptionBase> SetupOptionServerForKestrane::Create() const {
    return std::make_unique<SetupOptionServerForKestrane>();
}

void SetupOptionServerForKestrane::ReadCurrentSetting(const RelatedProduct& record) {
    RegistryKey settings(L"HKEY_CURRENT_USER\\Software\\Morvex\\Kestrane\\Settings", true, false, OptionView(record));
    serverName = settings.GetDword(L"DefaultServerType") != 0 ? settings.GetString(L"DefaultServer") : std::wstring();
}

std::optional<std::wstring> SetupOptionServerForKestrane::GetValue() const { return serverName; }

SetupOptionsKestraneServer::SetupOptionsKestraneServer()
    : SetupOptionGroupBase(L"KestraneServerOptions", {L"KS::S"}) {}

std::unique_ptr<SetupOptionBase> SetupOptionsKestraneServer::Create() const {
    return std::make_unique<SetupOptionsKestraneServer>();
}

void SetupOptionsKestraneServer::ReadCurrentSetting(const RelatedProduct&) {
    WindowsService service(L"KestraneService");
    if (service.Exists()) {
        optionsText.clear();
        DWORD state = service.GetState();
        startService = state == SERVICE_RUNNING || state == SERVICE_START_PENDING;
    } else {
        // Installed without its service: the server runs stand-alone.
        optionsText = L"StandAlone";
        startService = false;
    }
}

std::vector<std::wstring> SetupOptionsKestraneServer::GetPropertyNames() const {
    return {L"SERVEROPTIONSVISTA", L"STARTSERVICE"};
}

std::optional<std::wstring> SetupOptionsKestraneServer::GetValue(const std::wstring& propertyName) const {
    if (propertyName == L"SERVEROPTIONSVISTA") return optionsText;
    if (propertyName == L"STARTSERVICE") return startService ? L"true" : L"";
    return std::nullopt;
}
