#include "builder/InputFileKind.h"

#include <windows.h>

#include <cstring>

#include "builder/ProgramFileLayout.h"
#include "framework/Handles.h"
#include "icbs/LongPath.h"

namespace {

constexpr BYTE kCompoundFile[8] = {0xD0, 0xCF, 0x11, 0xE0, 0xA1, 0xB1, 0x1A, 0xE1};
// The classes of Windows Installer's storages, {000C10xx-0000-0000-C000-
// 000000000046}, as stored: the first byte tells them apart.
constexpr BYTE kInstallerClassTail[15] = {0x10, 0x0C, 0x00, 0x00, 0x00, 0x00, 0x00, 0xC0,
                                          0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46};
constexpr BYTE kPatchClass = 0x86;
constexpr BYTE kTransformClass = 0x82;

// The class of the compound file's root storage (the first directory
// entry); false when the header cannot be read.
bool RootClass(HANDLE file, BYTE (&clsid)[16]) {
    BYTE header[512] = {};
    if (!ReadFileAt(file, 0, header, sizeof(header))) return false;
    WORD shift = 0;
    DWORD firstDirectorySector = 0;
    std::memcpy(&shift, header + 0x1E, 2);
    std::memcpy(&firstDirectorySector, header + 0x30, 4);
    if (shift != 9 && shift != 12) return false;
    LONGLONG sector = 1LL << shift;
    return ReadFileAt(file, (static_cast<LONGLONG>(firstDirectorySector) + 1) * sector + 0x50, clsid, 16);
}

}  // namespace

InputFileKind ClassifyInputFile(const std::wstring& path) {
    fw::FileHandle file(::CreateFileW(icbs::ApiPath(path).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                      OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) return InputFileKind::Missing;
    BYTE head[8] = {};
    if (!ReadFileAt(file.get(), 0, head, sizeof(head))) return InputFileKind::Other;
    if (head[0] == 'M' && head[1] == 'Z') return InputFileKind::ProgramFile;
    if (std::memcmp(head, kCompoundFile, sizeof(kCompoundFile)) != 0) return InputFileKind::Other;
    BYTE clsid[16] = {};
    if (RootClass(file.get(), clsid) && std::memcmp(clsid + 1, kInstallerClassTail, sizeof(kInstallerClassTail)) == 0) {
        if (clsid[0] == kPatchClass) return InputFileKind::Patch;
        if (clsid[0] == kTransformClass) return InputFileKind::Transform;
    }
    // Databases carry their class or none at all (some tools write none);
    // opening the database tells.
    return InputFileKind::Database;
}

std::wstring PackageKindReason(InputFileKind kind) {
    switch (kind) {
        case InputFileKind::Missing: return L"the package does not exist";
        case InputFileKind::Database: return L"";
        case InputFileKind::Patch:
            return L"a patch (.msp), not a Windows Installer database: --package takes installation packages (.msi); "
                   L"apply the patch to the product the installer installs (README, \"Patches\")";
        case InputFileKind::Transform:
            return L"a transform (.mst), not a Windows Installer database: give it with --transform after its package";
        case InputFileKind::ProgramFile:
            return L"a program file, not a Windows Installer database: --package takes installation packages (.msi)";
        case InputFileKind::Other: break;
    }
    return L"not a Windows Installer database: --package takes installation packages (.msi)";
}
