// Shows that a disk filling up during extraction fails the extraction with the disk-full flag set and leaves no partial file; runs with a 1 MiB file system named in CABINET_SMALL_DISK.
#include <gtest/gtest.h>

#include <cstdlib>

#include "icbs/CabinetExtractor.h"
#include "icbs/CabinetStreams.h"
#include "tests/icbs/cabinet/CabinetTestSupport.h"
#include "tests/support/TestSupport.h"

using namespace cabtest;
using testsupport::TempDir;

namespace {

std::wstring SmallDisk() {
    const wchar_t* folder = _wgetenv(L"CABINET_SMALL_DISK");
    return folder ? folder : L"";
}

ULONGLONG FreeBytes(const std::wstring& folder) {
    ULARGE_INTEGER available = {};
    ::GetDiskFreeSpaceExW(folder.c_str(), &available, nullptr, nullptr);
    return available.QuadPart;
}

}  // namespace

TEST(CabinetDiskFull, ADiskThatFillsUpSetsTheFlagAndFails) {
    std::wstring disk = SmallDisk();
    ASSERT_FALSE(disk.empty()) << "run through run-with-small-disk.sh";
    std::wstring target = MakeFolder(disk + L"\\target");
    ULONGLONG freeBefore = FreeBytes(disk);
    ASSERT_GT(freeBefore, 0u);

    // Three MiB of zeros pack into a few kilobytes but do not fit on the disk.
    TempDir scratch;
    std::string cabinet = MakeCabinet({{L"small.txt", TextBytes(20)}, {L"zeros.bin", std::string(3 << 20, '\0')}},
                                      tcompTYPE_MSZIP, scratch.Path());
    ASSERT_FALSE(cabinet.empty());
    ASSERT_LT(cabinet.size(), freeBefore / 4);

    CabinetExtractor extractor(L"Package.cab", CabinetImageFromBytes(cabinet), target);
    EXPECT_FALSE(extractor.ExtractAll(nullptr));
    EXPECT_TRUE(CabinetExtractor::DiskFull());
    // small.txt was complete and stays; the partial zeros.bin is gone and its
    // space is free again.
    EXPECT_EQ(FolderEntries(target), std::vector<std::wstring>{L"small.txt"});
    EXPECT_GT(FreeBytes(disk), freeBefore / 2);
    EXPECT_EQ(cabinet_streams::OpenStreamCount(), 0u);
}

TEST(CabinetDiskFull, AFileThatFitsStillExtractsAndClearsTheFlag) {
    std::wstring disk = SmallDisk();
    ASSERT_FALSE(disk.empty()) << "run through run-with-small-disk.sh";
    TempDir scratch;
    std::string tooBig = MakeCabinet({{L"zeros.bin", std::string(2 << 20, '\0')}}, tcompTYPE_MSZIP, scratch.Path());
    std::string fits = MakeCabinet({{L"fits.txt", TextBytes(1000)}}, tcompTYPE_MSZIP, scratch.Path());
    std::wstring target = MakeFolder(disk + L"\\second");

    CabinetExtractor failing(L"Package.cab", CabinetImageFromBytes(tooBig), target);
    EXPECT_FALSE(failing.ExtractAll(nullptr));
    EXPECT_TRUE(CabinetExtractor::DiskFull());

    CabinetExtractor extractor(L"Package.cab", CabinetImageFromBytes(fits), target);
    EXPECT_TRUE(extractor.ExtractAll(nullptr));
    EXPECT_FALSE(CabinetExtractor::DiskFull());
    EXPECT_EQ(testsupport::ReadBytes(target + L"\\fits.txt"), TextBytes(1000));
}
