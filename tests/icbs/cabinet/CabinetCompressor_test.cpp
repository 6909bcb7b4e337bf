// Shows how CabinetCompressor writes its cabinet: at the path given (or into an open file from an offset on, leaving what comes before, or of a part of a file), through numbered temporary files that it removes again, complete after one flush that a later flush or destruction does not undo.
#include <gtest/gtest.h>

#include "framework/Handles.h"
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
        if (fw::StartsWithNoCase(name, L"QTX_CA")) left.push_back(name);
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

TEST(CabinetCompressor, WritesIntoAnOpenFileFromAnOffsetTheSameCabinetAsAtAPath) {
    TempDir sources, work;
    std::string contents = RandomBytes(300 * 1024, 3) + TextBytes(2000);
    WriteBytes(sources.File(L"a.bin"), contents);
    {
        CabinetCompressor compressor(work.File(L"alone.cab"), tcompTYPE_MSZIP);
        ASSERT_TRUE(compressor.AddFile(sources.Path(), L"a.bin"));
        ASSERT_TRUE(compressor.Flush());
    }
    const std::string before(1001, 'x');
    WriteBytes(work.File(L"host.bin"), before);
    fw::FileHandle host(::CreateFileW(work.File(L"host.bin").c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                                      OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    ASSERT_TRUE(host);
    {
        CabinetCompressor compressor(host.get(), static_cast<LONG>(before.size()), tcompTYPE_MSZIP);
        ASSERT_TRUE(compressor.IsValid());
        ASSERT_TRUE(compressor.AddFile(sources.Path(), L"a.bin"));
        ASSERT_TRUE(compressor.Flush());
    }
    // The file stays the caller's, open and usable.
    LARGE_INTEGER size{};
    EXPECT_TRUE(::GetFileSizeEx(host.get(), &size));
    host.reset();
    std::string hosted = ReadBytes(work.File(L"host.bin"));
    std::string alone = ReadBytes(work.File(L"alone.cab"));
    EXPECT_EQ(static_cast<size_t>(size.QuadPart), hosted.size());
    ASSERT_EQ(hosted.size(), before.size() + alone.size());
    EXPECT_EQ(hosted.substr(0, before.size()), before);
    EXPECT_TRUE(hosted.substr(before.size()) == alone);
    EXPECT_TRUE(Unpacks(hosted.substr(before.size()), L"a.bin", contents));
    EXPECT_EQ(FolderEntries(work.Path()), (std::vector<std::wstring>{L"alone.cab", L"host.bin"}));
    EXPECT_TRUE(TempFilesLeft().empty());
}

TEST(CabinetCompressor, PacksAPartOfAFileUnderTheFilesNameBesideASecondCompressor) {
    TempDir sources, work;
    std::string contents = TextBytes(3000) + RandomBytes(100 * 1024, 4);
    WriteBytes(sources.File(L"a.bin"), contents);
    {
        CabinetCompressor first(work.File(L"first.cab"), tcompTYPE_MSZIP);
        CabinetCompressor second(work.File(L"second.cab"), tcompTYPE_MSZIP);
        second.UseTemporaryPattern(cabinet_fci::kSecondTempFilePattern);
        // Both are open, each with its temporary files, at the same time.
        ASSERT_TRUE(first.AddFilePart(sources.Path(), L"a.bin", 0, 65536));
        ASSERT_TRUE(second.AddFilePart(sources.Path(), L"a.bin", 65536, contents.size() - 65536));
        ASSERT_TRUE(first.Flush());
        ASSERT_TRUE(second.Flush());
    }
    EXPECT_TRUE(Unpacks(ReadBytes(work.File(L"first.cab")), L"a.bin", contents.substr(0, 65536)));
    EXPECT_TRUE(Unpacks(ReadBytes(work.File(L"second.cab")), L"a.bin", contents.substr(65536)));
    EXPECT_TRUE(TempFilesLeft().empty());
}
