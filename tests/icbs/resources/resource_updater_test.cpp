// Shows that files and data become resources of a program file in one update:
// packages with their length prefix, bitmaps without their file header, icon
// files as their images (with ids of their own) and a group that Windows
// loads; and that a failed or discarded update leaves the file byte for byte
// as it was.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <set>

#include "framework/Handles.h"
#include "icbs/ResourceAccess.h"
#include "icbs/ResourceModule.h"
#include "icbs/ResourceUpdater.h"
#include "tests/icbs/resources/ResourceTestSupport.h"

using testsupport::ReadBytes;
using testsupport::TempDir;
using testsupport::WriteBytes;

namespace {

const LPCWSTR kCatalogue = MAKEINTRESOURCEW(icbs::kCatalogueType);

std::wstring Resource(const std::wstring& name) { return testsupport::SourceDir() + L"\\resources\\" + name; }

std::string Bytes(const icbs::ResourceData& data) {
    return std::string(reinterpret_cast<const char*>(data.Data()), data.Size());
}

BOOL CALLBACK CollectId(HMODULE, LPCWSTR, LPWSTR name, LONG_PTR context) {
    if (IS_INTRESOURCE(name))
        reinterpret_cast<std::set<WORD>*>(context)->insert(static_cast<WORD>(reinterpret_cast<ULONG_PTR>(name)));
    return TRUE;
}
std::set<WORD> IconIds(HMODULE module) {
    std::set<WORD> ids;
    ::EnumResourceNamesW(module, RT_ICON, CollectId, reinterpret_cast<LONG_PTR>(&ids));
    return ids;
}

// The ids a group lists (14-byte entries after the 6-byte header).
std::vector<WORD> GroupIds(HMODULE module, LPCWSTR name) {
    icbs::ResourceData group;
    if (!icbs::LoadResourceData(module, RT_GROUP_ICON, name, LANGID(1033), true, group)) return {};
    std::vector<WORD> ids;
    WORD count = 0;
    std::memcpy(&count, group.Data() + 4, 2);
    for (WORD i = 0; i < count && 6u + 14u * (i + 1u) <= group.Size(); ++i) {
        WORD id = 0;
        std::memcpy(&id, group.Data() + 6 + 14 * i + 12, 2);
        ids.push_back(id);
    }
    return ids;
}

}  // namespace

TEST(ResourceUpdater, FilesAndDataBecomeResources) {
    TempDir dir;
    std::wstring target = resourcetest::CopyOfBareLauncher(dir, L"target.exe");
    std::string package(100003, '\0');
    for (size_t i = 0; i < package.size(); ++i) package[i] = static_cast<char>(i * 31 + 7);
    WriteBytes(dir.File(L"package.bin"), package);
    {
        ResourceUpdater update(target);
        ASSERT_TRUE(update.IsOpen());
        EXPECT_TRUE(update.AddFileAsResource(kCatalogue, L"PACKAGE_0", L"", dir.File(L"package.bin"), true));
        EXPECT_TRUE(update.AddFileAsResource(kCatalogue, L"PACKAGE_0_1031", L"1031", dir.File(L"package.bin"), false));
        EXPECT_TRUE(update.AddData(kCatalogue, L"OS", L"1033", L"6.1.1", sizeof(L"6.1.1")));
        EXPECT_TRUE(update.AddFileAsResource(RT_BITMAP, MAKEINTRESOURCEW(132), L"1036",
                                             Resource(L"WizardBackground.bmp"), false));
        EXPECT_TRUE(update.End(true));
    }
    ResourceModule module(target);
    ASSERT_TRUE(module);
    icbs::ResourceData data;
    // The package: its length, little-endian, then the file; language neutral.
    ASSERT_TRUE(icbs::LoadResourceData(module.Handle(), kCatalogue, L"PACKAGE_0", LANGID(0), true, data));
    std::string expected(4, '\0');
    for (int i = 0; i < 4; ++i) expected[i] = static_cast<char>(package.size() >> (8 * i));
    expected += package;
    EXPECT_TRUE(Bytes(data) == expected) << data.Size();
    ASSERT_TRUE(icbs::LoadResourceData(module.Handle(), kCatalogue, L"PACKAGE_0_1031", LANGID(1031), true, data));
    EXPECT_TRUE(Bytes(data) == package);
    EXPECT_EQ(icbs::LoadResourceText(module.Handle(), L"OS", L"1033"), L"6.1.1");
    // The bitmap without its 14-byte file header: what remains starts with
    // the info header (its size, 40).
    std::string bitmap = ReadBytes(Resource(L"WizardBackground.bmp"));
    ASSERT_TRUE(icbs::LoadResourceData(module.Handle(), RT_BITMAP, MAKEINTRESOURCEW(132), LANGID(1036), true, data));
    EXPECT_TRUE(Bytes(data) == bitmap.substr(14)) << data.Size();
    EXPECT_EQ(data.Data()[0], 40);
    // The launcher's own resources are still there.
    EXPECT_TRUE(icbs::ResourceExists(module.Handle(), RT_VERSION, MAKEINTRESOURCEW(1), LANGID(1033)));
    EXPECT_TRUE(icbs::ResourceExists(module.Handle(), L"PNG", MAKEINTRESOURCEW(132), LANGID(0)));
}

