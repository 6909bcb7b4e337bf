#include "builder/TemplateChecks.h"

#include <cstring>

#include "icbs/ICBSFileUtilities.h"
#include "icbs/ResourceAccess.h"
#include "icbs/ResourceModule.h"
#include "resources/ResourceIds.h"

namespace {

constexpr WORD kPe32 = 0x10B;
constexpr WORD kPe32Plus = 0x20B;
constexpr size_t kSecurityDirectory = 4;

template <class T>
bool ReadAt(const std::string& bytes, size_t offset, T& value) {
    if (offset > bytes.size() || bytes.size() - offset < sizeof(T)) return false;
    std::memcpy(&value, bytes.data() + offset, sizeof(T));
    return true;
}

bool StartsWith(const std::wstring& path, const char* magic, size_t length) {
    std::string head(length, '\0');
    DWORD read = 0;
    if (!ICBSFileUtilities::ReadBytes(path, head.data(), static_cast<DWORD>(length), &read) || read != length)
        return false;
    return std::memcmp(head.data(), magic, length) == 0;
}

bool LauncherLanguage(const std::wstring& text, bool englishToo) {
    for (const wchar_t* known : {L"1031", L"1034", L"1036", L"1041"})
        if (text == known) return true;
    return englishToo && text == L"1033";
}

}  // namespace

bool CheckTemplate(const std::wstring& path, BuildError& error) {
    if (!ICBSFileUtilities::FileExists(path)) {
        error = {path, L"the template does not exist (give the bare launcher with --template)"};
        return false;
    }
    ResourceModule module(path);
    if (!module) {
        error = {path, L"the template is not a program file (give the bare launcher SetupLauncher.exe)"};
        return false;
    }
    bool launcher = icbs::ResourceExists(module.Handle(), RT_DIALOG, MAKEINTRESOURCEW(IDD_WIZARD), L"") &&
                    icbs::ResourceExists(module.Handle(), RT_GROUP_ICON, PRODUCT_IMAGE_RESOURCE_NAME, L"");
    if (!launcher) {
        error = {path, L"the template is not the bare launcher: it lacks the launcher's wizard and product image"};
        return false;
    }
    if (icbs::ResourceExists(module.Handle(), MAKEINTRESOURCEW(icbs::kCatalogueType), L"PACKAGE_COUNT", L"")) {
        error = {path, L"the template is not the bare launcher: it already holds a catalogue (a built installer?)"};
        return false;
    }
    return true;
}

SignatureLocation FindSignature(const std::string& file) {
    SignatureLocation found;
    DWORD peOffset = 0, signature = 0, address = 0, size = 0;
    WORD magic = 0;
    if (file.size() < 64 || file[0] != 'M' || file[1] != 'Z' || !ReadAt(file, 0x3C, peOffset)) return found;
    if (!ReadAt(file, peOffset, signature) || signature != 0x00004550) return found;
    size_t optional = peOffset + 4 + 20;  // after the signature and the file header
    if (!ReadAt(file, optional, magic)) return found;
    size_t directories = optional + (magic == kPe32Plus ? 112 : magic == kPe32 ? 96 : 0);
    if (directories == optional) return found;
    size_t entry = directories + kSecurityDirectory * 8;
    if (!ReadAt(file, entry, address) || !ReadAt(file, entry + 4, size)) return found;
    if (address == 0 || size == 0) return found;
    found.directoryEntry = entry;
    found.offset = address;  // a file offset, not an address
    found.size = size;
    return found;
}

std::string WithoutSignature(const std::string& file, const SignatureLocation& signature) {
    if (!signature.Present()) return file;
    std::string result = file;
    std::memset(result.data() + signature.directoryEntry, 0, 8);
    if (signature.offset <= result.size() && signature.offset + signature.size >= result.size())
        result.resize(signature.offset);
    return result;
}

bool CheckTransform(const LanguageFile& transform, BuildError& error) {
    if (!LauncherLanguage(transform.language, false)) {
        error = {transform.file, L"the launcher has no language " + transform.language +
                                     L" for a transform (it applies 1031, 1034, 1036 and 1041)"};
        return false;
    }
    if (!ICBSFileUtilities::FileExists(transform.file)) {
        error = {transform.file, L"the transform does not exist"};
        return false;
    }
    if (!StartsWith(transform.file, "\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1", 8)) {
        error = {transform.file, L"not a Windows Installer transform (no OLE compound file)"};
        return false;
    }
    return true;
}

bool CheckBackground(const LanguageFile& background, BuildError& error) {
    if (!LauncherLanguage(background.language, true)) {
        error = {background.file, L"the launcher has no texts in language " + background.language +
                                      L" (1031, 1033, 1034, 1036 or 1041)"};
        return false;
    }
    if (!ICBSFileUtilities::FileExists(background.file) || !StartsWith(background.file, "BM", 2)) {
        error = {background.file, L"not a bitmap file"};
        return false;
    }
    return true;
}
