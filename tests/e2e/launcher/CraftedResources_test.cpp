// Crafted installers: a resource entry whose address or size lies outside
// the image is a damaged installer (1620 for a package, 1 for a catalogue
// string) and nothing of it is read or unpacked; a package count beyond the
// packages the installer carries ends the run at once, for /v too.
#include <gtest/gtest.h>

#include <cstring>

#include "tests/e2e/LauncherRun.h"

using namespace testsupport;

namespace {

template <class T>
T At(const std::string& image, size_t offset) {
    T value{};
    if (offset + sizeof(T) <= image.size()) std::memcpy(&value, image.data() + offset, sizeof(T));
    return value;
}

// Where a program's type-40 resource of that name keeps its data entry
// (the RVA and size of its first language instance), and the image size;
// 0 when it is not found.
struct DataEntry {
    size_t offset = 0;  // file offset of IMAGE_RESOURCE_DATA_ENTRY
    DWORD sizeOfImage = 0;
    size_t dataOffset = 0;  // file offset of the resource's data
};

DataEntry FindDataEntry(const std::string& image, const std::wstring& name) {
    size_t nt = At<LONG>(image, 0x3C);
    WORD sections = At<WORD>(image, nt + 6);
    WORD optionalSize = At<WORD>(image, nt + 20);
    size_t optional = nt + 24;
    bool pe64 = At<WORD>(image, optional) == IMAGE_NT_OPTIONAL_HDR64_MAGIC;
    DWORD sizeOfImage = At<DWORD>(image, optional + 56);
    size_t directories = optional + (pe64 ? 112 : 96);
    DWORD resourceRva = At<DWORD>(image, directories + 8 * IMAGE_DIRECTORY_ENTRY_RESOURCE);
    size_t table = optional + optionalSize;
    for (WORD i = 0; i < sections; ++i) {
        size_t section = table + 40 * i;
        DWORD va = At<DWORD>(image, section + 12), raw = At<DWORD>(image, section + 20);
        DWORD rawSize = At<DWORD>(image, section + 16);
        if (resourceRva < va || resourceRva >= va + rawSize) continue;
        size_t root = raw + (resourceRva - va);
        // Entries of a directory: named ones first, then those with ids.
        auto entries = [&](size_t directory, auto&& match) -> size_t {
            WORD named = At<WORD>(image, directory + 12), ids = At<WORD>(image, directory + 14);
            for (size_t e = 0; e < size_t(named) + ids; ++e) {
                size_t entry = directory + 16 + 8 * e;
                if (match(At<DWORD>(image, entry))) return root + (At<DWORD>(image, entry + 4) & 0x7FFFFFFF);
            }
            return 0;
        };
        size_t types = entries(root, [](DWORD id) { return id == 40; });
        if (!types) return {};
        size_t names = entries(types, [&](DWORD id) {
            if (!(id & 0x80000000)) return false;
            size_t text = root + (id & 0x7FFFFFFF);
            WORD length = At<WORD>(image, text);
            return length == name.size() &&
                   std::memcmp(image.data() + text + 2, name.data(), length * sizeof(wchar_t)) == 0;
        });
        if (!names) return {};
        size_t entry = entries(names, [](DWORD) { return true; });
        DWORD dataRva = At<DWORD>(image, entry);
        size_t dataOffset = 0;
        for (WORD j = 0; j < sections; ++j) {
            size_t other = table + 40 * j;
            DWORD otherVa = At<DWORD>(image, other + 12), otherSize = At<DWORD>(image, other + 16);
            if (dataRva >= otherVa && dataRva < otherVa + otherSize)
                dataOffset = At<DWORD>(image, other + 20) + (dataRva - otherVa);
        }
        return {entry, sizeOfImage, dataOffset};
    }
    return {};
}

// A copy of a test launcher whose resource name has its data entry changed;
// with lengthField, the package's own length field is made to agree with
// the new size, so that only the bounds check can stop a read past the end.
std::wstring CraftedLauncher(const TempDir& dir, const std::wstring& variant, const std::wstring& name, DWORD rva,
                             DWORD size, bool keepRva, bool lengthField = false) {
    std::string image = ReadBytes(BuildDir() + L"\\tests\\launchers\\" + variant + L"\\setup.exe");
    DataEntry entry = FindDataEntry(image, name);
    EXPECT_NE(entry.offset, 0u) << "no resource " << testing::PrintToString(name);
    if (!entry.offset) return std::wstring();
    if (!keepRva) std::memcpy(&image[entry.offset], &rva, 4);
    std::memcpy(&image[entry.offset + 4], &size, 4);
    DWORD length = size - 4;
    if (lengthField && entry.dataOffset) std::memcpy(&image[entry.dataOffset], &length, 4);
    std::wstring path = dir.File(L"setup.exe");
    WriteBytes(path, image);
    return path;
}

DWORD SizeOfImage(const std::wstring& variant) {
    std::string image = ReadBytes(BuildDir() + L"\\tests\\launchers\\" + variant + L"\\setup.exe");
    return FindDataEntry(image, L"PACKAGE_0").sizeOfImage;
}

bool PackageFoldersEmpty() {
    for (const std::wstring& folder : FolderEntries(L"C:\\ProgramData\\Morvex"))
        if (!FolderEntries(L"C:\\ProgramData\\Morvex\\" + folder).empty()) return false;
    return true;
}

}  // namespace

