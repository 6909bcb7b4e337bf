#include "execution/PackageDigest.h"

#include <cstring>

#include "engine/Log.h"
#include "execution/PayloadDigests.h"
#include "icbs/ResourceAccess.h"
#include "icbs/Sha256.h"

namespace {
constexpr WORD kPackageResourceType = 40;
constexpr LANGID kCatalogueStringLanguage = 1033;
}  // namespace

bool ReadPackageCabinet(HMODULE module, const std::wstring& name, CabinetImage& cabinet, bool log) {
    if (!icbs::ResourceExists(module, MAKEINTRESOURCEW(kPackageResourceType), name.c_str(), std::wstring())) {
        if (log) WriteLog(1, L"ZEL (c): Package resource %s not found.\r\n", name.c_str());
        return false;
    }
    icbs::ResourceData resource;
    icbs::LoadResourceData(module, MAKEINTRESOURCEW(kPackageResourceType), name.c_str(), std::wstring(), true,
                           resource);
    DWORD size = resource.Size();
    const BYTE* data = resource.Data();
    DWORD length = 0;
    if (data && size >= 4) std::memcpy(&length, data, 4);
    if (!data || size < 4 || length != size - 4) {
        if (log) WriteLog(1, L"ZEL (c): Package resource %s is damaged: %u bytes, length field %u.\r\n", name.c_str(), size,
                 length);
        return false;
    }
    cabinet = {data + 4, length};
    return true;
}

std::wstring DigestResourceName(const std::wstring& packageResource) {
    const std::wstring prefix = L"PACKAGE_";
    return L"PACKAGE_SHA256_" + packageResource.substr(std::min(prefix.size(), packageResource.size()));
}

namespace {
std::optional<std::wstring> RecordedDigestText(HMODULE module, const std::wstring& packageResource) {
    std::wstring name = DigestResourceName(packageResource);
    // The catalogue's strings are in English in every installer; a
    // single-language one may have them in another language only.
    std::optional<std::wstring> recorded = icbs::LoadResourceText(module, name, kCatalogueStringLanguage);
    if (!recorded) recorded = icbs::LoadResourceText(module, name);
    return recorded;
}
}  // namespace

bool HasRecordedDigest(HMODULE module, const std::wstring& packageResource) {
    return RecordedDigestText(module, packageResource).has_value();
}

bool PayloadMatchesRecord(HMODULE module, const std::wstring& packageResource, const CabinetImage& cabinet,
                          const PayloadDigests* ahead) {
    std::optional<std::wstring> recorded = RecordedDigestText(module, packageResource);
    if (!recorded) return true;
    icbs::Sha256Digest expected{};
    if (!icbs::ParseDigestText(*recorded, expected)) {
        WriteLog(1, L"ZEL (c): Package resource %s is damaged: its recorded SHA-256 \"%s\" cannot be read.\r\n",
                 packageResource.c_str(), recorded->c_str());
        return false;
    }
    std::optional<icbs::Sha256Digest> early = ahead ? ahead->Wait(packageResource, cabinet) : std::nullopt;
    icbs::Sha256Digest actual = early ? *early : icbs::Sha256Of(cabinet.data, cabinet.size);
    if (actual != expected) {
        WriteLog(1, L"ZEL (c): Package resource %s is damaged: its SHA-256 is %s, the installer recorded %s.\r\n",
                 packageResource.c_str(), icbs::DigestText(actual).c_str(), icbs::DigestText(expected).c_str());
        return false;
    }
    WriteLog(3, L"ZEL (c): Package resource %s matches its recorded SHA-256.\r\n", packageResource.c_str());
    return true;
}
