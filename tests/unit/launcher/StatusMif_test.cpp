// The status file of /m: its place, the fixed layout Configuration Manager
// reads, values that stay inside their quotes and fields, the description,
// and a file that is written only as itself.
#include <gtest/gtest.h>

#include "icbs/SystemErrorText.h"
#include "launcher/StatusMif.h"
#include "tests/support/TestSupport.h"

using testsupport::Contains;

TEST(StatusMif, ABareNameGoesIntoTheTemporaryFolderWithItsExtension) {
    EXPECT_EQ(StatusMifPath(L"status", L"C:\\Temp\\"), L"C:\\Temp\\status.mif");
    EXPECT_EQ(StatusMifPath(L"status.MIF", L"C:\\Temp"), L"C:\\Temp\\status.MIF");
    EXPECT_EQ(StatusMifPath(L"D:\\reports\\run", L"C:\\Temp\\"), L"D:\\reports\\run.mif");
    EXPECT_EQ(StatusMifPath(L"sub\\run.mif", L"C:\\Temp\\"), L"sub\\run.mif");
}

TEST(StatusMif, LayoutAndValues) {
    StatusMifFields fields;
    fields.manufacturer = L"Morvex \"Labs\"";
    fields.product = L"{6B1D0A10-3C55-4E7E-9A51-0C7E1E2A0001}";
    fields.version = std::wstring(80, L'v');
    fields.locale = L"Intel;1033,1031,1034,1036";
    fields.success = false;
    fields.description = L"Installation failed. (1603 - Fatal error during installation.\r\n)";
    std::wstring text = StatusMifText(fields);
    EXPECT_EQ(text.rfind(L"START COMPONENT\r\n  NAME = \"WORKSTATION\"\r\n  START GROUP\r\n    NAME = \"ComponentID\"\r\n", 0),
              0u);
    EXPECT_TRUE(Contains(text, L"      NAME = \"Manufacturer\"\r\n      ID = 1\r\n      ACCESS = READ-ONLY\r\n"
                               L"      STORAGE = SPECIFIC\r\n      TYPE = STRING(64)\r\n"
                               L"      VALUE = \"Morvex 'Labs'\"\r\n    END ATTRIBUTE\r\n"));
    EXPECT_TRUE(Contains(text, L"VALUE = \"{6B1D0A10-3C55-4E7E-9A51-0C7E1E2A0001}\""));
    EXPECT_TRUE(Contains(text, L"VALUE = \"" + std::wstring(64, L'v') + L"\"")) << "cut to its field";
    EXPECT_TRUE(Contains(text, L"TYPE = STRING(16)\r\n      VALUE = \"Intel;1033,1031,\""));
    EXPECT_TRUE(Contains(text, L"NAME = \"Serial Number\"\r\n      ID = 5"));
    EXPECT_TRUE(Contains(text, L"VALUE = \"DateTime\""));
    EXPECT_TRUE(Contains(text, L"CLASS = \"MICROSOFT|JOBSTATUS|1.0\""));
    EXPECT_TRUE(Contains(text, L"TYPE = STRING(32)\r\n      VALUE = \"Failed\""));
    // Line ends of a system message become one blank, nothing trails.
    EXPECT_TRUE(Contains(text, L"VALUE = \"Installation failed. (1603 - Fatal error during installation. )\""));
    const std::wstring end = L"    END ATTRIBUTE\r\n  END GROUP\r\nEND COMPONENT\r\n";
    EXPECT_EQ(text.substr(text.size() - end.size()), end);
    fields.success = true;
    EXPECT_TRUE(Contains(StatusMifText(fields), L"VALUE = \"Success\""));
}

TEST(StatusMif, DescriptionTakesTheOutcomeTheSystemsTextOrTheNumber) {
    EXPECT_EQ(StatusMifDescription(L"Your disk is full.", 11), L"Your disk is full.");
    EXPECT_EQ(StatusMifDescription(L"", 2), SystemErrorText(2));
    EXPECT_EQ(StatusMifDescription(L" \r\n", 0x7FFFFFF0), L"Installer error 2147483632");
}

TEST(StatusMif, WritesTheAnsiTextAndReplacesAnOlderFileButNeverAnotherName) {
    testsupport::TempDir dir;
    std::wstring path = dir.File(L"status.mif");
    testsupport::WriteBytes(path, std::string(500, 'x'));
    EXPECT_EQ(WriteStatusMif(path, L"START COMPONENT\r\n"), 0u);
    EXPECT_EQ(testsupport::ReadBytes(path), "START COMPONENT\r\n");
    // A second name of another file is not written through.
    std::wstring other = dir.File(L"other.txt"), second = dir.File(L"second.mif");
    testsupport::WriteBytes(other, "keep");
    if (::CreateHardLinkW(second.c_str(), other.c_str(), nullptr)) {
        EXPECT_NE(WriteStatusMif(second, L"START COMPONENT\r\n"), 0u);
        EXPECT_EQ(testsupport::ReadBytes(other), "keep");
    }
    EXPECT_NE(WriteStatusMif(dir.File(L"missing\\status.mif"), L"x"), 0u);
}
