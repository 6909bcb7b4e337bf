// Shows that the installer's side log is converted chunk by chunk exactly as
// it would be whole (UTF-16 with its mark, ANSI text, double-byte and UTF-8
// characters split between chunks), and that a merge appends it to the log
// and deletes it only once it is appended.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "framework/Handles.h"
#include "framework/Text.h"
#include "launcher/InstallerLogMerge.h"
#include "tests/support/TestSupport.h"

namespace {

std::wstring ConvertInChunks(const std::string& bytes, size_t chunk, UINT codePage) {
    InstallerLogConverter converter(codePage);
    std::wstring text;
    for (size_t at = 0; at < bytes.size(); at += chunk)
        text += converter.Feed(bytes.data() + at, std::min(chunk, bytes.size() - at));
    return text + converter.Finish();
}

std::string Utf16Bytes(const std::wstring& text, bool mark) {
    std::string bytes = mark ? std::string("\xFF\xFE", 2) : std::string();
    bytes.append(reinterpret_cast<const char*>(text.data()), text.size() * sizeof(wchar_t));
    return bytes;
}

}  // namespace

TEST(InstallerLogConverter, EveryChunkSizeGivesTheTextOfTheWholeLog) {
    const std::wstring japanese = L"MSI (s) \u30a4\u30f3\u30b9\u30c8\u30fc\u30eb\u5b8c\u4e86 done\r\n";
    struct Case {
        const char* name;
        std::string bytes;
        UINT codePage;
        std::wstring expected;
    };
    const Case cases[] = {
        {"UTF-16 with its mark", Utf16Bytes(japanese, true), 1252, japanese},
        {"ANSI 1252", "Action start 12:00:00: InstallFiles. caf\xe9\r\n", 1252,
         L"Action start 12:00:00: InstallFiles. caf\u00e9\r\n"},
        {"double-byte 932", fw::ToCodePage(japanese, 932), 932, japanese},
        {"UTF-8", fw::ToCodePage(japanese, CP_UTF8), CP_UTF8, japanese},
        {"one byte", "x", 1252, L"x"},
    };
    for (const Case& each : cases) {
        bool utf16 = each.bytes.rfind(std::string("\xFF\xFE", 2), 0) == 0;
        if (!utf16) {
            ASSERT_EQ(fw::FromCodePage(fw::ToCodePage(each.expected, each.codePage), each.codePage), each.expected)
                << each.name << ": the code page is available";
        }
        for (size_t chunk = 1; chunk <= each.bytes.size() + 1; ++chunk)
            EXPECT_EQ(ConvertInChunks(each.bytes, chunk, each.codePage), each.expected) << each.name << ", " << chunk;
    }
}

TEST(InstallerLogConverter, NoCharacterIsCutAtAChunkEnd) {
    // 932: the lead byte of a double-byte character waits for its second byte.
    std::string bytes = fw::ToCodePage(L"\u5b8c", 932);
    ASSERT_EQ(bytes.size(), 2u);
    std::string lead = bytes.substr(0, 1);
    EXPECT_EQ(CompleteCharactersLength(lead, 932), 0u);
    EXPECT_EQ(CompleteCharactersLength(std::string("a").append(bytes), 932), 3u);
    EXPECT_EQ(CompleteCharactersLength(std::string("a").append(lead), 932), 1u);
    // UTF-8: an incomplete sequence waits, a complete one does not.
    std::string utf8 = fw::ToCodePage(L"\u30a4", CP_UTF8);
    ASSERT_EQ(utf8.size(), 3u);
    EXPECT_EQ(CompleteCharactersLength(std::string("ab").append(utf8, 0, 2), CP_UTF8), 2u);
    EXPECT_EQ(CompleteCharactersLength(std::string("ab").append(utf8), CP_UTF8), 5u);
    // A single-byte code page never waits.
    EXPECT_EQ(CompleteCharactersLength("\xe9\xe9", 1252), 2u);
}

TEST(MergeInstallerLog, AppendsInChunksThenDeletesTheSideFile) {
    testsupport::TempDir dir;
    std::wstring side = dir.File(L"setup.log.installer");
    std::wstring text;
    for (int i = 0; i < 2000; ++i) text += L"MSI (c) line " + std::to_wstring(i) + L" \u00e9\r\n";
    testsupport::WriteBytes(side, Utf16Bytes(text, true));
    std::wstring logPath = dir.File(L"setup.log");
    {
        fw::FileHandle log(::CreateFileW(logPath.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_ALWAYS,
                                         FILE_ATTRIBUTE_NORMAL, nullptr));
        ASSERT_TRUE(log);
        EXPECT_TRUE(MergeInstallerLog(side, log.get(), 333));
        // Nothing left to merge a second time.
        EXPECT_FALSE(MergeInstallerLog(side, log.get(), 333));
    }
    EXPECT_EQ(testsupport::ReadUtf16(logPath), text);
    EXPECT_FALSE(testsupport::FileExists(side));
}

TEST(MergeInstallerLog, ASideFileThatCannotBeAppendedStays) {
    testsupport::TempDir dir;
    std::wstring side = dir.File(L"setup.log.installer");
    testsupport::WriteBytes(side, "Installer log that must not be lost\r\n");
    EXPECT_FALSE(MergeInstallerLog(side, INVALID_HANDLE_VALUE));
    // A log opened without write access cannot take it.
    std::wstring logPath = dir.File(L"setup.log");
    testsupport::WriteBytes(logPath, "");
    fw::FileHandle readOnly(::CreateFileW(logPath.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                          OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    ASSERT_TRUE(readOnly);
    EXPECT_FALSE(MergeInstallerLog(side, readOnly.get()));
    EXPECT_EQ(testsupport::ReadBytes(side), "Installer log that must not be lost\r\n");
}
