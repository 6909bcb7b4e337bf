// Shows that environment overrides hold while their owner lives and that
// every variable gets its earlier state back afterwards (removed when it did
// not exist, empty values kept apart from missing ones).
#include <windows.h>

#include <gtest/gtest.h>

#include "icbs/EnvironmentOverride.h"

using icbs::EnvironmentOverride;

TEST(EnvironmentOverrides, ValuesHoldWhileTheOwnerLivesAndAreRestoredAfterwards) {
    ::SetEnvironmentVariableW(L"EO_EXISTING", L"old");
    ::SetEnvironmentVariableW(L"EO_EMPTY", L"");
    ::SetEnvironmentVariableW(L"EO_MISSING", nullptr);
    {
        EnvironmentOverride overrides({{L"EO_EXISTING", L"new"}, {L"EO_EMPTY", L"filled"}, {L"EO_MISSING", L"x"}});
        EXPECT_EQ(L"new", EnvironmentOverride::Read(L"EO_EXISTING").value_or(L"?"));
        EXPECT_EQ(L"filled", EnvironmentOverride::Read(L"EO_EMPTY").value_or(L"?"));
        EXPECT_EQ(L"x", EnvironmentOverride::Read(L"EO_MISSING").value_or(L"?"));
    }
    EXPECT_EQ(L"old", EnvironmentOverride::Read(L"EO_EXISTING").value_or(L"?"));
    EXPECT_EQ(L"", EnvironmentOverride::Read(L"EO_EMPTY").value_or(L"?"));
    EXPECT_FALSE(EnvironmentOverride::Read(L"EO_MISSING").has_value());
}

TEST(EnvironmentOverrides, AVariableNamedTwiceReturnsToItsFirstValue) {
    ::SetEnvironmentVariableW(L"EO_TWICE", L"original");
    {
        EnvironmentOverride overrides({{L"EO_TWICE", L"one"}, {L"EO_TWICE", L"two"}});
        EXPECT_EQ(L"two", EnvironmentOverride::Read(L"EO_TWICE").value_or(L"?"));
    }
    EXPECT_EQ(L"original", EnvironmentOverride::Read(L"EO_TWICE").value_or(L"?"));
}

TEST(EnvironmentOverrides, LongValuesAreReadWhole) {
    std::wstring value(5000, L'v');
    EnvironmentOverride overrides({{L"EO_LONG", value}});
    EXPECT_EQ(value, EnvironmentOverride::Read(L"EO_LONG").value_or(L"?"));
}
