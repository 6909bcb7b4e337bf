// Shows that truncated and damaged cabinets fail cleanly: a false result, no crash, no stream left open, and no partly written file left under its target name.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>

#include "icbs/CabinetExtractor.h"
#include "icbs/CabinetStreams.h"
#include "tests/icbs/cabinet/CabinetTestSupport.h"
#include "tests/support/TestSupport.h"

using namespace cabtest;
using testsupport::ReadBytes;
using testsupport::TempDir;

namespace {

uint32_t U32(const std::string& bytes, size_t offset) {
    uint32_t value;
    std::memcpy(&value, bytes.data() + offset, 4);
    return value;
}
uint16_t U16(const std::string& bytes, size_t offset) {
    uint16_t value;
    std::memcpy(&value, bytes.data() + offset, 2);
    return value;
}

// Where the data blocks of the cabinet's first folder start (from its
// CFFOLDER entry right after the 36-byte header).
size_t FirstDataBlock(const std::string& cabinet) { return U32(cabinet, 36); }
// The offset of the second data block.
size_t SecondDataBlock(const std::string& cabinet) {
    size_t first = FirstDataBlock(cabinet);
    return first + 8 + U16(cabinet, first + 4);
}

struct Outcome {
    bool extracted;
    bool diskFull;
    std::vector<std::wstring> files;
};

Outcome Extract(const std::string& cabinet, const std::wstring& folder) {
    CabinetExtractor extractor(L"Package.cab", CabinetImageFromBytes(cabinet), folder);
    bool extracted = extractor.ExtractAll(nullptr);
    return {extracted, CabinetExtractor::DiskFull(), FolderEntries(folder)};
}

// Whatever a failed extraction leaves is a complete, correct file.
void ExpectOnlyCompleteFiles(const std::wstring& folder, const std::vector<std::wstring>& files) {
    for (const std::wstring& name : files)
        EXPECT_EQ(ReadBytes(folder + L"\\" + name), FixtureBytes(L"inputs\\" + name)) << "partial file left";
}

}  // namespace

TEST(CabinetDamage, TheFixtureCabinetItselfIsSound) {
    TempDir target;
    Outcome outcome = Extract(FixtureBytes(L"two.cab"), target.Path());
    EXPECT_TRUE(outcome.extracted);
    EXPECT_EQ(outcome.files, (std::vector<std::wstring>{L"random.bin", L"text.txt"}));
}

TEST(CabinetDamage, TruncatedCabinetsFailAtEveryCut) {
    std::string whole = FixtureBytes(L"two.cab");
    ASSERT_GT(whole.size(), 1000u);
    size_t filesStart = U32(whole, 16);
    std::vector<size_t> cuts = {0, 10, 35, 40, filesStart + 5, FirstDataBlock(whole) + 4,
                                SecondDataBlock(whole) + 100, whole.size() / 2, whole.size() - 1};
    for (size_t cut : cuts) {
        SCOPED_TRACE("cut at " + std::to_string(cut));
        TempDir target;
        Outcome outcome = Extract(whole.substr(0, cut), target.Path());
        EXPECT_FALSE(outcome.extracted);
        EXPECT_FALSE(outcome.diskFull);
        EXPECT_LT(outcome.files.size(), 2u);
        ExpectOnlyCompleteFiles(target.Path(), outcome.files);
        EXPECT_EQ(cabinet_streams::OpenStreamCount(), 0u);
    }
}

TEST(CabinetDamage, ACutInsideTheFirstFileLeavesNothing) {
    // random.bin is stored first and spans several blocks: a cut in its second
    // block leaves it incomplete, and text.txt is never reached.
    std::string whole = FixtureBytes(L"two.cab");
    TempDir target;
    Outcome outcome = Extract(whole.substr(0, SecondDataBlock(whole) + 100), target.Path());
    EXPECT_FALSE(outcome.extracted);
    EXPECT_TRUE(outcome.files.empty());
}

TEST(CabinetDamage, ADamagedDataBlockFailsByItsChecksum) {
    std::string cabinet = FixtureBytes(L"two.cab");
    size_t block = SecondDataBlock(cabinet);
    ASSERT_NE(U32(cabinet, block), 0u) << "gcab stores block checksums";
    cabinet[block + 8 + 200] ^= 0x5A;
    TempDir target;
    Outcome outcome = Extract(cabinet, target.Path());
    EXPECT_FALSE(outcome.extracted);
    EXPECT_FALSE(outcome.diskFull);
    EXPECT_TRUE(outcome.files.empty());
    EXPECT_EQ(cabinet_streams::OpenStreamCount(), 0u);
}

TEST(CabinetDamage, ADamagedBlockWithoutChecksumFailsInTheDecoder) {
    // No checksum to catch it: the block's MSZIP signature "CK" is broken.
    std::string cabinet = FixtureBytes(L"two.cab");
    size_t block = SecondDataBlock(cabinet);
    std::memset(&cabinet[block], 0, 4);
    ASSERT_EQ(cabinet.substr(block + 8, 2), "CK");
    cabinet[block + 8] = 'X';
    TempDir target;
    Outcome outcome = Extract(cabinet, target.Path());
    EXPECT_FALSE(outcome.extracted);
    EXPECT_TRUE(outcome.files.empty());
}

TEST(CabinetDamage, AnOverwrittenTargetIsNotLeftHalfWritten) {
    // A file of the target name exists; after the failure it is gone rather
    // than holding part of the new contents.
    std::string cabinet = FixtureBytes(L"two.cab");
    cabinet[SecondDataBlock(cabinet) + 8 + 200] ^= 0x5A;
    TempDir target;
    testsupport::WriteBytes(target.File(L"random.bin"), "old contents");
    Outcome outcome = Extract(cabinet, target.Path());
    EXPECT_FALSE(outcome.extracted);
    EXPECT_TRUE(outcome.files.empty());
}

TEST(CabinetDamage, DamagedHeadersFail) {
    std::string whole = FixtureBytes(L"two.cab");
    struct Damage {
        const char* what;
        size_t offset;
        uint32_t value;
        int width;
    };
    for (const Damage& damage : {Damage{"folder data beyond the end", 36, 0x7FFFFFF0u, 4},
                                 Damage{"folder data before the header's end", 36, 4u, 4},
                                 Damage{"many more files than stored", 28, 0xFFFFu, 2},
                                 Damage{"not a cabinet", 0, 0x464D5358u, 4}}) {
        SCOPED_TRACE(damage.what);
        std::string cabinet = whole;
        std::memcpy(&cabinet[damage.offset], &damage.value, damage.width);
        TempDir target;
        Outcome outcome = Extract(cabinet, target.Path());
        EXPECT_FALSE(outcome.extracted);
        ExpectOnlyCompleteFiles(target.Path(), outcome.files);
        EXPECT_EQ(cabinet_streams::OpenStreamCount(), 0u);
    }
}
