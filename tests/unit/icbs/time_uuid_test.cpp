// Shows the display texts for durations and timestamps and the form of new
// UUID strings.
#include <gtest/gtest.h>

#include <windows.h>
#include <rpc.h>

#include <climits>
#include <cwctype>
#include <string>

#include "icbs/TimeText.h"
#include "icbs/UuidString.h"

TEST(TimeAndIdText, DurationExamplesOfEachUnit) {
    EXPECT_EQ(icbs::DurationString(3725), L"1:02 hours");
    EXPECT_EQ(icbs::DurationString(125), L"2:05 minutes");
    EXPECT_EQ(icbs::DurationString(7), L"7 seconds");
}

TEST(TimeAndIdText, DurationUnitBoundaries) {
    EXPECT_EQ(icbs::DurationString(0), L"0 seconds");
    EXPECT_EQ(icbs::DurationString(59), L"59 seconds");
    EXPECT_EQ(icbs::DurationString(60), L"1:00 minutes");
    EXPECT_EQ(icbs::DurationString(3599), L"59:59 minutes");
    EXPECT_EQ(icbs::DurationString(3600), L"1:00 hours");
    EXPECT_EQ(icbs::DurationString(36059), L"10:00 hours");
    EXPECT_EQ(icbs::DurationString(360000), L"100:00 hours") << "hours are never cut to two digits";
}

TEST(TimeAndIdText, DurationNegativeDurationsGetAMinus) {
    EXPECT_EQ(icbs::DurationString(-125), L"-2:05 minutes");
    EXPECT_EQ(icbs::DurationString(-7), L"-7 seconds");
    // The most negative value cannot be negated in 32 bits.
    EXPECT_EQ(icbs::DurationString(LONG_MIN), L"-596523:14 hours");
}

TEST(TimeAndIdText, TimestampFieldsArePaddedToFixedWidths) {
    SYSTEMTIME time = {};
    time.wYear = 2024, time.wMonth = 3, time.wDay = 5, time.wHour = 7, time.wMinute = 8, time.wSecond = 9;
    EXPECT_EQ(icbs::TimestampString(time), L"2024-03-05 07:08:09");
    time.wYear = 987, time.wMonth = 12, time.wDay = 31, time.wHour = 23, time.wMinute = 59, time.wSecond = 58;
    EXPECT_EQ(icbs::TimestampString(time), L"0987-12-31 23:59:58");
}

TEST(TimeAndIdText, TimestampNowIsTheLocalTime) {
    SYSTEMTIME before, after;
    ::GetLocalTime(&before);
    std::wstring now = icbs::NowString();
    ::GetLocalTime(&after);
    // Equal to the text of one of the two readings around the call (the
    // second may tick over in between).
    EXPECT_TRUE(now == icbs::TimestampString(before) || now == icbs::TimestampString(after)) << now;
}

TEST(TimeAndIdText, NewUuidsHaveTheSystemStringForm) {
    std::wstring first = L"unchanged", second;
    ASSERT_TRUE(icbs::NewUuidString(first));
    ASSERT_TRUE(icbs::NewUuidString(second));
    ASSERT_EQ(first.size(), 36u);
    for (size_t i = 0; i < first.size(); ++i) {
        if (i == 8 || i == 13 || i == 18 || i == 23)
            EXPECT_EQ(first[i], L'-');
        else
            EXPECT_TRUE(std::iswxdigit(first[i])) << "at " << i;
    }
    EXPECT_NE(first, second);
    UUID parsed;
    EXPECT_EQ(::UuidFromStringW(reinterpret_cast<RPC_WSTR>(first.data()), &parsed), RPC_S_OK);
}
