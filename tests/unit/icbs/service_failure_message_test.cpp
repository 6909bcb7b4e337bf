// Shows which message a service that failed to start or stop is reported with.
#include <gtest/gtest.h>

#include <windows.h>

#include "icbs/ServiceFailureMessage.h"
#include "icbs/SystemErrorText.h"
#include "tests/support/TestSupport.h"

using testsupport::SystemText;

TEST(ServiceFailureMessage, ExitCodeIsReported) {
    EXPECT_EQ(ServiceFailureMessage(ERROR_ACCESS_DENIED, 0, 0, L"fallback"), L"Service returned error code 5.");
    EXPECT_EQ(ServiceFailureMessage(1053, 99, ERROR_INVALID_HANDLE, L"fallback"),
              L"Service returned error code 1053.");
}

TEST(ServiceFailureMessage, ServiceSpecificErrorReportsTheServicesOwnCode) {
    EXPECT_EQ(ServiceFailureMessage(ERROR_SERVICE_SPECIFIC_ERROR, 4711, 0, L"fallback"),
              L"Service returned error code 4711.");
}

TEST(ServiceFailureMessage, WithoutExitCodeThePendingErrorIsWorded) {
    std::wstring expected = SystemText(ERROR_SERVICE_REQUEST_TIMEOUT);
    ASSERT_FALSE(expected.empty());
    EXPECT_EQ(ServiceFailureMessage(0, 0, ERROR_SERVICE_REQUEST_TIMEOUT, L"fallback"), expected);
    // A service-specific error whose own code is 0 carries no code either.
    EXPECT_EQ(ServiceFailureMessage(ERROR_SERVICE_SPECIFIC_ERROR, 0, ERROR_SERVICE_REQUEST_TIMEOUT, L"x"), expected);
}

TEST(ServiceFailureMessage, WithoutAnyCodeTheFixedTextIsUsed) {
    EXPECT_EQ(ServiceFailureMessage(0, 0, 0, L"Service start-up failed."), L"Service start-up failed.");
    // An error the system has no words for still gives a message.
    EXPECT_EQ(ServiceFailureMessage(0, 0, 0x2FFFFFFF, L"Service shut-down-up failed."),
              L"Service shut-down-up failed.");
}

TEST(ServiceFailureMessage, SystemErrorTextIsTheSystemsTextOrEmpty) {
    EXPECT_EQ(SystemErrorText(ERROR_FILE_NOT_FOUND), SystemText(ERROR_FILE_NOT_FOUND));
    EXPECT_FALSE(SystemErrorText(ERROR_FILE_NOT_FOUND).empty());
    EXPECT_EQ(SystemErrorText(0), L"");
    EXPECT_EQ(SystemErrorText(0x2FFFFFFF), L"");
}
