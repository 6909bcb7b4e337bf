// The built-in options read an installed product's choices from the real
// registry, file system and service manager of the test's own prefix, and
// give the property text of a Quick Install in their fixed order.
#include <gtest/gtest.h>
#include <shlobj.h>

#include "catalogue/RelatedProduct.h"
#include "catalogue/SetupPackage.h"
#include "icbs/RegistryKey.h"
#include "icbs/RegistryViews.h"
#include "icbs/WindowsService.h"
#include "options/BuiltInOptions.h"
#include "options/SetupOptions.h"
#include "tests/support/TestSupport.h"

namespace {

std::unique_ptr<RelatedProduct> Installed(const wchar_t* id, const wchar_t* version, bool is64 = false) {
    auto record = ResolveRelatedProduct(id, version, is64, L"en", false);
    EXPECT_TRUE(record) << testing::PrintToString(std::wstring(id));
    return record;
}

SetupPackage Package(const wchar_t* productId) {
    PackageRecord fields;
    fields.productId = productId;
    return SetupPackage(fields, DetectionContext{});
}

void SetString(const std::wstring& fullPath, const std::wstring& name, const std::wstring& value,
               REGSAM view = registry_view::k32) {
    RegistryKey key(fullPath, false, true, view);
    ASSERT_TRUE(key.IsOpen()) << testing::PrintToString(fullPath);
    ASSERT_TRUE(key.SetString(name, value));
}

void SetDword(const std::wstring& fullPath, const std::wstring& name, DWORD value, REGSAM view = registry_view::k32) {
    RegistryKey key(fullPath, false, true, view);
    ASSERT_TRUE(key.IsOpen()) << testing::PrintToString(fullPath);
    ASSERT_TRUE(key.SetDword(name, value));
}

std::wstring CommonDesktop() {
    wchar_t path[MAX_PATH] = {};
    EXPECT_TRUE(::SHGetSpecialFolderPathW(nullptr, path, CSIDL_COMMON_DESKTOPDIRECTORY, TRUE));
    return path;
}

std::wstring Properties(const std::vector<RelatedProduct*>& records, const wchar_t* packageId) {
    CreateOptionsForRecords(records);
    return BuildOptionProperties(Package(packageId), records);
}

const std::wstring kDralynKey = L"HKEY_LOCAL_MACHINE\\SOFTWARE\\Morvex\\Dralyn\\Installation_v2023";

}  // namespace

TEST(BuiltInOptions, AnEditorsChoicesBecomeItsPropertiesInTheirFixedOrder) {
    auto editor = Installed(L"DY::E", L"2023.01.00");
    SetDword(kDralynKey, L"QuilletTrustedLocations", 0);
    // The same value in the other view belongs to the 64-bit product.
    SetDword(kDralynKey + L"_x64", L"QuilletTrustedLocations", 1, registry_view::k64);
    testsupport::WriteBytes(CommonDesktop() + L"\\Morvex Dralyn Enterprise Edition 2023.lnk", "shortcut");
    ASSERT_TRUE(::CreateDirectoryW(L"C:\\Custom", nullptr));
    ASSERT_TRUE(::CreateDirectoryW(L"C:\\Custom\\Dralyn", nullptr));
    editor->applicationPath = L"C:\\Custom\\Dralyn\\application.txt";
    SetString(L"HKEY_CURRENT_USER\\Software\\Microsoft\\Internet Explorer\\MenuExt\\Send to Dralyn", L"",
              L"C:\\Program Files\\Morvex\\Dralyn2023\\dralyn.htm");
    SetString(L"HKEY_CURRENT_USER\\SOFTWARE\\Morvex\\Dralyn\\FileExt\\.htm", L"FileType2", L"XML");
    SetString(L"HKEY_CURRENT_USER\\SOFTWARE\\Morvex\\Dralyn\\FileExt\\.html", L"FileType2", L"HTML");
    EXPECT_EQ(Properties({editor.get()}, L"DY::E"),
              L"ADDEXAMPLESTOTRUSTEDLOCATIONS=\"\" CREATE_DESKTOP_SHORTCUT=\"Yes\" "
              L"DRALYNINSTALLDIR=\"C:\\Custom\\Dralyn\" ADDIESUPPORT=\"Yes\" HTMLISXHTML=\"XML\" ");
    // The 64-bit installation reads its own view.
    auto editor64 = Installed(L"DY::E", L"2023.01.00", true);
    CreateOptionsForRecords({editor64.get()});
    EXPECT_EQ(OptionInstances().front()->GetValue(), std::optional<std::wstring>(L"#1"));
}

