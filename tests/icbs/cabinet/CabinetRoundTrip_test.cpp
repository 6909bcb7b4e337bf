// Shows that cabinets made by CabinetCompressor unpack with CabinetExtractor to identical files (large incompressible ones too, both compression types), with the stored time, and that requests pick out, rename and place only the files they name.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <map>

#include "framework/Handles.h"

#include "icbs/CabinetCompressor.h"
#include "icbs/CabinetExtractor.h"
#include "tests/icbs/cabinet/CabinetTestSupport.h"
#include "tests/support/TestSupport.h"

using namespace cabtest;
using testsupport::ReadBytes;
using testsupport::TempDir;
using testsupport::WriteBytes;

namespace {

std::map<std::wstring, std::string> SampleFiles() {
    return {{L"alpha.txt", TextBytes(500)},
            {L"big.bin", RandomBytes(1536 * 1024 + 7, 42)},  // > 1 MiB, cannot be compressed
            {L"zeros.bin", std::string(300 * 1024, '\0')},
            {L"empty.dat", std::string()},
            {L"odd.bin", RandomBytes(32768 + 1, 9)}};  // one byte past a block
}

// Writes the files into folder and compresses the folder into cabinet.
bool Compress(const std::map<std::wstring, std::string>& files, const std::wstring& folder,
              const std::wstring& cabinet, TCOMP compression) {
    for (const auto& [name, contents] : files) WriteBytes(folder + L"\\" + name, contents);
    CabinetCompressor compressor(cabinet, compression);
    return compressor.AddFolder(folder, CabinetCompressor::kTopFolderOnly) && compressor.Flush();
}

void ExpectFiles(const std::wstring& folder, const std::map<std::wstring, std::string>& files) {
    std::vector<std::wstring> names;
    for (const auto& entry : files) names.push_back(entry.first);
    EXPECT_EQ(FolderEntries(folder), names);
    for (const auto& [name, contents] : files) {
        std::string read = ReadBytes(folder + L"\\" + name);
        EXPECT_EQ(read.size(), contents.size()) << name;
        EXPECT_TRUE(read == contents) << name;
    }
}

}  // namespace

TEST(CabinetRoundTrip, SeveralFilesComeBackIdentical) {
    auto files = SampleFiles();
    for (TCOMP compression : {tcompTYPE_MSZIP, tcompTYPE_NONE}) {
        SCOPED_TRACE("compression type " + std::to_string(compression));
        TempDir sources, work, target;
        std::wstring cabinetPath = work.File(L"made.cab");
        ASSERT_TRUE(Compress(files, sources.Path(), cabinetPath, compression));
        std::string cabinet = ReadBytes(cabinetPath);
        ASSERT_EQ(cabinet.substr(0, 4), "MSCF");
        if (compression == tcompTYPE_NONE) EXPECT_GT(cabinet.size(), 1536u * 1024 + 300u * 1024);
        else EXPECT_LT(cabinet.size(), 1600u * 1024 + 64u * 1024);

        CabinetExtractor extractor(L"Package.cab", CabinetImageFromBytes(cabinet), target.Path());
        EXPECT_TRUE(extractor.ExtractAll(nullptr));
        ExpectFiles(target.Path(), files);
    }
}

TEST(CabinetRoundTrip, RequestsPickOutOnlyTheNamedFiles) {
    TempDir sources, work, target, elsewhere;
    auto files = SampleFiles();
    ASSERT_TRUE(Compress(files, sources.Path(), work.File(L"made.cab"), tcompTYPE_MSZIP));
    std::string cabinet = ReadBytes(work.File(L"made.cab"));

    CabinetExtractor extractor(L"Package.cab", CabinetImageFromBytes(cabinet), target.Path());
    EXPECT_TRUE(extractor.ExtractFiles({{L"alpha.txt", L"", L""},
                                        {L"big.bin", L"renamed.bin", L""},
                                        {L"zeros.bin", L"", elsewhere.Path()}}));
    EXPECT_EQ(FolderEntries(target.Path()), (std::vector<std::wstring>{L"alpha.txt", L"renamed.bin"}));
    EXPECT_EQ(ReadBytes(target.File(L"alpha.txt")), files[L"alpha.txt"]);
    EXPECT_TRUE(ReadBytes(target.File(L"renamed.bin")) == files[L"big.bin"]);
    EXPECT_EQ(FolderEntries(elsewhere.Path()), std::vector<std::wstring>{L"zeros.bin"});

    // The request list is used up: the same extractor takes a new one.
    TempDir again;
    EXPECT_TRUE(extractor.ExtractFiles({{L"empty.dat", L"", again.Path()}}));
    EXPECT_EQ(FolderEntries(again.Path()), std::vector<std::wstring>{L"empty.dat"});
}

TEST(CabinetRoundTrip, ARequestForAFileNotInTheCabinetFails) {
    TempDir sources, work, target;
    auto files = SampleFiles();
    ASSERT_TRUE(Compress(files, sources.Path(), work.File(L"made.cab"), tcompTYPE_MSZIP));
    std::string cabinet = ReadBytes(work.File(L"made.cab"));
    CabinetExtractor extractor(L"Package.cab", CabinetImageFromBytes(cabinet), target.Path());
    // Names match exactly, case included.
    EXPECT_FALSE(extractor.ExtractFiles({{L"alpha.txt", L"", L""}, {L"ALPHA.TXT", L"", L""}}));
    EXPECT_EQ(FolderEntries(target.Path()), std::vector<std::wstring>{L"alpha.txt"});
    EXPECT_FALSE(extractor.ExtractFiles({{L"missing.txt", L"", L""}}));
}