TEST(ResourceUpdater, AnIconFileBecomesItsImagesAndAGroupThatWindowsLoads) {
    TempDir dir;
    std::wstring target = resourcetest::CopyOfBareLauncher(dir, L"target.exe");
    std::set<WORD> before;
    {
        ResourceModule module(target);
        before = IconIds(module.Handle());
    }
    ASSERT_FALSE(before.empty());
    WORD highest = *before.rbegin();
    {
        ResourceUpdater update(target);
        // Three images (16, 32 and 48 pixels), then a second icon in the same
        // update: each image keeps an id of its own.
        EXPECT_TRUE(update.AddFileAsResource(RT_ICON, L"THREE", L"1033", Resource(L"QuickInstall.ico"), false));
        EXPECT_TRUE(update.AddFileAsResource(RT_ICON, L"FOUR", L"1033", Resource(L"ProductImage.ico"), false));
        EXPECT_TRUE(update.End(true));
    }
    ResourceModule module(target);
    std::vector<WORD> three = GroupIds(module.Handle(), L"THREE");
    std::vector<WORD> four = GroupIds(module.Handle(), L"FOUR");
    EXPECT_EQ(three, (std::vector<WORD>{WORD(highest + 1), WORD(highest + 2), WORD(highest + 3)}));
    EXPECT_EQ(four, (std::vector<WORD>{WORD(highest + 4), WORD(highest + 5), WORD(highest + 6), WORD(highest + 7)}));
    // The template's own images are untouched, the new ones are the icon
    // file's images in file order.
    std::set<WORD> after = IconIds(module.Handle());
    EXPECT_EQ(after.size(), before.size() + 7);
    std::string file = ReadBytes(Resource(L"QuickInstall.ico"));
    for (size_t i = 0; i < three.size(); ++i) {
        DWORD size = 0, offset = 0;
        std::memcpy(&size, file.data() + 6 + 16 * i + 8, 4);
        std::memcpy(&offset, file.data() + 6 + 16 * i + 12, 4);
        icbs::ResourceData image;
        ASSERT_TRUE(icbs::LoadResourceData(module.Handle(), RT_ICON, MAKEINTRESOURCEW(three[i]), LANGID(1033), true,
                                           image));
        EXPECT_TRUE(Bytes(image) == file.substr(offset, size)) << i;
    }
    // Windows finds the 48-pixel image through the group.
    fw::ModuleHandle loaded(::LoadLibraryExW(target.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE));
    ASSERT_TRUE(loaded);
    fw::IconHandle icon(static_cast<HICON>(::LoadImageW(loaded.get(), L"THREE", IMAGE_ICON, 48, 48, 0)));
    ASSERT_TRUE(icon);
    ICONINFO info{};
    ASSERT_TRUE(::GetIconInfo(icon.get(), &info));
    fw::GdiObject color(info.hbmColor), mask(info.hbmMask);
    BITMAP bitmap{};
    ASSERT_TRUE(::GetObjectW(info.hbmColor, sizeof(bitmap), &bitmap));
    EXPECT_EQ(bitmap.bmWidth, 48);
    EXPECT_EQ(bitmap.bmHeight, 48);
}

TEST(ResourceUpdater, AFailedOrDiscardedUpdateLeavesTheFileUnchanged) {
    TempDir dir;
    std::wstring target = resourcetest::CopyOfBareLauncher(dir, L"target.exe");
    const std::string original = ReadBytes(target);
    {
        // A good resource, then one without its data: nothing is written.
        ResourceUpdater update(target);
        EXPECT_TRUE(update.AddData(kCatalogue, L"OS", L"1033", L"6.1.1", sizeof(L"6.1.1")));
        EXPECT_FALSE(update.AddData(kCatalogue, L"BROKEN", L"1033", nullptr, 4));
        EXPECT_NE(update.Error(), 0u);
        EXPECT_FALSE(update.End(true));
    }
    EXPECT_TRUE(ReadBytes(target) == original);
    {
        // A file that is missing, a bitmap that is none, an icon file that is
        // none: each fails and spoils the update.
        WriteBytes(dir.File(L"bad.ico"), std::string("\0\0\2\0\1\0", 6));
        for (int kind = 0; kind < 3; ++kind) {
            ResourceUpdater update(target);
            EXPECT_TRUE(update.AddData(kCatalogue, L"OS", L"1033", L"6.1.1", sizeof(L"6.1.1")));
            bool added = kind == 0   ? update.AddFileAsResource(kCatalogue, L"P", L"", dir.File(L"missing.bin"), true)
                         : kind == 1 ? update.AddFileAsResource(RT_BITMAP, L"B", L"", dir.File(L"bad.ico"), false)
                                     : update.AddFileAsResource(RT_ICON, L"I", L"", dir.File(L"bad.ico"), false);
            EXPECT_FALSE(added) << kind;
            EXPECT_FALSE(update.End(true)) << kind;
        }
    }
    EXPECT_TRUE(ReadBytes(target) == original);
    {
        // Discarded on purpose, and dropped without End.
        ResourceUpdater discarded(target);
        EXPECT_TRUE(discarded.AddData(kCatalogue, L"OS", L"1033", L"6.1.1", sizeof(L"6.1.1")));
        EXPECT_FALSE(discarded.End(false));
        ResourceUpdater dropped(target);
        EXPECT_TRUE(dropped.AddData(kCatalogue, L"OS", L"1033", L"6.1.1", sizeof(L"6.1.1")));
    }
    EXPECT_TRUE(ReadBytes(target) == original);
    // A file that is no program cannot be updated at all.
    WriteBytes(dir.File(L"text.exe"), "not a program");
    ResourceUpdater text(dir.File(L"text.exe"));
    EXPECT_FALSE(text.IsOpen());
    EXPECT_FALSE(text.AddData(kCatalogue, L"OS", L"1033", L"6.1.1", sizeof(L"6.1.1")));
    EXPECT_FALSE(text.End(true));
    EXPECT_EQ(ReadBytes(dir.File(L"text.exe")), "not a program");
}