TEST(BuiltInOptions, WithNothingRecordedTheDefaultsAreEmitted) {
    auto editor = Installed(L"DY::E", L"2023.01.00");
    // Installed in its default folder: no folder property at all.
    std::wstring folder = testsupport::ProgramFiles32() + L"\\Morvex\\Dralyn2023";
    ASSERT_EQ(editor->DefaultInstallFolder(), folder);
    ::CreateDirectoryW((testsupport::ProgramFiles32() + L"\\Morvex").c_str(), nullptr);
    ASSERT_TRUE(::CreateDirectoryW(folder.c_str(), nullptr));
    editor->applicationPath = folder + L"\\application.txt";
    // A menu extension of another program, and one file type only.
    SetString(L"HKEY_CURRENT_USER\\Software\\Microsoft\\Internet Explorer\\MenuExt\\Other", L"", L"C:\\other.htm");
    SetString(L"HKEY_CURRENT_USER\\SOFTWARE\\Morvex\\Dralyn\\FileExt\\.htm", L"FileType2", L"XML");
    EXPECT_EQ(Properties({editor.get()}, L"DY::E"),
              L"ADDEXAMPLESTOTRUSTEDLOCATIONS=\"#1\" CREATE_DESKTOP_SHORTCUT=\"\" ADDIESUPPORT=\"\" ");
    // A recorded folder that is gone is no choice either.
    editor->applicationPath = L"C:\\Gone\\Dralyn\\application.txt";
    EXPECT_EQ(Properties({editor.get()}, L"DY::E"),
              L"ADDEXAMPLESTOTRUSTEDLOCATIONS=\"#1\" CREATE_DESKTOP_SHORTCUT=\"\" ADDIESUPPORT=\"\" ");
}

TEST(BuiltInOptions, TheSchemaServerFollowsItsServiceAndTheApplicationItsServer) {
    auto server = Installed(L"KS::S", L"2023.00.00");
    EXPECT_EQ(Properties({server.get()}, L"KS::S"),
              L"SERVEROPTIONSVISTA=\"StandAlone\" STARTSERVICE=\"\" CREATE_DESKTOP_SHORTCUT=\"\" ");
    WindowsService service(L"KestraneService");
    service.SetDisplayName(L"Kestrane Service");
    service.SetStartTypeName(L"demand");
    service.SetAccount(L"LocalSystem");
    service.SetExecutable(testsupport::BuildDir() + L"\\tests\\icbs_test_service.exe");
    std::wstring message;
    ASSERT_TRUE(service.Apply(message)) << testing::PrintToString(message);
    EXPECT_EQ(Properties({server.get()}, L"KS::S"),
              L"SERVEROPTIONSVISTA=\"\" STARTSERVICE=\"\" CREATE_DESKTOP_SHORTCUT=\"\" ");
    ASSERT_TRUE(service.Start(message)) << testing::PrintToString(message);
    EXPECT_EQ(Properties({server.get()}, L"KS::S"),
              L"SERVEROPTIONSVISTA=\"\" STARTSERVICE=\"true\" CREATE_DESKTOP_SHORTCUT=\"\" ");
    service.Stop(message);
    service.Delete(message);

    auto application = Installed(L"KS::Z", L"2021.01.00");
    const std::wstring settings = L"HKEY_CURRENT_USER\\Software\\Morvex\\Kestrane\\Settings";
    SetString(settings, L"DefaultServer", L"x\" INSTALLDIR=\"C:\\Windows");
    EXPECT_EQ(Properties({application.get()}, L"KS::Z"), L"KESTRANESERVER=\"\" CREATE_DESKTOP_SHORTCUT=\"\" ");
    SetDword(settings, L"DefaultServerType", 1);
    // A quote in the recorded name stays inside the one value.
    EXPECT_EQ(Properties({application.get()}, L"KS::Z"),
              L"KESTRANESERVER=\"x\"\" INSTALLDIR=\"\"C:\\Windows\" CREATE_DESKTOP_SHORTCUT=\"\" ");
}

