// Shows the progress reports of an extraction: after every read of the cabinet OnBytes with the position and then OnPercent with the share read, ending at the cabinet's size and 100.
#include <gtest/gtest.h>

#include "icbs/CabinetExtractor.h"
#include "tests/icbs/cabinet/CabinetTestSupport.h"
#include "tests/support/TestSupport.h"

using namespace cabtest;
using testsupport::TempDir;

namespace {

// Checks the call pattern against the cabinet size: pairs of OnBytes and
// OnPercent, the percentage computed from the position just reported.
void ExpectProgressPattern(const ProgressRecorder& recorder, size_t cabinetSize) {
    const auto& calls = recorder.calls;
    ASSERT_GE(calls.size(), 2u);
    ASSERT_EQ(calls.size() % 2, 0u);
    long long largest = 0;
    for (size_t i = 0; i < calls.size(); i += 2) {
        SCOPED_TRACE("call " + std::to_string(i));
        ASSERT_EQ(calls[i].kind, ProgressRecorder::Bytes);
        ASSERT_EQ(calls[i + 1].kind, ProgressRecorder::Percent);
        long long position = calls[i].value;
        EXPECT_GE(position, 0);
        EXPECT_LE(position, static_cast<long long>(cabinetSize));
        EXPECT_EQ(calls[i + 1].value, position * 100 / static_cast<long long>(cabinetSize));
        if (position > largest) largest = position;
    }
    EXPECT_EQ(largest, static_cast<long long>(cabinetSize));
    EXPECT_EQ(calls[calls.size() - 2].value, static_cast<long long>(cabinetSize));
    EXPECT_EQ(calls.back().value, 100);
}

}  // namespace

TEST(CabinetProgress, ReportsEveryReadOfAGcabCabinet) {
    std::string cabinet = FixtureBytes(L"two.cab");
    TempDir target;
    ProgressRecorder recorder;
    CabinetExtractor extractor(L"Package.cab", CabinetImageFromBytes(cabinet), target.Path());
    ASSERT_TRUE(extractor.ExtractAll(&recorder));
    ExpectProgressPattern(recorder, cabinet.size());
    // Many reads: the header, the entries and every data block.
    EXPECT_GT(recorder.calls.size() / 2, 7u);
}

TEST(CabinetProgress, AThousandByteCabinetEndsAtAThousandAndOneHundred) {
    // Header 36 + folder 8 + file entry 16 + "a.txt" 6 + block header 8 leave
    // 926 bytes of stored data for exactly 1,000 bytes of cabinet.
    TempDir scratch, target;
    std::string cabinet = MakeCabinet({{L"a.txt", std::string(926, 'a')}}, tcompTYPE_NONE, scratch.Path());
    ASSERT_EQ(cabinet.size(), 1000u);
    ProgressRecorder recorder;
    CabinetExtractor extractor(L"Package.cab", CabinetImageFromBytes(cabinet), target.Path());
    ASSERT_TRUE(extractor.ExtractAll(&recorder));
    ExpectProgressPattern(recorder, 1000);
}

TEST(CabinetProgress, TheResourceCabinetCountsFromItsFirstCabinetByte) {
    // The 4-byte length prefix is not part of the positions reported.
    std::string blob = FixtureBytes(L"package.blob");
    TempDir target;
    ProgressRecorder recorder;
    CabinetExtractor extractor(L"Package.cab", L"TEST_PACKAGE", target.Path());
    ASSERT_TRUE(extractor.ExtractAll(&recorder));
    ExpectProgressPattern(recorder, blob.size() - 4);
}

TEST(CabinetProgress, OnlyTheExtractionGivenTheInterfaceReportsToIt) {
    std::string cabinet = FixtureBytes(L"two.cab");
    TempDir first, second, third;
    ProgressRecorder recorder;
    CabinetExtractor extractor(L"Package.cab", CabinetImageFromBytes(cabinet), first.Path());
    ASSERT_TRUE(extractor.ExtractAll(&recorder));
    size_t reported = recorder.calls.size();

    CabinetExtractor picker(L"Package.cab", CabinetImageFromBytes(cabinet), second.Path());
    EXPECT_TRUE(picker.ExtractFiles({{L"text.txt", L"", L""}}));
    CabinetExtractor quiet(L"Package.cab", CabinetImageFromBytes(cabinet), third.Path());
    EXPECT_TRUE(quiet.ExtractAll(nullptr));
    EXPECT_EQ(recorder.calls.size(), reported);
}

TEST(CabinetProgress, AnExceptionInTheProgressInterfaceStaysInsideAndFailsTheExtraction) {
    struct Throwing : ProgressRecorder {
        void OnBytes(unsigned bytesRead) override {
            ProgressRecorder::OnBytes(bytesRead);
            if (calls.size() > 6) throw std::runtime_error("progress consumer failed");
        }
    } throwing;
    std::string cabinet = FixtureBytes(L"two.cab");
    TempDir target;
    CabinetExtractor extractor(L"Package.cab", CabinetImageFromBytes(cabinet), target.Path());
    EXPECT_FALSE(extractor.ExtractAll(&throwing));
    for (const std::wstring& name : FolderEntries(target.Path()))
        EXPECT_EQ(testsupport::ReadBytes(target.File(name)), FixtureBytes(L"inputs\\" + name));
}
