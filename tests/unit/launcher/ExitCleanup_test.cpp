// The self-deleting script's text and when it is written.
#include <gtest/gtest.h>

#include "launcher/ExitCleanup.h"

TEST(SelfDeleteScriptText, ThreeLinesThatRemoveTheFolderAndTheScript) {
    EXPECT_EQ(SelfDeleteScriptText(L"C:\\ProgramData\\Morvex\\{A}"),
              L"@ECHO OFF\n rmdir /S /Q \"C:\\ProgramData\\Morvex\\{A}\"\n DEL \"%~f0\"");
    // Blanks stay inside the quotes; percent signs are doubled so that the
    // command interpreter reads them as themselves.
    EXPECT_EQ(SelfDeleteScriptText(L"C:\\All Users\\100%x%"),
              L"@ECHO OFF\n rmdir /S /Q \"C:\\All Users\\100%%x%%\"\n DEL \"%~f0\"");
}

TEST(SelfDeleteScriptText, OnlyAfterASuccessfulUninstallOfTwoOrMorePackages) {
    EXPECT_TRUE(NeedsSelfDeleteScript(2, true, 0));
    EXPECT_TRUE(NeedsSelfDeleteScript(7, true, 0));
    EXPECT_FALSE(NeedsSelfDeleteScript(1, true, 0));
    EXPECT_FALSE(NeedsSelfDeleteScript(2, false, 0));
    EXPECT_FALSE(NeedsSelfDeleteScript(2, true, 1603));
    EXPECT_FALSE(NeedsSelfDeleteScript(2, true, 3010));
}