TEST(BuiltInOptions, OneShortcutMakesEveryDesktopProductAskForOne) {
    auto editor = Installed(L"DY::E", L"2023.01.00");
    auto application = Installed(L"KS::Z", L"2021.01.00");
    testsupport::WriteBytes(CommonDesktop() + L"\\Morvex Kestrane 2021.lnk", "shortcut");
    std::vector<RelatedProduct*> records = {editor.get(), application.get()};
    CreateOptionsForRecords(records);
    std::wstring editorText = BuildOptionProperties(Package(L"DY::E"), records);
    std::wstring applicationText = BuildOptionProperties(Package(L"KS::Z"), records);
    EXPECT_TRUE(testsupport::Contains(editorText, L"CREATE_DESKTOP_SHORTCUT=\"Yes\" ")) << testing::PrintToString(editorText);
    EXPECT_TRUE(testsupport::Contains(applicationText, L"CREATE_DESKTOP_SHORTCUT=\"Yes\" "));
    EXPECT_FALSE(testsupport::Contains(editorText, L"KESTRANESERVER"));
    EXPECT_FALSE(testsupport::Contains(applicationText, L"ADDIESUPPORT"));
}

// Two predecessors of the same product, one for each of two packages that
// stand for it (its 32-bit and its 64-bit installation): each package gets
// only its own predecessor's choices, never both sets.
TEST(BuiltInOptions, TwoRecordsOfOneProductEachFeedOnlyTheirOwnPackage) {
    auto editor32 = Installed(L"DY::E", L"2023.01.00");
    auto editor64 = Installed(L"DY::E", L"2023.01.00", true);
    SetDword(kDralynKey, L"QuilletTrustedLocations", 0);
    SetDword(kDralynKey + L"_x64", L"QuilletTrustedLocations", 1, registry_view::k64);
    SetupPackage package32 = Package(L"DY::E"), package64 = Package(L"DY::E");
    editor32->forPackage = &package32;
    editor64->forPackage = &package64;
    std::vector<RelatedProduct*> records = {editor32.get(), editor64.get()};
    CreateOptionsForRecords(records);
    EXPECT_EQ(OptionInstances().size() % 2, 0u) << "two sets of instances";
    std::wstring text32 = BuildOptionProperties(package32, records);
    std::wstring text64 = BuildOptionProperties(package64, records);
    EXPECT_TRUE(testsupport::Contains(text32, L"ADDEXAMPLESTOTRUSTEDLOCATIONS=\"\" ")) << testing::PrintToString(text32);
    EXPECT_TRUE(testsupport::Contains(text64, L"ADDEXAMPLESTOTRUSTEDLOCATIONS=\"#1\" ")) << testing::PrintToString(text64);
    for (const std::wstring& text : {text32, text64}) {
        size_t first = text.find(L"ADDEXAMPLESTOTRUSTEDLOCATIONS=");
        EXPECT_EQ(text.find(L"ADDEXAMPLESTOTRUSTEDLOCATIONS=", first + 1), std::wstring::npos)
            << "both records fed one package: " << testing::PrintToString(text);
    }
}
