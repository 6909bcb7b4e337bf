#include "launcher/EnvironmentChecks.h"

#include <cwchar>
#include <vector>

#include "framework/Handles.h"
#include "framework/Text.h"

WindowsFacts QueryRunningWindows() {
    WindowsFacts facts;
    OSVERSIONINFOEXW info = {};
    info.dwOSVersionInfoSize = sizeof(info);
    if (::GetVersionExW(reinterpret_cast<OSVERSIONINFOW*>(&info))) {
        facts.major = info.dwMajorVersion;
        facts.minor = info.dwMinorVersion;
        facts.spMajor = info.wServicePackMajor;
        facts.spMinor = info.wServicePackMinor;
        facts.build = LOWORD(info.dwBuildNumber);
        facts.productType = info.wProductType;
        facts.suiteMask = info.wSuiteMask;
    }
    SYSTEM_INFO system = {};
    using NativeInfoFn = void(WINAPI*)(LPSYSTEM_INFO);
    auto native = reinterpret_cast<NativeInfoFn>(
        reinterpret_cast<void*>(::GetProcAddress(::GetModuleHandleW(L"kernel32.dll"), "GetNativeSystemInfo")));
    if (native) native(&system);
    else ::GetSystemInfo(&system);
    facts.nativeAmd64 = system.wProcessorArchitecture == PROCESSOR_ARCHITECTURE_AMD64;
    facts.serverR2 = ::GetSystemMetrics(SM_SERVERR2) != 0;
    return facts;
}

std::wstring WindowsName(DWORD major, DWORD minor, WORD spMajor, WORD spMinor, DWORD build, BYTE productType,
                         WORD suiteMask, bool nativeAmd64, bool serverR2) {
    const bool workstation = productType == VER_NT_WORKSTATION;
    std::wstring name;
    int key = (static_cast<int>(major) - 5) * 10 + static_cast<int>(minor);
    switch (key) {
        case 0: name = L"Windows 2000"; break;
        case 1: name = L"Windows XP"; break;
        case 2:
            if (serverR2) name = L"Windows Server 2003 R2";
            else if (suiteMask & 0x2000) name = L"Windows Storage Server 2003";
            else if (suiteMask & 0x8000) name = L"Windows Home Server";
            else if (workstation && nativeAmd64) name = L"Windows XP Professional x64 Edition";
            else name = L"Windows Server 2003";
            break;
        case 10: name = workstation ? L"Windows Vista" : L"Windows Server 2008"; break;
        case 11: name = workstation ? L"Windows 7" : L"Windows Server 2008 R2"; break;
        case 12: name = workstation ? L"Windows 8" : L"Windows Server 2012"; break;
        case 50: name = fw::Format(L"Windows %d.%d.%d", major, minor, build); break;
        default: name = fw::Format(L"Windows %d.%d", major, minor); break;
    }
    if (spMajor != 0) {
        name += fw::Format(L" ServicePack %d", spMajor);
        if (spMinor != 0) name += fw::Format(L".%d", spMinor);
    }
    return name;
}

namespace {
void ReplaceAll(std::wstring& text, const std::wstring& from, const std::wstring& to) {
    for (size_t at = text.find(from); at != std::wstring::npos; at = text.find(from, at + to.size()))
        text.replace(at, from.size(), to);
}
}  // namespace

OsRequirement ParseOsRequirement(const std::wstring& input) {
    std::wstring text = input;
    ReplaceAll(text, L"WinNT", L"4.0");
    ReplaceAll(text, L"WinXP", L"5.1.2");
    OsRequirement required;
    std::wstring version = text;
    size_t slash = text.find(L'/');
    if (slash != std::wstring::npos) {
        version = text.substr(0, slash);
        required.restriction = text.substr(slash + 1);
        required.hasRestriction = true;
    }
    DWORD* parts[] = {&required.major, &required.minor, &required.spMajor, &required.spMinor};
    size_t start = 0;
    for (DWORD* part : parts) {
        if (start > version.size()) break;
        size_t dot = version.find(L'.', start);
        std::wstring piece = version.substr(start, dot == std::wstring::npos ? std::wstring::npos : dot - start);
        *part = static_cast<DWORD>(wcstoul(piece.c_str(), nullptr, 10));
        if (dot == std::wstring::npos) break;
        start = dot + 1;
    }
    return required;
}

int WelcomeTextIdFor(const OsRequirement& required) {
    if (required.major == 5 && required.minor == 1 && required.spMajor == 3) return 1042;
    if (required.major == 6 && required.minor == 0) return 1043;
    if (required.major == 6 && required.minor == 1 && required.spMajor == 0) return 1044;
    if (required.major == 6 && required.minor == 1 && required.spMajor == 1) return 1324;
    return 35;
}

