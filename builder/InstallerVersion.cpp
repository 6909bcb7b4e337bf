#include "builder/InstallerVersion.h"

#include <cwchar>

#include "icbs/VersionInfo.h"

namespace {
constexpr LANGID kVersionLanguage = 1033;
}

void PackVersion(const std::wstring& text, DWORD& high, DWORD& low) {
    WORD parts[4] = {};
    const wchar_t* p = text.c_str();
    for (int i = 0; i < 4 && *p; ++i) {
        wchar_t* end = nullptr;
        unsigned long value = std::wcstoul(p, &end, 10);
        if (end == p) break;
        parts[i] = static_cast<WORD>(value > 0xFFFF ? 0xFFFF : value);
        p = *end == L'.' ? end + 1 : end;
        if (*end != L'.') break;
    }
    high = MAKELONG(parts[1], parts[0]);
    low = MAKELONG(parts[3], parts[2]);
}

ULONGLONG FileTimeOfEpoch(int64_t epoch) { return (static_cast<ULONGLONG>(epoch) + 11644473600ULL) * 10000000ULL; }

bool WriteInstallerVersion(const std::wstring& installer, const PackageFacts& main, const std::wstring& fileName,
                           const VersionTexts& texts, std::optional<int64_t> epoch) {
    VersionInfo info;
    if (!info.Read(installer, kVersionLanguage)) {
        info = VersionInfo();
        info.fixed.dwSignature = VS_FFI_SIGNATURE;
        info.fixed.dwStrucVersion = VS_FFI_STRUCVERSION;
        info.fixed.dwFileFlagsMask = VS_FFI_FILEFLAGSMASK;
        info.fixed.dwFileOS = VOS_NT_WINDOWS32;
        info.fixed.dwFileType = VFT_APP;
        info.language = kVersionLanguage;
        info.codePage = 1200;
        for (const std::wstring& name : VersionInfo::StandardNames()) info.strings[name] = L"";
    }
    PackVersion(main.version, info.fixed.dwProductVersionMS, info.fixed.dwProductVersionLS);
    PackVersion(main.version, info.fixed.dwFileVersionMS, info.fixed.dwFileVersionLS);
    // Nothing of the template's own texts stays.
    for (auto& [name, value] : info.strings) value.clear();
    info.strings[L"ProductName"] = main.name;
    info.strings[L"ProductVersion"] = main.version;
    info.strings[L"FileVersion"] = main.version;
    info.strings[L"CompanyName"] = texts.company.value_or(main.manufacturer);
    info.strings[L"FileDescription"] = texts.description.value_or(main.name + L" Setup");
    info.strings[L"LegalCopyright"] =
        texts.copyright.value_or(main.manufacturer.empty() ? std::wstring() : L"Copyright (C) " + main.manufacturer);
    info.strings[L"LegalTrademarks"] = texts.trademarks.value_or(L"");
    info.strings[L"OriginalFileName"] = fileName;
    info.strings[L"InternalName"] = fileName.substr(0, fileName.find_last_of(L'.'));
    ULONGLONG date = epoch ? FileTimeOfEpoch(*epoch) : 0;
    info.fixed.dwFileDateMS = static_cast<DWORD>(date >> 32);
    info.fixed.dwFileDateLS = static_cast<DWORD>(date);
    return info.Write(installer, kVersionLanguage);
}
