// Shows that the builder records the SHA-256 of each package's cabinet as
// it packs it, and reports it with the installer's own size and hash; that
// one byte changed in a carried package fails /v and ends a run with 1620
// before anything is unpacked or installed; and that an installer made
// without recorded hashes still validates and installs.
#include <gtest/gtest.h>

#include <cstring>

#include "framework/Text.h"
#include "icbs/Sha256.h"
#include "tests/builder/BuilderRun.h"
#include "tests/catalogue/FixtureInstall.h"
#include "tests/e2e/LauncherRun.h"

using namespace buildertest;
using statetest::FactsOf;
using statetest::ProductInstalled;
using testsupport::Contains;

namespace {

std::string Resource(const std::wstring& file, const std::wstring& key) {
    for (const auto& [name, bytes] : CatalogueResources(file))
        if (name == key) return bytes;
    return "<missing>";
}

std::wstring Text(const std::string& utf16) {
    std::wstring text(reinterpret_cast<const wchar_t*>(utf16.data()), utf16.size() / 2);
    return text.substr(0, text.find(L'\0'));
}

std::string JsonText(const std::wstring& text) { return "\"" + fw::ToCodePage(text, CP_UTF8) + "\""; }

}  // namespace

TEST(PayloadHash, RecordedWhilePackingAndReportedWithTheInstaller) {
    testsupport::TempDir dir;
    std::wstring setup = dir.File(L"setup.exe"), report = dir.File(L"setup.json");
    BuilderResult built = RunBuilder(BundleArguments(setup) + L" --report " + Quoted(report));
    ASSERT_EQ(built.exitCode, 0u) << testing::PrintToString(built.output);
    std::string json = testsupport::ReadBytes(report);
    std::string installer = testsupport::ReadBytes(setup);
    EXPECT_TRUE(Contains(fw::FromCodePage(json, CP_UTF8),
                         L"\"size\": " + std::to_wstring(installer.size()) + L",\n    \"sha256\": \"" +
                             icbs::DigestText(icbs::Sha256Of(installer.data(), installer.size())) + L"\""))
        << json;
    for (int i = 0; i < 2; ++i) {
        std::wstring msi = Fixture(i == 0 ? L"editor.msi" : L"tools.msi");
        std::string package = Resource(setup, fw::Format(L"PACKAGE_%d/0", i));
        if (package == "<missing>") package = Resource(setup, fw::Format(L"PACKAGE_%d/1033", i));
        ASSERT_GT(package.size(), 4u);
        std::wstring digest = icbs::DigestText(icbs::Sha256Of(package.data() + 4, package.size() - 4));
        EXPECT_EQ(Text(Resource(setup, fw::Format(L"PACKAGE_SHA256_%d/1033", i))), digest);
        statetest::FixtureFacts facts = FactsOf(msi);
        std::string entry = json.substr(json.find(fw::ToCodePage(fw::Format(L"\"PACKAGE_%d\"", i), CP_UTF8)));
        for (const auto& [key, value] :
             {std::pair<const char*, std::wstring>{"name", facts.name}, {"productCode", facts.productCode},
              {"packageCode", facts.packageCode}, {"version", facts.version}, {"platform", L"Intel"},
              {"sha256", digest}})
            EXPECT_NE(entry.find("\"" + std::string(key) + "\": " + JsonText(value)), std::string::npos)
                << key << " of package " << i << " in " << json;
        EXPECT_NE(entry.find("\"transforms\": [\"1031\", \"1034\", \"1036\", \"1041\"]"), std::string::npos) << json;
    }
}

TEST(PayloadHash, OneChangedByteFailsValidationAndTheRunBeforeAnythingIsUnpacked) {
    testsupport::TempDir dir;
    std::wstring setup = dir.File(L"setup.exe");
    ASSERT_EQ(RunBuilder(L"--out " + Quoted(setup) + L" --package " + Quoted(Fixture(L"editor.msi"))).exitCode, 0u);
    std::string bytes = testsupport::ReadBytes(setup);
    size_t cabinet = bytes.find("MSCF");
    ASSERT_NE(cabinet, std::string::npos);
    uint32_t length = 0;
    std::memcpy(&length, bytes.data() + cabinet - 4, 4);
    bytes[cabinet + length / 2] ^= 0x01;
    std::wstring damaged = dir.File(L"damaged.exe");
    testsupport::WriteBytes(damaged, bytes);

    LauncherRun validation = RunLauncherFile(damaged, L"/v /L*v %LOG%");
    EXPECT_EQ(validation.exitCode, 1u);
    EXPECT_TRUE(validation.LogHas(L"ZEL (c): Package resource PACKAGE_0 is damaged: its SHA-256 is "))
        << testing::PrintToString(validation.log);

    statetest::FixtureFacts editor = FactsOf(Fixture(L"editor.msi"));
    LauncherRun run = RunLauncherFile(damaged, L"/qn /L*v %LOG%", 180000);
    EXPECT_EQ(run.exitCode, 1620u);
    EXPECT_TRUE(run.LogHas(L"ZEL (c): Package resource PACKAGE_0 is damaged: its SHA-256 is "));
    EXPECT_TRUE(run.LogHas(L"ZEL (c): ERROR: Installer is corrupted.")) << testing::PrintToString(run.log);
    EXPECT_FALSE(run.LogHas(L"ZEL (c): Extracting resource: PACKAGE_0")) << "nothing was unpacked";
    EXPECT_FALSE(ProductInstalled(editor.productCode));
    EXPECT_FALSE(testsupport::FileExists(statetest::ExpectedMsiFolder(editor.packageCode) + L"\\editor.msi"));

    // The undamaged installer passes both.
    EXPECT_EQ(RunLauncherFile(setup, L"/v").exitCode, 0u);
}

TEST(PayloadHash, AnInstallerWithoutRecordedHashesStillValidatesAndInstalls) {
    // The tests' catalogue launchers carry no PACKAGE_SHA256_<n>, as
    // installers made before it existed.
    std::wstring single = testsupport::LauncherPath(L"single");
    ASSERT_EQ(Resource(single, L"PACKAGE_SHA256_0/1033"), "<missing>");
    EXPECT_EQ(RunLauncherFile(single, L"/v").exitCode, 0u);
    LauncherRun run = RunLauncherFile(single, L"/qn /L*v %LOG%", 180000);
    EXPECT_EQ(run.exitCode, 0u);
    EXPECT_FALSE(run.LogHas(L"SHA-256"));
    EXPECT_TRUE(ProductInstalled(FactsOf(Fixture(L"editor.msi")).productCode));
}
