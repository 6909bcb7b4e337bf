// Reading a version block with the system's own version queries.
#include "icbs/VersionInfo.h"

#include <cstring>

#include "framework/SystemApi.h"
#include "framework/Text.h"
#include "icbs/ResourceAccess.h"
#include "icbs/ResourceModule.h"

const std::vector<std::wstring>& VersionInfo::StandardNames() {
    static const std::vector<std::wstring> names = {
        L"Comments",         L"CompanyName", L"FileDescription", L"FileVersion",    L"InternalName", L"LegalCopyright",
        L"LegalTrademarks", L"OriginalFileName", L"ProductName", L"ProductVersion", L"PrivateBuild", L"SpecialBuild"};
    return names;
}

bool VersionInfo::Read(const std::wstring& file, LANGID resourceLanguage) {
    strings.clear();
    ResourceModule module(file);
    if (!module) return false;
    icbs::ResourceData data;
    if (!icbs::LoadResourceData(module.Handle(), RT_VERSION, MAKEINTRESOURCEW(1), resourceLanguage, false, data))
        return false;
    return ReadBlock(data.Data(), data.Size());
}

bool VersionInfo::ReadBlock(const BYTE* block, DWORD size) {
    strings.clear();
    if (!block || size == 0) return false;
    // The queries may write into the block: they get a copy of their own.
    std::vector<BYTE> copy(block, block + size);
    void* value = nullptr;
    UINT length = 0;
    if (!fw::Version().VerQueryValueW(copy.data(), L"\\", &value, &length) || !value || length < sizeof(VS_FIXEDFILEINFO))
        return false;
    std::memcpy(&fixed, value, sizeof(VS_FIXEDFILEINFO));
    if (!fw::Version().VerQueryValueW(copy.data(), L"\\VarFileInfo\\Translation", &value, &length) || !value || length != 4)
        return false;
    const WORD* translation = static_cast<const WORD*>(value);
    language = translation[0];
    codePage = translation[1];
    std::wstring table = fw::Format(L"\\StringFileInfo\\%04x%04x\\", language, codePage);
    for (const std::wstring& name : StandardNames()) {
        if (!fw::Version().VerQueryValueW(copy.data(), (table + name).c_str(), &value, &length) || !value) return false;
        // The length counts characters; it may or may not include the
        // terminator, and an empty value may have length 0.
        const auto* text = static_cast<const wchar_t*>(value);
        size_t count = 0;
        while (count < length && text[count] != L'\0') ++count;
        strings[name] = std::wstring(text, count);
    }
    return true;
}
