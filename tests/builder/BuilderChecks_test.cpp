// Shows the inputs SetupBuilder refuses before it writes anything, each
// with one line that says what is wrong: a patch, a transform or a program
// given as a package; a project file's faults with the file and line; an
// output that names one of the inputs (however the path is spelt); values
// the launcher would misread; duplicate languages and package codes; every
// missing transform of a multi-language installer at once; a transform made
// for another package. A missing French transform is only a warning.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>

#include "framework/Text.h"
#include "tests/builder/BuilderRun.h"

using namespace buildertest;
using testsupport::Contains;
using testsupport::FileExists;
using testsupport::TempDir;

namespace {

// The transform's bytes with the class of its root storage made that of a
// patch: a compound file Windows Installer takes for a patch.
std::string AsPatch(const std::string& transform) {
    std::string bytes = transform;
    uint16_t shift = 0;
    uint32_t directory = 0;
    std::memcpy(&shift, bytes.data() + 0x1E, 2);
    std::memcpy(&directory, bytes.data() + 0x30, 4);
    size_t rootClass = (static_cast<size_t>(directory) + 1) * (size_t(1) << shift) + 0x50;
    const unsigned char patch[16] = {0x86, 0x10, 0x0C, 0, 0, 0, 0, 0, 0xC0, 0, 0, 0, 0, 0, 0, 0x46};
    std::memcpy(bytes.data() + rootClass, patch, 16);
    return bytes;
}

struct Refusal {
    std::wstring arguments;
    std::wstring reason;  // a part of the one line
};

void ExpectRefused(const std::wstring& out, const std::vector<Refusal>& cases) {
    for (const Refusal& c : cases) {
        SCOPED_TRACE(testing::PrintToString(c.arguments));
        BuilderResult result = RunBuilder(L"--out " + Quoted(out) + L" " + c.arguments);
        EXPECT_EQ(result.exitCode, 1u);
        ASSERT_EQ(result.lines.size(), 1u) << testing::PrintToString(result.output);
        EXPECT_TRUE(Contains(result.lines[0], c.reason)) << testing::PrintToString(result.lines[0]);
        EXPECT_FALSE(FileExists(out));
    }
}

}  // namespace

TEST(BuilderChecks, PatchesTransformsAndProgramsAreNoPackages) {
    TempDir dir;
    testsupport::WriteBytes(dir.File(L"update.msp"), AsPatch(testsupport::ReadBytes(Transform(L"editor_de"))));
    ExpectRefused(dir.File(L"setup.exe"),
                  {{L"--package " + Quoted(dir.File(L"update.msp")), L"update.msp: a patch (.msp), not a Windows "
                                                                     L"Installer database"},
                   {L"--package " + Quoted(Transform(L"editor_de")), L"a transform (.mst), not a Windows Installer"},
                   {L"--package " + Quoted(BuilderPath()), L"a program file, not a Windows Installer database"}});
}

TEST(BuilderChecks, ProjectFileFaultsNameTheFileAndLine) {
    TempDir dir;
    std::string editor = fw::ToCodePage(Fixture(L"editor.msi"), CP_UTF8);
    const std::pair<std::string, std::wstring> projects[] = {
        {"[installer]\r\nout = setup.exe\r\n\r\n[package editor]\r\nfile = " + editor +
             "\r\nproduct-id = DY::E\r\n[package Editor]\r\nfile = " + editor + "\r\n",
         L"line 7: section [package Editor] appears a second time (first at line 4)"},
        {"[package editor]\r\nfile = " + editor + "\r\ntransform.1031 = a.mst\r\n   b.mst\r\n",
         L"line 4: \"b.mst\" is not a setting"},
        {"[packages]\r\nfile = " + editor + "\r\n", L"line 1: unknown section [packages]"},
        {"[package editor]\r\nfile = " + editor + "\r\nversion = 1.0\r\nVersion = 2.0\r\n",
         L"line 4: \"Version\" is set a second time"},
        {"[package editor]\r\nfile = " + editor + "\r\ncolour = blue\r\n", L"line 3: unknown key \"colour\""},
    };
    for (const auto& [text, reason] : projects) {
        testsupport::WriteBytes(dir.File(L"setup.ini"), text);
        BuilderResult result = RunBuilder(L"--out " + Quoted(dir.File(L"setup.exe")) + L" --project " +
                                          Quoted(dir.File(L"setup.ini")));
        EXPECT_EQ(result.exitCode, 1u);
        ASSERT_EQ(result.lines.size(), 1u) << testing::PrintToString(result.output);
        EXPECT_TRUE(Contains(result.lines[0], L"SetupBuilder: " + dir.File(L"setup.ini") + L": " + reason))
            << testing::PrintToString(result.lines[0]);
        EXPECT_FALSE(FileExists(dir.File(L"setup.exe")));
    }
}