TEST(CraftedResources, APackageOutsideTheImageIsADamagedPackageAndNothingIsUnpacked) {
    DWORD image = SizeOfImage(L"single");
    ASSERT_GT(image, 0u);
    const struct { DWORD rva; DWORD size; bool keepRva; bool lengthField; const char* what; } cases[] = {
        {0, 0x7FFFFFF0, true, true, "size past the image, length field agreeing"},
        {0, image + 0x100000, true, true, "size past the image by a megabyte, length field agreeing"},
        {image + 0x10000, 64, false, false, "address past the image"},
        {image - 16, 64, false, false, "address inside, end past the image"},
    };
    for (const auto& crafted : cases) {
        TempDir dir;
        std::wstring launcher = CraftedLauncher(dir, L"single", L"PACKAGE_0", crafted.rva, crafted.size,
                                                crafted.keepRva, crafted.lengthField);
        ASSERT_FALSE(launcher.empty());
        LauncherRun run = RunLauncherFile(launcher, L"/qn /L*v %LOG%");
        EXPECT_EQ(run.exitCode, 1620u) << crafted.what;
        EXPECT_TRUE(run.LogHas(L"ZEL (c): Package resource PACKAGE_0 is damaged")) << crafted.what;
        EXPECT_FALSE(run.LogHas(L"Installing product")) << crafted.what;
        EXPECT_TRUE(PackageFoldersEmpty()) << crafted.what;
    }
}

TEST(CraftedResources, ACatalogueStringOutsideTheImageEndsTheRunWithOne) {
    DWORD image = SizeOfImage(L"single");
    TempDir dir;
    std::wstring launcher = CraftedLauncher(dir, L"single", L"PRODUCT_NAME_0", image + 0x1000, 32, false);
    ASSERT_FALSE(launcher.empty());
    LauncherRun run = RunLauncherFile(launcher, L"/qn /L*v %LOG%");
    EXPECT_EQ(run.exitCode, 1u);
    EXPECT_TRUE(run.LogHas(L"ZEL (c): The resource PRODUCT_NAME_0 lies outside the installer's image.\r\n"));
    EXPECT_FALSE(run.LogHas(L"Extracting resource"));
    EXPECT_TRUE(PackageFoldersEmpty());
}

// A count of two thousand million packages: checked against the one package
// carried before a single record is made; /v finds a package missing at once.
TEST(CraftedResources, APackageCountBeyondThePackagesCarriedEndsAtOnce) {
    LauncherRun run = RunLauncher(L"huge_count", L"/qn /L*v %LOG%", 30000);
    EXPECT_EQ(run.exitCode, 13u);
    EXPECT_TRUE(run.LogHas(L"ZEL (c): The installer carries 1 packages, fewer than the 2000000000 it names.\r\n"));
    EXPECT_FALSE(run.LogHas(L"Initialized state for package"));
    LauncherRun validation = RunLauncher(L"huge_count", L"/v /L*v %LOG%", 30000);
    EXPECT_EQ(validation.exitCode, 1u);
    EXPECT_TRUE(validation.LogHas(L"Validation failed!"));
}
