// The install folder of a product, when the user chose another than the
// default one: the upgrade goes to the same place.
#include <cwctype>

#include "catalogue/ProductTable.h"
#include "catalogue/RelatedProduct.h"
#include "framework/Handles.h"
#include "options/BuiltInOptions.h"

namespace {

std::wstring WithoutTrailingSlashes(std::wstring path) {
    while (path.size() > 3 && (path.back() == L'\\' || path.back() == L'/')) path.pop_back();
    return path;
}

bool SameFolder(const std::wstring& a, const std::wstring& b) {
    std::wstring x = WithoutTrailingSlashes(a), y = WithoutTrailingSlashes(b);
    return ::CompareStringOrdinal(x.c_str(), static_cast<int>(x.size()), y.c_str(), static_cast<int>(y.size()),
                                  TRUE) == CSTR_EQUAL;
}

bool IsExistingFolder(const std::wstring& path) {
    WIN32_FIND_DATAW data;
    fw::FindHandle found(::FindFirstFileW(path.c_str(), &data));
    return found && (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY);
}

// "ApplicationPath" names the application's main file; a folder recorded
// there is taken as it is.
std::wstring InstalledFolder(const RelatedProduct& record) {
    const std::wstring& path = record.applicationPath;
    if (path.empty()) return std::wstring();
    if (IsExistingFolder(WithoutTrailingSlashes(path))) return WithoutTrailingSlashes(path);
    size_t slash = path.find_last_of(L"\\/");
    return slash == std::wstring::npos ? std::wstring() : WithoutTrailingSlashes(path.substr(0, slash));
}

bool InServerGroup(const RelatedProduct& record) { return record.row && InGroupB(*record.row); }

}  // namespace

std::optional<std::wstring> FindCustomInstallLocation(const RelatedProduct& record) {
    std::wstring folder = InstalledFolder(record);
    if (folder.empty() || !IsExistingFolder(folder)) return std::nullopt;
    std::wstring defaultFolder = record.DefaultInstallFolder();
    if (!defaultFolder.empty() && SameFolder(folder, defaultFolder)) return std::nullopt;
    return folder;
}

SetupOptionCustomInstallLocation::SetupOptionCustomInstallLocation() : SetupMultiNameOptionBase(AllProductIds()) {}

std::unique_ptr<SetupOptionBase> SetupOptionCustomInstallLocation::Create() const {
    return std::make_unique<SetupOptionCustomInstallLocation>();
}

void SetupOptionCustomInstallLocation::ReadCurrentSetting(const RelatedProduct& record) {
    location = FindCustomInstallLocation(record);
}

std::wstring SetupOptionCustomInstallLocation::GetPropertyName(const RelatedProduct& record) const {
    std::wstring id = record.ProductId();
    if (InServerGroup(record) || id == L"KS::S") return L"INSTALLDIR";
    if (id.compare(0, 4, L"QL::") == 0) return L"QUILLETINSTALLDIR";
    if (!record.row) return std::wstring();
    // Windows Installer passes only upper-case properties on to the
    // installation itself.
    std::wstring name = record.RegistryName();
    for (wchar_t& c : name) c = static_cast<wchar_t>(std::towupper(c));
    return name + L"INSTALLDIR";
}