TEST(BuilderChecks, AnOutputNamingAnInputIsRefusedAndChangesNothing) {
    TempDir dir;
    for (const wchar_t* name : {L"editor.msi", L"tools.msi"})
        ASSERT_TRUE(::CopyFileW(Fixture(name).c_str(), dir.File(name).c_str(), FALSE));
    ASSERT_TRUE(::CopyFileW(Transform(L"editor_de").c_str(), dir.File(L"editor_de.mst").c_str(), FALSE));
    std::string project = "[package editor]\r\nfile = editor.msi\r\n";
    testsupport::WriteBytes(dir.File(L"setup.ini"), project);
    std::wstring bare = testsupport::BuildDir() + L"\\SetupLauncher.exe";
    std::string editorBytes = testsupport::ReadBytes(dir.File(L"editor.msi"));
    std::string bareBytes = testsupport::ReadBytes(bare);
    std::wstring package = L" --package " + Quoted(dir.File(L"editor.msi"));
    // Other spellings of the same file: letter case, "..", the other
    // separator.
    std::wstring dotted = dir.Path() + L"\\sub\\..\\EDITOR.MSI";
    std::wstring slashed = dir.File(L"tools.msi");
    std::replace(slashed.begin(), slashed.end(), L'\\', L'/');
    struct Case {
        std::wstring out, rest;
    };
    const Case cases[] = {
        {dotted, package},
        {bare, package},
        {dir.File(L"Tools.msi"), package + L" --package " + Quoted(slashed)},
        {dir.File(L"editor_de.mst"), package + L" --transform 1031=" + Quoted(dir.File(L"editor_de.mst"))},
        {dir.File(L"SETUP.INI"), L" --project " + Quoted(dir.File(L"setup.ini"))},
        {dir.File(L"image.ico"), package + L" --product-image " + Quoted(dir.File(L"image.ico"))},
    };
    ASSERT_TRUE(::CopyFileW((testsupport::SourceDir() + L"\\resources\\QuickInstall.ico").c_str(),
                            dir.File(L"image.ico").c_str(), FALSE));
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::PrintToString(c.out));
        BuilderResult result = RunBuilder(L"--out " + Quoted(c.out) + c.rest);
        EXPECT_EQ(result.exitCode, 1u);
        ASSERT_EQ(result.lines.size(), 1u) << testing::PrintToString(result.output);
        EXPECT_TRUE(Contains(result.lines[0], L"--out names an input of the build"))
            << testing::PrintToString(result.lines[0]);
    }
    BuilderResult report = RunBuilder(L"--out " + Quoted(dir.File(L"setup.exe")) + package + L" --report " +
                                      Quoted(dir.File(L"editor.msi")));
    EXPECT_TRUE(Contains(report.output, L"--report names an input")) << testing::PrintToString(report.output);
    EXPECT_TRUE(testsupport::ReadBytes(dir.File(L"editor.msi")) == editorBytes);
    EXPECT_TRUE(testsupport::ReadBytes(bare) == bareBytes);
    EXPECT_FALSE(FileExists(dir.File(L"setup.exe")));
}

