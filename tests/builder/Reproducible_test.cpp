// Shows that the same input bytes and options give the same installer byte
// for byte whatever the inputs' file times and the time zone: with
// SOURCE_DATE_EPOCH every time stamp written (the cabinet entries, the
// version block's file date, the program header) is that time; without it
// the cabinet entries carry the format's first day.
#include <gtest/gtest.h>

#include <cstring>

#include "icbs/EnvironmentOverride.h"
#include "icbs/VersionInfo.h"
#include "tests/builder/BuilderRun.h"

using namespace buildertest;

namespace {

constexpr long long kEpoch = 1700000000;  // 2023-11-14 22:13:20 UTC

// Copies of the two packages in a folder of their own, with the given
// last-write time.
void CopyPackages(const testsupport::TempDir& dir, WORD year) {
    SYSTEMTIME when = {year, 3, 0, 7, 9, 30, 0, 0};
    FILETIME stamp{};
    ::SystemTimeToFileTime(&when, &stamp);
    for (const wchar_t* name : {L"editor.msi", L"tools.msi"}) {
        ASSERT_TRUE(::CopyFileW(Fixture(name).c_str(), dir.File(name).c_str(), FALSE));
        HANDLE file = ::CreateFileW(dir.File(name).c_str(), FILE_WRITE_ATTRIBUTES, 0, nullptr, OPEN_EXISTING, 0, nullptr);
        ASSERT_NE(file, INVALID_HANDLE_VALUE);
        EXPECT_TRUE(::SetFileTime(file, &stamp, &stamp, &stamp));
        ::CloseHandle(file);
    }
}

std::string Build(const testsupport::TempDir& dir, const wchar_t* timeZone, const wchar_t* epoch) {
    icbs::EnvironmentOverride::Assignments assignments = {{L"TZ", timeZone}};
    if (epoch) assignments.emplace_back(L"SOURCE_DATE_EPOCH", epoch);
    icbs::EnvironmentOverride environment(assignments);
    BuilderResult built = RunBuilder(L"--out " + Quoted(dir.File(L"setup.exe")) + L" --package " +
                                     Quoted(dir.File(L"editor.msi")) + L" --package " + Quoted(dir.File(L"tools.msi")));
    EXPECT_EQ(built.exitCode, 0u) << testing::PrintToString(built.output);
    return testsupport::ReadBytes(dir.File(L"setup.exe"));
}

// The DOS date and time of the first entry of PACKAGE_<index>'s cabinet.
std::pair<uint16_t, uint16_t> EntryTime(const std::wstring& installer, int index) {
    for (const auto& [name, bytes] : CatalogueResources(installer)) {
        if (name.rfind(L"PACKAGE_" + std::to_wstring(index) + L"/", 0) != 0 || bytes.size() < 60) continue;
        const char* cabinet = bytes.data() + 4;
        uint32_t files = 0;
        uint16_t date = 0, time = 0;
        std::memcpy(&files, cabinet + 16, 4);
        std::memcpy(&date, cabinet + files + 10, 2);
        std::memcpy(&time, cabinet + files + 12, 2);
        return {date, time};
    }
    return {0, 0};
}

uint32_t HeaderTimeStamp(const std::string& program) {
    uint32_t pe = 0, stamp = 0;
    std::memcpy(&pe, program.data() + 0x3C, 4);
    std::memcpy(&stamp, program.data() + pe + 8, 4);
    return stamp;
}

}  // namespace

TEST(Reproducible, SourceDateEpochGivesEveryTimeStampAndTheSameBytes) {
    testsupport::TempDir first, second;
    CopyPackages(first, 2001);
    CopyPackages(second, 2024);
    std::string one = Build(first, L"UTC", L"1700000000");
    std::string two = Build(second, L"Asia/Tokyo", L"1700000000");
    ASSERT_FALSE(one.empty());
    EXPECT_TRUE(one == two) << "the installers differ";

    EXPECT_EQ(HeaderTimeStamp(one), static_cast<uint32_t>(kEpoch));
    VersionInfo info;
    ASSERT_TRUE(info.Read(first.File(L"setup.exe"), 1033));
    ULONGLONG fileDate = (static_cast<ULONGLONG>(info.fixed.dwFileDateMS) << 32) | info.fixed.dwFileDateLS;
    EXPECT_EQ(fileDate, (static_cast<ULONGLONG>(kEpoch) + 11644473600ULL) * 10000000ULL);
    // 2023-11-14 22:13:20 as DOS date and time, in UTC.
    const std::pair<uint16_t, uint16_t> expected = {static_cast<uint16_t>((2023 - 1980) << 9 | 11 << 5 | 14),
                                                    static_cast<uint16_t>(22 << 11 | 13 << 5 | 10)};
    EXPECT_EQ(EntryTime(first.File(L"setup.exe"), 0), expected);
    EXPECT_EQ(EntryTime(first.File(L"setup.exe"), 1), expected);
}

TEST(Reproducible, WithoutSourceDateEpochTimeZonesAndFileTimesDoNotMatter) {
    ASSERT_FALSE(icbs::EnvironmentOverride::Read(L"SOURCE_DATE_EPOCH"));
    testsupport::TempDir first, second;
    CopyPackages(first, 2001);
    CopyPackages(second, 2024);
    std::string one = Build(first, L"America/New_York", nullptr);
    std::string two = Build(second, L"Asia/Tokyo", nullptr);
    ASSERT_FALSE(one.empty());
    EXPECT_TRUE(one == two) << "the installers differ";
    const std::pair<uint16_t, uint16_t> firstDay = {static_cast<uint16_t>(1 << 5 | 1), 0};
    EXPECT_EQ(EntryTime(first.File(L"setup.exe"), 0), firstDay);
}
