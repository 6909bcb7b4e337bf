// Log verbosity follows the last of the error, warning, info and verbose
// bits of the log mode.
#include <gtest/gtest.h>

#include "launcher/SetupLog.h"

TEST(LogVerbosity, FromMode) {
    EXPECT_EQ(SetupLog::VerbosityFromMode(0x397), 3);
    EXPECT_EQ(SetupLog::VerbosityFromMode(0xF9F | 0x1000), 4);
    EXPECT_EQ(SetupLog::VerbosityFromMode(0x2), 1);
    EXPECT_EQ(SetupLog::VerbosityFromMode(0x4), 2);
    EXPECT_EQ(SetupLog::VerbosityFromMode(0x6), 2);
    EXPECT_EQ(SetupLog::VerbosityFromMode(0x1002), 4);
    EXPECT_EQ(SetupLog::VerbosityFromMode(0x0), 0);
    EXPECT_EQ(SetupLog::VerbosityFromMode(0x100 | 0x200 | 0x1), 0);
}