bool MeetsRequirement(const WindowsFacts& running, const OsRequirement& required) {
    if (running.major != required.major) return running.major > required.major;
    if (running.minor != required.minor) return running.minor > required.minor;
    return running.spMajor >= required.spMajor;
}

bool HasDirect2D() {
    fw::ModuleHandle library(fw::LoadSystemLibrary(L"D2D1.dll"));
    if (!library) return false;
    using CreateFactoryFn = HRESULT(WINAPI*)(int, REFIID, const void*, void**);
    auto create = reinterpret_cast<CreateFactoryFn>(
        reinterpret_cast<void*>(::GetProcAddress(library.get(), "D2D1CreateFactory")));
    if (!create) return false;
    static const GUID kFactory = {0x06152247, 0x6f50, 0x465a, {0x92, 0x45, 0x11, 0x8b, 0xfd, 0x3b, 0x60, 0x07}};
    static const GUID kFactory1 = {0xbb12d362, 0xdaee, 0x4b9a, {0xaa, 0x1d, 0x14, 0xba, 0x40, 0x1c, 0xfa, 0x1f}};
    IUnknown* factory = nullptr;
    if (FAILED(create(0 /* single-threaded */, kFactory, nullptr, reinterpret_cast<void**>(&factory))) || !factory)
        return false;
    IUnknown* factory1 = nullptr;
    HRESULT hr = factory->QueryInterface(kFactory1, reinterpret_cast<void**>(&factory1));
    bool found = SUCCEEDED(hr) && factory1;
    if (factory1) factory1->Release();
    factory->Release();
    return found;
}

namespace {
bool IsTerminalServer() {
    fw::RegKeyHandle key;
    if (::RegOpenKeyExW(HKEY_LOCAL_MACHINE, L"System\\CurrentControlSet\\Control\\ProductOptions", 0, KEY_READ,
                        key.put()) != ERROR_SUCCESS)
        return false;
    DWORD type = 0, size = 0;
    if (::RegQueryValueExW(key.get(), L"ProductSuite", nullptr, &type, nullptr, &size) != ERROR_SUCCESS ||
        type != REG_MULTI_SZ)
        return false;
    std::vector<wchar_t> data(size / sizeof(wchar_t) + 2, L'\0');
    if (::RegQueryValueExW(key.get(), L"ProductSuite", nullptr, nullptr, reinterpret_cast<BYTE*>(data.data()),
                           &size) != ERROR_SUCCESS)
        return false;
    for (const wchar_t* entry = data.data(); *entry; entry += wcslen(entry) + 1)
        if (wcsstr(entry, L"Terminal Server")) return true;
    return false;
}
}  // namespace

bool IsAnotherInstanceRunning(DWORD osMajor) {
    const bool global = osMajor > 4 || IsTerminalServer();
    const wchar_t* name = global ? L"Global\\_MSISETUP_{2956EBA1-9B5A-4679-8618-357136DA66CA}"
                                 : L"_MSISETUP_{2956EBA1-9B5A-4679-8618-357136DA66CA}";
    HANDLE mutex = ::CreateMutexW(nullptr, FALSE, name);
    // The handle stays open until the process ends: it is the claim.
    return !(mutex != nullptr && ::GetLastError() != ERROR_ALREADY_EXISTS);
}

bool IsAdminOrPowerUser() {
    fw::ModuleHandle advapi(fw::LoadSystemLibrary(L"advapi32.dll"));
    if (!advapi) return false;
    auto proc = [&](const char* name) { return reinterpret_cast<void*>(::GetProcAddress(advapi.get(), name)); };
    using AllocateFn = BOOL(WINAPI*)(PSID_IDENTIFIER_AUTHORITY, BYTE, DWORD, DWORD, DWORD, DWORD, DWORD, DWORD,
                                     DWORD, DWORD, PSID*);
    using CheckFn = BOOL(WINAPI*)(HANDLE, PSID, PBOOL);
    auto allocate = reinterpret_cast<AllocateFn>(proc("AllocateAndInitializeSid"));
    auto check = reinterpret_cast<CheckFn>(proc("CheckTokenMembership"));
    if (!allocate || !check || !proc("FreeSid") || !proc("OpenProcessToken") || !proc("GetTokenInformation") ||
        !proc("EqualSid"))
        return false;
    SID_IDENTIFIER_AUTHORITY nt = SECURITY_NT_AUTHORITY;
    auto isMember = [&](DWORD rid) {
        fw::SidHandle sid;  // freed with FreeSid by its owner
        if (!allocate(&nt, 2, SECURITY_BUILTIN_DOMAIN_RID, rid, 0, 0, 0, 0, 0, 0, sid.put())) return false;
        BOOL member = FALSE;
        return check(nullptr, sid.get(), &member) && member;
    };
    return isMember(DOMAIN_ALIAS_RID_ADMINS) || isMember(DOMAIN_ALIAS_RID_POWER_USERS);
}