TEST(BuilderChecks, ValuesTheLauncherWouldMisreadAreRefused) {
    TempDir dir;
    std::wstring editor = L"--package " + Quoted(Fixture(L"editor.msi"));
    std::wstring tools = L" --package " + Quoted(Fixture(L"tools.msi"));
    auto transforms = [](const std::wstring& product, std::initializer_list<const wchar_t*> languages) {
        std::wstring text;
        const std::pair<const wchar_t*, const wchar_t*> suffixes[] = {
            {L"1031", L"_de"}, {L"1034", L"_es"}, {L"1036", L"_fr"}, {L"1041", L"_ja"}};
        for (const wchar_t* language : languages)
            for (const auto& [id, suffix] : suffixes)
                if (std::wstring(id) == language)
                    text += L" --transform " + std::wstring(id) + L"=" + Quoted(Transform(product + suffix));
        return text;
    };
    ExpectRefused(
        dir.File(L"setup.exe"),
        {{editor + L" --properties \"A=\\\"unbalanced\"", L"--properties: the value of A has no closing quote"},
         {editor + L" --product-id ED", L"--product-id: \"ED\" is not a product id of the launcher (ids: DY::E"},
         {editor + L" --os banana", L"--os: \"banana\" is not a Windows version the launcher checks"},
         {editor + L" --platform Arm64", L"the launcher installs only x64 and Intel (32-bit) packages, not Arm64"},
         {editor + L" --product-code {6b1d0a10-3c55-4e7e-9a51-0c7e1e2a0001}", L"the product code"},
         {editor + L" --package-code 12345", L"the package code \"12345\" is not a GUID"},
         {editor + L" --minimum-msi 2.0", L"--minimum-msi"},
         {editor + transforms(L"editor", {L"1031"}) + L" --transform 1031=" + Quoted(Transform(L"editor_es")),
          L"a second transform for language 1031"},
         {editor + L" --background 1031=a.bmp --background 1031=b.bmp", L"a second background for language 1031"},
         {editor + L" --package " + Quoted(Fixture(L"editor_other.msi")), L"is that of"},
         // Every missing transform at once.
         {editor + transforms(L"editor", {L"1031"}) + tools + transforms(L"tools", {L"1034"}),
          L"missing: " + Fixture(L"editor.msi") + L" 1034, 1041; " + Fixture(L"tools.msi") + L" 1031, 1041"},
         {editor + L" --transform 1031=" + Quoted(Transform(L"tools_de")),
          L"the transform does not apply to " + Fixture(L"editor.msi") + L": it is made for product " +
              L"{6B1D0A10-3C55-4E7E-9A51-0C7E1E2A0002}"},
         {editor + L" --winget-manifest " + Quoted(dir.File(L"setup.yaml")), L"needs --installer-url"}});

    // Normalised platforms are stated; a missing French transform is a
    // warning and the installer is made.
    BuilderResult built = RunBuilder(L"--out " + Quoted(dir.File(L"setup.exe")) + L" " + editor + L" --platform amd64" +
                                     transforms(L"editor", {L"1031", L"1034", L"1041"}));
    ASSERT_EQ(built.exitCode, 0u) << testing::PrintToString(built.output);
    EXPECT_TRUE(Contains(built.output, L"SetupBuilder: warning: " + Fixture(L"editor.msi") +
                                           L": no French transform (1036)"))
        << testing::PrintToString(built.output);
    EXPECT_TRUE(Contains(built.output, L"x64 (64-bit)")) << testing::PrintToString(built.output);
    bool x64 = false;
    for (const auto& [name, bytes] : CatalogueResources(dir.File(L"setup.exe")))
        if (name == L"PRODUCT_PLATFORM_0/1033") x64 = bytes == std::string("x\0" "6\0" "4\0\0\0", 8);
    EXPECT_TRUE(x64);
}
