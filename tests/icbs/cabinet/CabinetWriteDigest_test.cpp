// Shows that the digest taken from the bytes the cabinet library writes
// into an open file is the SHA-256 of the cabinet as it ends up in the file,
// without reading it back: for a compressed file followed by a stored one
// (two folders), and for a cabinet whose header counts are grown as it is
// written; and that the entries carry the time stamp given, not the file's.
#include <gtest/gtest.h>

#include <cstring>

#include "framework/Handles.h"
#include "icbs/CabinetCompressor.h"
#include "icbs/CabinetWriteDigest.h"
#include "tests/icbs/cabinet/CabinetTestSupport.h"
#include "tests/support/TestSupport.h"

using namespace cabtest;
using testsupport::ReadBytes;
using testsupport::TempDir;
using testsupport::WriteBytes;

namespace {

// Packs the sources into host.bin from offset 100 on; the cabinet's bytes.
std::string PackInto(const TempDir& work, const std::wstring& sources, CabinetWriteDigest& digest,
                     bool withStoredFile) {
    WriteBytes(work.File(L"host.bin"), std::string(100, 'x'));
    {
        fw::FileHandle host(::CreateFileW(work.File(L"host.bin").c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                                          OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
        CabinetCompressor compressor(host.get(), 100, tcompTYPE_MSZIP);
        compressor.UseEntryTime(0x5761, 0xB1AA);
        compressor.UseDigest(&digest);
        EXPECT_TRUE(compressor.AddFile(sources, L"a.bin"));
        if (withStoredFile) EXPECT_TRUE(compressor.AddStoredFile(sources, L"b.cab"));
        EXPECT_TRUE(compressor.Flush());
    }
    return ReadBytes(work.File(L"host.bin")).substr(100);
}

}  // namespace

TEST(CabinetWriteDigest, IsTheDigestOfTheCabinetAsWrittenWithTwoFolders) {
    TempDir sources, work, unpacked;
    WriteBytes(sources.File(L"a.bin"), RandomBytes(200 * 1024, 7) + TextBytes(3000));
    WriteBytes(sources.File(L"b.cab"), RandomBytes(70 * 1024, 8));
    CabinetWriteDigest digest;
    std::string cabinet = PackInto(work, sources.Path(), digest, true);
    ASSERT_TRUE(digest.Complete());
    EXPECT_EQ(digest.Final(), icbs::Sha256Of(cabinet.data(), cabinet.size()));
    uint16_t folders = 0, date = 0, time = 0;
    uint32_t files = 0;
    std::memcpy(&folders, cabinet.data() + 26, 2);
    std::memcpy(&files, cabinet.data() + 16, 4);
    std::memcpy(&date, cabinet.data() + files + 10, 2);
    std::memcpy(&time, cabinet.data() + files + 12, 2);
    EXPECT_EQ(folders, 2u) << "the stored file has a folder of its own";
    EXPECT_EQ(date, 0x5761);
    EXPECT_EQ(time, 0xB1AA);
}

TEST(CabinetWriteDigest, GrowsTheHeaderAsItPassesAndTakesItAsGrown) {
    TempDir sources, work;
    WriteBytes(sources.File(L"a.bin"), TextBytes(5000));
    CabinetWriteDigest plain;
    std::string original = PackInto(work, sources.Path(), plain, false);
    CabinetWriteDigest grown;
    grown.GrowHead({1000, 3, 70000});
    std::string cabinet = PackInto(work, sources.Path(), grown, false);
    ASSERT_TRUE(grown.Complete());
    EXPECT_EQ(grown.Final(), icbs::Sha256Of(cabinet.data(), cabinet.size()));
    ASSERT_EQ(cabinet.size(), original.size());
    uint32_t size = 0, originalSize = 0, files = 0, fileSize = 0, originalFileSize = 0;
    uint16_t blocks = 0, originalBlocks = 0;
    std::memcpy(&size, cabinet.data() + 8, 4);
    std::memcpy(&originalSize, original.data() + 8, 4);
    std::memcpy(&blocks, cabinet.data() + 40, 2);
    std::memcpy(&originalBlocks, original.data() + 40, 2);
    std::memcpy(&files, cabinet.data() + 16, 4);
    std::memcpy(&fileSize, cabinet.data() + files, 4);
    std::memcpy(&originalFileSize, original.data() + files, 4);
    EXPECT_EQ(size, originalSize + 1000);
    EXPECT_EQ(blocks, originalBlocks + 3);
    EXPECT_EQ(fileSize, originalFileSize + 70000);
    EXPECT_EQ(std::memcmp(cabinet.data(), "MSCF", 4), 0);
    EXPECT_EQ(cabinet.substr(44, files - 44), original.substr(44, files - 44));
}
