// Port properties must be numeric; passwords never reach the log in clear.
#include <gtest/gtest.h>

#include "launcher/PropertyRules.h"

TEST(PropertyValue, PortPropertiesMustBeNumeric) {
    EXPECT_TRUE(IsValidPropertyValue(L"BC_WebServer_Port", L"8080"));
    EXPECT_TRUE(IsValidPropertyValue(L"BC_WebServer_Port", L" +80"));
    EXPECT_TRUE(IsValidPropertyValue(L"HB_SSLWebServer_Port", L"-1"));
    EXPECT_FALSE(IsValidPropertyValue(L"BC_WebServer_Port", L"abc"));
    EXPECT_FALSE(IsValidPropertyValue(L"BC_WebServer_Port", L"80a"));
    EXPECT_FALSE(IsValidPropertyValue(L"bc_webserver_port", L"\"\""));
    EXPECT_FALSE(IsValidPropertyValue(L"SYAdmin_sslwebserver_PORT", L""));
    // Only the text after the first underscore counts.
    EXPECT_TRUE(IsValidPropertyValue(L"BC_WebServer_Host", L"abc"));
    EXPECT_TRUE(IsValidPropertyValue(L"X_Y_WebServer_Port", L"abc"));
    EXPECT_TRUE(IsValidPropertyValue(L"WebServer_Port", L"abc"));
}

TEST(PasswordMask, ValuesOfPasswordPropertiesAreHidden) {
    EXPECT_EQ(MaskPasswordsForLog(L"/qn BC_Service_Password=Secret1 X=1"), L"/qn BC_Service_Password=******** X=1");
    EXPECT_EQ(MaskPasswordsForLog(L"bc_service_PASSWORD=\"with space\" /L*v log.txt"),
              L"bc_service_PASSWORD=******** /L*v log.txt");
    EXPECT_EQ(MaskPasswordsForLog(L"\"SY_Service_Password=a b\""), L"\"SY_Service_Password=********");
    EXPECT_EQ(MaskPasswordsForLog(L"P_Service_Password="), L"P_Service_Password=********");
}

TEST(PasswordMask, EverythingElseVerbatim) {
    std::wstring line = L"/qn  /L*v \"C:\\my logs\\%s.txt\" PasswordHint=x Password_Policy=y lang=German";
    EXPECT_EQ(MaskPasswordsForLog(line), line);
    EXPECT_EQ(MaskPasswordsForLog(L""), L"");
}
