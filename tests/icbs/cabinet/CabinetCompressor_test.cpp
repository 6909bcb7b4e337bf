// Shows how CabinetCompressor writes its cabinet: at the path given, through numbered temporary files that it removes again, complete after one flush that a later flush or destruction does not undo.
#include <gtest/gtest.h>

#include "framework/Text.h"
#include "icbs/CabinetCompressor.h"
#include "icbs/CabinetExtractor.h"
#include "tests/icbs/cabinet/CabinetTestSupport.h"
#include "tests/support/TestSupport.h"

using namespace cabtest;
using testsupport::ReadBytes;
using testsupport::TempDir;
using testsupport::WriteBytes;

namespace {

std::wstring TempName(int counter) {
    return testsupport::TempFolder() + fw::Format(L"QTX_CAB%x.tmp", counter);
}

std::vector<std::wstring> TempFilesLeft() {
    std::vector<std::wstring> left;
    for (const std::wstring& name : FolderEntries(testsupport::TempFolder()))
        if (fw::StartsWithNoCase(name, L"QTX_CAB")) left.push_back(name);
    return left;
}

bool Unpacks(const std::string& cabinet, const std::wstring& name, const std::string& contents) {
    TempDir target;
    CabinetExtractor extractor(L"Package.cab", CabinetImageFromBytes(cabinet), target.Path());
    return extractor.ExtractAll(nullptr) && ReadBytes(target.File(name)) == contents;
}

}  // namespace

TEST(CabinetCompressor, WritesTheCabinetAtThePathGivenAndRemovesItsTemporaryFiles) {
    TempDir sources, work;
    WriteBytes(sources.File(L"a.bin"), RandomBytes(200 * 1024, 1));
    ASSERT_TRUE(TempFilesLeft().empty());
    {
        CabinetCompressor compressor(work.File(L"out.cab"), tcompTYPE_MSZIP);
        ASSERT_TRUE(compressor.IsValid());
        ASSERT_TRUE(compressor.AddFile(sources.Path(), L"a.bin"));
        ASSERT_TRUE(compressor.Flush());
    }
    EXPECT_EQ(FolderEntries(work.Path()), std::vector<std::wstring>{L"out.cab"});
    EXPECT_TRUE(TempFilesLeft().empty());
    EXPECT_TRUE(Unpacks(ReadBytes(work.File(L"out.cab")), L"a.bin", RandomBytes(200 * 1024, 1)));
}

TEST(CabinetCompressor, TakesTheFirstFreeTemporaryNameAndLeavesOthersAlone) {
    TempDir sources, work;
    WriteBytes(sources.File(L"a.bin"), RandomBytes(100 * 1024, 2));
    WriteBytes(TempName(0), "someone else's");
    WriteBytes(TempName(1), "someone else's too");
    {
        CabinetCompressor compressor(work.File(L"out.cab"), tcompTYPE_MSZIP);
        ASSERT_TRUE(compressor.AddFile(sources.Path(), L"a.bin"));
        ASSERT_TRUE(compressor.Flush());
    }
    EXPECT_EQ(ReadBytes(TempName(0)), "someone else's");
    EXPECT_EQ(ReadBytes(TempName(1)), "someone else's too");
    EXPECT_EQ(TempFilesLeft(), (std::vector<std::wstring>{L"QTX_CAB0.tmp", L"QTX_CAB1.tmp"}));
    EXPECT_TRUE(Unpacks(ReadBytes(work.File(L"out.cab")), L"a.bin", RandomBytes(100 * 1024, 2)));
    ::DeleteFileW(TempName(0).c_str());
    ::DeleteFileW(TempName(1).c_str());
}

TEST(CabinetCompressor, FailsWhenAllTwoHundredFiftyFiveTemporaryNamesAreTaken) {
    for (int i = 0; i < 255; ++i) WriteBytes(TempName(i), "taken");
    TempDir sources, work;
    WriteBytes(sources.File(L"a.bin"), RandomBytes(50 * 1024, 3));
    bool made;
    {
        CabinetCompressor compressor(work.File(L"out.cab"), tcompTYPE_MSZIP);
        made = compressor.AddFile(sources.Path(), L"a.bin") && compressor.Flush();
    }
    EXPECT_FALSE(made);
    EXPECT_EQ(TempFilesLeft().size(), 255u);
    for (int i = 0; i < 255; ++i) ::DeleteFileW(TempName(i).c_str());
}

TEST(CabinetCompressor, AFinishedCabinetStaysAsItIs) {
    TempDir sources, work;
    WriteBytes(sources.File(L"a.txt"), TextBytes(100));
    WriteBytes(sources.File(L"b.txt"), TextBytes(50));
    std::string written;
    {
        CabinetCompressor compressor(work.File(L"out.cab"), tcompTYPE_MSZIP);
        ASSERT_TRUE(compressor.AddFile(sources.Path(), L"a.txt"));
        ASSERT_TRUE(compressor.Flush());
        written = ReadBytes(work.File(L"out.cab"));
        EXPECT_FALSE(compressor.AddFile(sources.Path(), L"b.txt"));
        EXPECT_TRUE(compressor.Flush());
    }
    EXPECT_EQ(ReadBytes(work.File(L"out.cab")), written);
    EXPECT_TRUE(Unpacks(written, L"a.txt", TextBytes(100)));
}

TEST(CabinetCompressor, DestructionWritesACabinetNotYetFlushed) {
    TempDir sources, work;
    WriteBytes(sources.File(L"a.txt"), TextBytes(10));
    {
        CabinetCompressor compressor(work.File(L"out.cab"), tcompTYPE_NONE);
        ASSERT_TRUE(compressor.AddFile(sources.Path(), L"a.txt", L"stored.txt"));
        EXPECT_TRUE(FolderEntries(work.Path()).empty());
    }
    EXPECT_TRUE(Unpacks(ReadBytes(work.File(L"out.cab")), L"stored.txt", TextBytes(10)));
}

TEST(CabinetCompressor, AMissingSourceFileFailsItsAddition) {
    TempDir sources, work;
    CabinetCompressor compressor(work.File(L"out.cab"), tcompTYPE_MSZIP);
    EXPECT_FALSE(compressor.AddFile(sources.Path(), L"not-there.txt"));
}
