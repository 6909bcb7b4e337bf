// ICBSFileUtilities: the version resource of a file (fixed file version and
// first translation).
#include "icbs/ICBSFileUtilities.h"

#include <vector>

#include "framework/SystemApi.h"
#include "framework/Text.h"
#include "icbs/LongPath.h"

namespace {

// The whole version resource of the file; empty when it has none.
std::vector<BYTE> ReadVersionResource(const std::wstring& path) {
    std::wstring apiPath = icbs::ApiPath(path);
    DWORD ignored = 0;
    DWORD size = fw::Version().GetFileVersionInfoSizeW(apiPath.c_str(), &ignored);
    if (size == 0) return {};
    std::vector<BYTE> block(size);
    if (!fw::Version().GetFileVersionInfoW(apiPath.c_str(), 0, size, block.data())) return {};
    return block;
}

}  // namespace

std::wstring ICBSFileUtilities::GetFileVersionText(const std::wstring& path) {
    std::vector<BYTE> block = ReadVersionResource(path);
    if (block.empty()) return {};
    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT length = 0;
    if (!fw::Version().VerQueryValueW(block.data(), L"\\", reinterpret_cast<void**>(&fixed), &length) || !fixed ||
        length < sizeof(VS_FIXEDFILEINFO))
        return {};
    return fw::Format(L"%i.%i.%i.%i", HIWORD(fixed->dwFileVersionMS), LOWORD(fixed->dwFileVersionMS),
                      HIWORD(fixed->dwFileVersionLS), LOWORD(fixed->dwFileVersionLS));
}

std::wstring ICBSFileUtilities::GetFileTranslation(const std::wstring& path) {
    std::vector<BYTE> block = ReadVersionResource(path);
    if (block.empty()) return {};
    // Each entry: language id, then code page (two 16-bit words).
    WORD* translation = nullptr;
    UINT length = 0;
    if (!fw::Version().VerQueryValueW(block.data(), L"\\VarFileInfo\\Translation", reinterpret_cast<void**>(&translation),
                          &length) ||
        !translation || length < 2 * sizeof(WORD))
        return {};
    return fw::Format(L"%d", static_cast<int>(translation[0]));
}
