// Linked only into the tests' recording launchers (add_setup_launcher
// RECORDING), never into a shipped one: before WinMain runs, the Windows
// Installer calls that change the machine or the installer's behaviour are
// wrapped in the msi function table, and each call is written, with its
// arguments and result, as one UTF-8 line to the file that the environment
// variable SETUP_TEST_INSTALLER_CALLS names. Without the variable the
// launcher runs untouched.
#include <windows.h>

#include <string>

#include "framework/SystemApi.h"

namespace {

std::wstring recordFile;

decltype(&::MsiSetInternalUI) realSetInternalUI = nullptr;
decltype(&::MsiSetExternalUIW) realSetExternalUI = nullptr;
decltype(&::MsiEnableLogW) realEnableLog = nullptr;
decltype(&::MsiInstallProductW) realInstallProduct = nullptr;
decltype(&::MsiReinstallProductW) realReinstallProduct = nullptr;
decltype(&::MsiConfigureProductExW) realConfigureProduct = nullptr;

void Record(const std::wstring& line) {
    std::wstring text = line + L"\n";
    int size = ::WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
    std::string bytes(size > 0 ? size : 0, '\0');
    if (size > 0)
        ::WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()), bytes.data(), size, nullptr, nullptr);
    HANDLE file = ::CreateFileW(recordFile.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return;
    DWORD written = 0;
    ::WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    ::CloseHandle(file);
}

std::wstring Text(LPCWSTR value) { return value ? L"\"" + std::wstring(value) + L"\"" : L"(null)"; }
std::wstring Hex(unsigned long value) {
    wchar_t buffer[16];
    wsprintfW(buffer, L"0x%lx", value);
    return buffer;
}

INSTALLUILEVEL WINAPI SetInternalUI(INSTALLUILEVEL level, HWND* window) {
    INSTALLUILEVEL previous = realSetInternalUI(level, window);
    Record(L"MsiSetInternalUI level=" + Hex(level) + (window ? L" window" : L""));
    return previous;
}

INSTALLUI_HANDLERW WINAPI SetExternalUI(INSTALLUI_HANDLERW handler, DWORD filter, LPVOID context) {
    INSTALLUI_HANDLERW previous = realSetExternalUI(handler, filter, context);
    Record(L"MsiSetExternalUIW " + std::wstring(handler ? L"handler" : L"none") + L" filter=" + Hex(filter));
    return previous;
}

UINT WINAPI EnableLog(DWORD mode, LPCWSTR file, DWORD attributes) {
    UINT result = realEnableLog(mode, file, attributes);
    Record(L"MsiEnableLogW mode=" + Hex(mode) + L" file=" + Text(file) + L" attributes=" + Hex(attributes) +
           L" -> " + std::to_wstring(result));
    return result;
}

UINT WINAPI InstallProduct(LPCWSTR package, LPCWSTR properties) {
    UINT result = realInstallProduct(package, properties);
    Record(L"MsiInstallProductW package=" + Text(package) + L" properties=" + Text(properties) + L" -> " +
           std::to_wstring(result));
    return result;
}

UINT WINAPI ReinstallProduct(LPCWSTR product, DWORD mode) {
    UINT result = realReinstallProduct(product, mode);
    Record(L"MsiReinstallProductW product=" + Text(product) + L" mode=" + Hex(mode) + L" -> " + std::to_wstring(result));
    return result;
}

UINT WINAPI ConfigureProduct(LPCWSTR product, int level, INSTALLSTATE state, LPCWSTR properties) {
    UINT result = realConfigureProduct(product, level, state, properties);
    Record(L"MsiConfigureProductExW product=" + Text(product) + L" level=" + std::to_wstring(level) + L" state=" +
           std::to_wstring(state) + L" properties=" + Text(properties) + L" -> " + std::to_wstring(result));
    return result;
}

template <class F>
void Wrap(fw::ApiFunction<F>& entry, F& real, F wrapper) {
    real = entry.fn;
    if (real) entry.fn = wrapper;
}

struct Recorder {
    Recorder() {
        wchar_t path[MAX_PATH];
        DWORD length = ::GetEnvironmentVariableW(L"SETUP_TEST_INSTALLER_CALLS", path, MAX_PATH);
        if (length == 0 || length >= MAX_PATH) return;
        recordFile.assign(path, length);
        fw::MsiApi& msi = fw::Msi();
        Wrap(msi.MsiSetInternalUI, realSetInternalUI, &SetInternalUI);
        Wrap(msi.MsiSetExternalUIW, realSetExternalUI, &SetExternalUI);
        Wrap(msi.MsiEnableLogW, realEnableLog, &EnableLog);
        Wrap(msi.MsiInstallProductW, realInstallProduct, &InstallProduct);
        Wrap(msi.MsiReinstallProductW, realReinstallProduct, &ReinstallProduct);
        Wrap(msi.MsiConfigureProductExW, realConfigureProduct, &ConfigureProduct);
    }
} recorder;

}  // namespace