TEST(CabinetRoundTrip, TheFirstOfTwoRequestsForOneNameDecides) {
    TempDir sources, work, target, first, second;
    auto files = SampleFiles();
    ASSERT_TRUE(Compress(files, sources.Path(), work.File(L"made.cab"), tcompTYPE_NONE));
    std::string cabinet = ReadBytes(work.File(L"made.cab"));
    CabinetExtractor extractor(L"Package.cab", CabinetImageFromBytes(cabinet), target.Path());
    // The entry consumes the first request; the second finds no entry left.
    EXPECT_FALSE(extractor.ExtractFiles({{L"alpha.txt", L"", first.Path()}, {L"alpha.txt", L"", second.Path()}}));
    EXPECT_EQ(FolderEntries(first.Path()), std::vector<std::wstring>{L"alpha.txt"});
    EXPECT_TRUE(FolderEntries(second.Path()).empty());
}

TEST(CabinetRoundTrip, TheCabinetCarriesTheSourceTimeAsDosDateAndTime) {
    TempDir sources, work, target;
    WriteBytes(sources.File(L"dated.txt"), "dated");
    // 2021-03-04 05:06:08 local time (even seconds: DOS times count in twos).
    SYSTEMTIME when = {2021, 3, 4, 4, 5, 6, 8, 0};
    FILETIME local, stamped;
    ASSERT_TRUE(::SystemTimeToFileTime(&when, &local));
    ASSERT_TRUE(::LocalFileTimeToFileTime(&local, &stamped));
    {
        fw::FileHandle file(::CreateFileW(sources.File(L"dated.txt").c_str(), FILE_WRITE_ATTRIBUTES, 0, nullptr,
                                          OPEN_EXISTING, 0, nullptr));
        ASSERT_TRUE(::SetFileTime(file.get(), nullptr, nullptr, &stamped));
    }
    {
        CabinetCompressor compressor(work.File(L"made.cab"), tcompTYPE_MSZIP);
        ASSERT_TRUE(compressor.AddFile(sources.Path(), L"dated.txt"));
    }
    std::string cabinet = ReadBytes(work.File(L"made.cab"));
    // The first file entry: size 4, offset 4, folder 2, then date and time.
    uint32_t files;
    uint16_t date, time;
    std::memcpy(&files, cabinet.data() + 16, 4);
    std::memcpy(&date, cabinet.data() + files + 10, 2);
    std::memcpy(&time, cabinet.data() + files + 12, 2);
    EXPECT_EQ(date, ((2021 - 1980) << 9) | (3 << 5) | 4);
    EXPECT_EQ(time, (5 << 11) | (6 << 5) | (8 / 2));
    EXPECT_EQ(cabinet.substr(files + 16, 10), std::string("dated.txt", 10));

    CabinetExtractor extractor(L"Package.cab", CabinetImageFromBytes(cabinet), target.Path());
    EXPECT_TRUE(extractor.ExtractAll(nullptr));
    EXPECT_EQ(ReadBytes(target.File(L"dated.txt")), "dated");
}

TEST(CabinetRoundTrip, FoldersWithSubfoldersKeepRelativeNamesInTheCabinet) {
    TempDir sources, work, target, picked;
    WriteBytes(sources.File(L"top.txt"), "top");
    MakeFolder(sources.File(L"sub"));
    MakeFolder(sources.File(L"sub\\inner"));
    WriteBytes(sources.File(L"sub\\middle.txt"), "middle");
    WriteBytes(sources.File(L"sub\\inner\\deep.txt"), "deep");
    {
        CabinetCompressor compressor(work.File(L"tree.cab"), tcompTYPE_MSZIP);
        ASSERT_TRUE(compressor.AddFolder(sources.Path(), CabinetCompressor::kIncludeSubfolders));
        ASSERT_TRUE(compressor.Flush());
    }
    std::string cabinet = ReadBytes(work.File(L"tree.cab"));
    EXPECT_NE(cabinet.find("sub\\inner\\deep.txt"), std::string::npos);

    // Unpacked flat, each file under its own name.
    CabinetExtractor all(L"Package.cab", CabinetImageFromBytes(cabinet), target.Path());
    EXPECT_TRUE(all.ExtractAll(nullptr));
    EXPECT_EQ(FolderEntries(target.Path()), (std::vector<std::wstring>{L"deep.txt", L"middle.txt", L"top.txt"}));
    EXPECT_EQ(ReadBytes(target.File(L"deep.txt")), "deep");

    CabinetExtractor one(L"Package.cab", CabinetImageFromBytes(cabinet), picked.Path());
    EXPECT_TRUE(one.ExtractFiles({{L"sub\\inner\\deep.txt", L"", L""}}));
    EXPECT_EQ(FolderEntries(picked.Path()), std::vector<std::wstring>{L"deep.txt"});
}
