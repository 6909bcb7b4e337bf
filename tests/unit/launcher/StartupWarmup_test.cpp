// The start-up warm-up answers the Direct2D check as the probe itself does,
// lets the main path skip its own rich-edit load only while it runs, and
// leaves no thread behind.
#include <gtest/gtest.h>

#include "launcher/EnvironmentChecks.h"
#include "launcher/StartupWarmup.h"

TEST(StartupWarmup, AnswersAsTheProbeAndEndsItsThread) {
    const bool probe = HasDirect2D();
    EXPECT_EQ(StartupWarmup::Current(), nullptr);
    EXPECT_EQ(Direct2DAvailable(), probe);  // no warm-up: the probe runs here
    {
        StartupWarmup warmup;
        EXPECT_EQ(StartupWarmup::Current(), &warmup);
        EXPECT_TRUE(warmup.LoadsRichEdit());
        EXPECT_EQ(Direct2DAvailable(), probe);
        EXPECT_EQ(warmup.Direct2DFound(), probe);  // asked again: the same answer
    }
    EXPECT_EQ(StartupWarmup::Current(), nullptr);
    // What the warm-up loads stays loaded for the rest of the process.
    EXPECT_NE(::GetModuleHandleW(L"riched20.dll"), nullptr);
    EXPECT_NE(::GetModuleHandleW(L"msi.dll"), nullptr);
}
