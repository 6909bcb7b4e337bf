#include "tests/catalogue/FixtureInstall.h"

#include <aclapi.h>
#include <msiquery.h>

#include <stdexcept>

#include <gtest/gtest.h>

#include "framework/SystemApi.h"
#include "icbs/MsiDatabase.h"
#include "tests/icbs/files/FileTestSupport.h"
#include "tests/support/AccessEntries.h"
#include "tests/support/TestSupport.h"

namespace statetest {

std::wstring FixtureMsi(const std::wstring& name) { return testsupport::FixtureDir() + L"\\" + name + L".msi"; }

FixtureFacts FactsOf(const std::wstring& msiPath) {
    ICBSMSIDatabase database(msiPath, false, true);
    if (!database) throw std::runtime_error("cannot open a fixture database");
    FixtureFacts facts;
    facts.name = database.GetProperty(L"ProductName");
    facts.productCode = database.GetProperty(L"ProductCode");
    facts.version = database.GetProperty(L"ProductVersion");
    facts.packageCode = database.GetSummaryString(PIDSI_REVNUMBER);
    MSIHANDLE view = 0, record = 0;
    if (fw::Msi().MsiDatabaseOpenViewW(database.Handle(), L"SELECT `ComponentId` FROM `Component`", &view) ==
            ERROR_SUCCESS &&
        fw::Msi().MsiViewExecute(view, 0) == ERROR_SUCCESS && fw::Msi().MsiViewFetch(view, &record) == ERROR_SUCCESS) {
        wchar_t code[64] = {};
        DWORD size = 64;
        fw::Msi().MsiRecordGetStringW(record, 1, code, &size);
        facts.componentCode = code;
    }
    if (record) fw::Msi().MsiCloseHandle(record);
    if (view) fw::Msi().MsiCloseHandle(view);
    return facts;
}

PackageRecord FieldsOf(const FixtureFacts& facts, bool isMain, const std::wstring& productId) {
    PackageRecord fields;
    fields.name = facts.name;
    fields.productCode = facts.productCode;
    fields.packageCode = facts.packageCode;
    fields.productId = productId;
    fields.versionText = facts.version;
    fields.packageResource = isMain ? L"PACKAGE_0" : L"PACKAGE_1";
    fields.transformPattern = isMain ? L"PACKAGE_0_%s" : L"PACKAGE_1_%s";
    fields.isMain = isMain;
    return fields;
}

UINT Install(const std::wstring& msiPath) {
    fw::Msi().MsiSetInternalUI(INSTALLUILEVEL_NONE, nullptr);
    return fw::Msi().MsiInstallProductW(msiPath.c_str(), L"");
}

std::wstring InstallFromCopy(const std::wstring& msiPath, const std::wstring& sourceFolder) {
    ::CreateDirectoryW(sourceFolder.c_str(), nullptr);
    std::wstring copy = sourceFolder + L"\\" + msiPath.substr(msiPath.find_last_of(L'\\') + 1);
    if (!::CopyFileW(msiPath.c_str(), copy.c_str(), FALSE)) throw std::runtime_error("cannot copy a fixture");
    if (Install(copy) != ERROR_SUCCESS) throw std::runtime_error("cannot install a fixture");
    return copy;
}

bool ProductInstalled(const std::wstring& productCode) {
    return fw::Msi().MsiQueryProductStateW(productCode.c_str()) == INSTALLSTATE_DEFAULT;
}

std::wstring RegisteredPackageCodeOf(const std::wstring& productCode) {
    wchar_t code[64] = {};
    DWORD size = 64;
    if (fw::Msi().MsiGetProductInfoW(productCode.c_str(), INSTALLPROPERTY_PACKAGECODE, code, &size) != ERROR_SUCCESS)
        return std::wstring();
    return code;
}

std::wstring ExpectedBaseFolder() {
    wchar_t programData[MAX_PATH] = {};
    ::GetEnvironmentVariableW(L"ProgramData", programData, MAX_PATH);
    return std::wstring(programData) + L"\\Morvex";
}

std::wstring ExpectedMsiFolder(const std::wstring& packageCode) { return ExpectedBaseFolder() + L"\\" + packageCode; }

bool IsFolder(const std::wstring& path) {
    DWORD attributes = ::GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool Exists(const std::wstring& path) { return ::GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

void PutFile(const std::wstring& path, const std::string& bytes) { testsupport::WriteBytes(path, bytes); }

void ExpectProtectedList(const std::wstring& folder) {
    testsupport::ObjectSecurity security = testsupport::ReadObjectSecurity(folder);
    ASSERT_TRUE(security.read);
    const std::vector<testsupport::AceEntry>& entries = security.entries;
    EXPECT_EQ(security.owner, testsupport::SidText(WinBuiltinAdministratorsSid));
    EXPECT_TRUE(security.protectedList);
    ASSERT_EQ(entries.size(), 3u);
    auto admins = testsupport::AllowedFor(entries, testsupport::SidText(WinBuiltinAdministratorsSid));
    auto system = testsupport::AllowedFor(entries, testsupport::SidText(WinLocalSystemSid));
    auto users = testsupport::AllowedFor(entries, testsupport::SidText(WinBuiltinUsersSid));
    ASSERT_EQ(admins.size(), 1u);
    ASSERT_EQ(system.size(), 1u);
    ASSERT_EQ(users.size(), 1u);
    EXPECT_EQ(admins[0].mask, static_cast<DWORD>(FILE_ALL_ACCESS));
    EXPECT_EQ(system[0].mask, static_cast<DWORD>(FILE_ALL_ACCESS));
    EXPECT_EQ(users[0].mask, static_cast<DWORD>(FILE_GENERIC_READ | FILE_GENERIC_EXECUTE));
}

bool EveryoneAllowed(const std::wstring& path) {
    return !testsupport::AllowedFor(testsupport::ReadDaclEntries(path), testsupport::SidText(WinWorldSid)).empty();
}

}  // namespace statetest
