// The self-deleting script's text and when it is written.
#include <gtest/gtest.h>

#include "launcher/ExitCleanup.h"

TEST(SelfDeleteScriptText, WaitsForTheLockThenRemovesTheFolderTheScriptAndItsFolder) {
    EXPECT_EQ(SelfDeleteScriptText(L"C:\\ProgramData\\Morvex\\{A}", L"C:\\Windows\\Temp\\MorvexSetup\\SelfDelete.lock",
                                   L"C:\\Windows\\system32", L"C:\\Windows\\Temp\\MorvexSetup"),
              L"@ECHO OFF\r\n"
              L" SET /A tries=0\r\n"
              L":wait\r\n"
              L" DEL \"C:\\Windows\\Temp\\MorvexSetup\\SelfDelete.lock\" >NUL 2>NUL\r\n"
              L" IF NOT EXIST \"C:\\Windows\\Temp\\MorvexSetup\\SelfDelete.lock\" GOTO remove\r\n"
              L" SET /A tries+=1\r\n"
              L" IF %tries% GEQ 5 GOTO remove\r\n"
              L" \"C:\\Windows\\system32\\ping.exe\" -n 2 127.0.0.1 >NUL\r\n"
              L" GOTO wait\r\n"
              L":remove\r\n"
              L" rmdir /S /Q \"C:\\ProgramData\\Morvex\\{A}\"\r\n"
              L" DEL \"%~f0\" & rmdir \"C:\\Windows\\Temp\\MorvexSetup\"");
    // Blanks stay inside the quotes; percent signs are doubled so that the
    // command interpreter reads them as themselves, in every path.
    std::wstring text = SelfDeleteScriptText(L"C:\\All Users\\100%x%", L"C:\\T 50%\\l.lock", L"C:\\S%y%", L"C:\\T 50%");
    EXPECT_NE(text.find(L" rmdir /S /Q \"C:\\All Users\\100%%x%%\"\r\n"), std::wstring::npos) << text;
    EXPECT_NE(text.find(L" DEL \"C:\\T 50%%\\l.lock\" >NUL 2>NUL\r\n"), std::wstring::npos) << text;
    EXPECT_NE(text.find(L" \"C:\\S%%y%%\\ping.exe\" -n 2"), std::wstring::npos) << text;
    EXPECT_NE(text.find(L" & rmdir \"C:\\T 50%%\""), std::wstring::npos) << text;
}

TEST(SelfDeleteScriptText, OnlyAfterASuccessfulUninstallOfTwoOrMorePackagesAlsoWithARestart) {
    EXPECT_TRUE(NeedsSelfDeleteScript(2, true, 0));
    EXPECT_TRUE(NeedsSelfDeleteScript(7, true, 0));
    EXPECT_FALSE(NeedsSelfDeleteScript(1, true, 0));
    EXPECT_FALSE(NeedsSelfDeleteScript(2, false, 0));
    EXPECT_FALSE(NeedsSelfDeleteScript(2, true, 1603));
    // A success that asks for a restart is a success.
    EXPECT_TRUE(NeedsSelfDeleteScript(2, true, 3010));
    EXPECT_TRUE(NeedsSelfDeleteScript(2, true, 1641));
    EXPECT_FALSE(NeedsSelfDeleteScript(1, true, 3010));
    EXPECT_FALSE(NeedsSelfDeleteScript(2, false, 3010));
    EXPECT_FALSE(NeedsSelfDeleteScript(2, true, 1602));
}
