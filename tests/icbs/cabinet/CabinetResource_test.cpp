// Shows that cabinets embedded as type-40 resources (length prefix and gcab-made cabinet) unpack from the program's own module or a given module, and that a missing resource fails without touching any file.
#include <gtest/gtest.h>

#include <windows.h>

#include "icbs/CabinetExtractor.h"
#include "icbs/CabinetStreams.h"
#include "tests/icbs/cabinet/CabinetTestSupport.h"
#include "tests/support/TestSupport.h"

using namespace cabtest;
using testsupport::ReadBytes;
using testsupport::TempDir;

namespace {

void ExpectFixtureFilesIn(const std::wstring& folder) {
    EXPECT_EQ(FolderEntries(folder), (std::vector<std::wstring>{L"random.bin", L"text.txt"}));
    EXPECT_EQ(ReadBytes(folder + L"\\random.bin"), FixtureBytes(L"inputs\\random.bin"));
    EXPECT_EQ(ReadBytes(folder + L"\\text.txt"), FixtureBytes(L"inputs\\text.txt"));
}

std::wstring OwnPath() {
    wchar_t path[MAX_PATH];
    DWORD length = ::GetModuleFileNameW(nullptr, path, MAX_PATH);
    return std::wstring(path, length);
}

}  // namespace

TEST(CabinetResource, UnpacksTheResourceOfTheProgramItself) {
    TempDir target;
    CabinetExtractor extractor(L"Package.cab", L"TEST_PACKAGE", target.Path());
    ASSERT_TRUE(extractor.HasCabinet());
    EXPECT_TRUE(extractor.ExtractAll(nullptr));
    EXPECT_FALSE(CabinetExtractor::DiskFull());
    ExpectFixtureFilesIn(target.Path());
    EXPECT_EQ(cabinet_streams::OpenStreamCount(), 0u);
}

TEST(CabinetResource, UnpacksTheResourceOfAGivenModule) {
    // A copy of the program's own file, loaded as a resource-only image: a
    // module other than the running program.
    TempDir copies;
    std::wstring copy = copies.File(L"resources.exe");
    ASSERT_TRUE(::CopyFileW(OwnPath().c_str(), copy.c_str(), FALSE));
    HMODULE module = ::LoadLibraryExW(copy.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    ASSERT_NE(module, nullptr);
    ASSERT_NE(module, ::GetModuleHandleW(nullptr));
    {
        TempDir target;
        CabinetExtractor extractor(module, L"Package.cab", L"TEST_PACKAGE", target.Path());
        EXPECT_TRUE(extractor.ExtractAll(nullptr));
        ExpectFixtureFilesIn(target.Path());
    }
    ::FreeLibrary(module);
}

TEST(CabinetResource, ALengthBeyondTheResourceReadsOnlyTheBytesPresent) {
    // The prefix claims 1,000 bytes more than the resource holds.
    TempDir target;
    CabinetExtractor extractor(L"Package.cab", L"TEST_PACKAGE_LONG", target.Path());
    ASSERT_TRUE(extractor.HasCabinet());
    EXPECT_TRUE(extractor.ExtractAll(nullptr));
    ExpectFixtureFilesIn(target.Path());
}

TEST(CabinetResource, AResourceShorterThanItsLengthHoldsNoCabinet) {
    TempDir target;
    CabinetExtractor extractor(L"Package.cab", L"TEST_PACKAGE_TINY", target.Path());
    EXPECT_FALSE(extractor.HasCabinet());
    EXPECT_FALSE(extractor.ExtractAll(nullptr));
    EXPECT_TRUE(FolderEntries(target.Path()).empty());
}

TEST(CabinetResource, AMissingResourceFailsAndNoFileStandsInForIt) {
    // A real cabinet named like the one asked for lies in the current folder;
    // it must not be unpacked in place of the missing resource.
    TempDir decoy;
    TempDir target;
    testsupport::WriteBytes(decoy.File(L"Package.cab"), FixtureBytes(L"two.cab"));
    wchar_t previous[MAX_PATH];
    ::GetCurrentDirectoryW(MAX_PATH, previous);
    ASSERT_TRUE(::SetCurrentDirectoryW(decoy.Path().c_str()));

    CabinetExtractor extractor(L"Package.cab", L"NO_SUCH_PACKAGE", target.Path());
    bool extracted = extractor.ExtractAll(nullptr);
    ::SetCurrentDirectoryW(previous);

    EXPECT_FALSE(extractor.HasCabinet());
    EXPECT_FALSE(extracted);
    EXPECT_FALSE(CabinetExtractor::DiskFull());
    EXPECT_TRUE(FolderEntries(target.Path()).empty());
    EXPECT_EQ(FolderEntries(decoy.Path()), std::vector<std::wstring>{L"Package.cab"});
}

TEST(CabinetResource, AMissingTargetFolderFailsTheExtraction) {
    TempDir parent;
    CabinetExtractor extractor(L"Package.cab", L"TEST_PACKAGE", parent.File(L"not-there"));
    EXPECT_FALSE(extractor.ExtractAll(nullptr));
    EXPECT_TRUE(FolderEntries(parent.Path()).empty());
    EXPECT_EQ(cabinet_streams::OpenStreamCount(), 0u);
}
