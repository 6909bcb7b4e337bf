// Shows which name patterns CreateUniqueFile accepts: exactly one integer
// conversion, and no conversion that would read a missing argument.
#include <gtest/gtest.h>

#include "icbs/UniqueFileName.h"

using icbs::IsCounterPattern;

TEST(CounterPattern, OneIntegerConversionIsAccepted) {
    for (const wchar_t* pattern : {L"QTX_CAB%x.tmp", L"%d", L"backup%03d.bak", L"f%-4i", L"%u%%.log", L"%%%X",
                                   L"n%.2o"})
        EXPECT_TRUE(IsCounterPattern(pattern)) << pattern;
}

TEST(CounterPattern, OtherConversionsAndCountsAreRefused) {
    for (const wchar_t* pattern : {L"plain.tmp", L"%s.tmp", L"%d%d", L"%ls", L"%*d", L"%n", L"%", L"end%",
                                   L"%ld", L"%%d", L"%p"})
        EXPECT_FALSE(IsCounterPattern(pattern)) << pattern;
}
