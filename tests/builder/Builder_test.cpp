// Shows what SetupBuilder makes and refuses: the version block of the main
// product (with the texts given, none of the template's); its product image
// and backgrounds in place of the template's; the same inputs (on the
// command line or in a project file) give the same installer; and every bad
// input ends with one clear line naming the file, a non-zero exit code, no
// output and no leftovers, keeping an output that was there before.
#include <gtest/gtest.h>

#include <cstring>

#include "framework/Handles.h"
#include "framework/ResourcePicture.h"
#include "framework/Text.h"
#include "icbs/VersionInfo.h"
#include "tests/builder/BuilderRun.h"
#include "tests/e2e/LauncherRun.h"
#include "tests/unit/icbs/MsiTestDatabase.h"

using namespace buildertest;
using testsupport::Contains;
using testsupport::FileExists;
using testsupport::TempDir;

TEST(Builder, TheVersionBlockNamesTheMainProduct) {
    TempDir dir;
    BuilderResult built = RunBuilder(BundleArguments(dir.File(L"setup.exe")) + L" --trademarks \"Dralyn is ours\"");
    ASSERT_EQ(built.exitCode, 0u) << testing::PrintToString(built.output);
    // What was written, then one line per package with what the builder
    // made of it (the platform as the catalogue carries it).
    ASSERT_EQ(built.lines.size(), 3u) << testing::PrintToString(built.output);
    EXPECT_TRUE(Contains(built.lines[0], L"Morvex Test Editor 2024")) << testing::PrintToString(built.lines[0]);
    EXPECT_TRUE(Contains(built.lines[1], L"PACKAGE_0: Morvex Test Editor 2024 1.2.0, Intel (32-bit), product id DY::E, "
                                         L"transforms 1031 1034 1036 1041"))
        << testing::PrintToString(built.lines[1]);

    VersionInfo info;
    ASSERT_TRUE(info.Read(dir.File(L"setup.exe"), 1033));
    std::wstring editor = Fixture(L"editor.msi");
    EXPECT_EQ(info.strings[L"ProductName"], msitest::PropertyOf(editor, L"ProductName"));
    EXPECT_EQ(info.strings[L"ProductVersion"], L"1.2.0");
    EXPECT_EQ(info.strings[L"FileVersion"], L"1.2.0");
    EXPECT_EQ(info.strings[L"CompanyName"], msitest::PropertyOf(editor, L"Manufacturer"));
    EXPECT_EQ(info.strings[L"OriginalFileName"], L"setup.exe");
    EXPECT_EQ(info.strings[L"InternalName"], L"setup");
    EXPECT_EQ(info.strings[L"FileDescription"], L"Morvex Test Editor 2024 Setup");
    EXPECT_EQ(info.strings[L"LegalCopyright"], L"Copyright (C) Morvex");
    EXPECT_EQ(info.strings[L"LegalTrademarks"], L"Dralyn is ours");
    EXPECT_EQ(info.strings[L"Comments"], L"") << "none of the template's own texts";
    // The texts given replace the defaults.
    ASSERT_EQ(RunBuilder(L"--out " + Quoted(dir.File(L"other.exe")) + L" --package " + Quoted(editor) +
                         L" --company \"Morvex Software GmbH\" --description \"Editor installer\" "
                         L"--copyright \"(C) 2024 Morvex\"")
                  .exitCode,
              0u);
    VersionInfo given;
    ASSERT_TRUE(given.Read(dir.File(L"other.exe"), 1033));
    EXPECT_EQ(given.strings[L"CompanyName"], L"Morvex Software GmbH");
    EXPECT_EQ(given.strings[L"FileDescription"], L"Editor installer");
    EXPECT_EQ(given.strings[L"LegalCopyright"], L"(C) 2024 Morvex");
    EXPECT_EQ(given.strings[L"LegalTrademarks"], L"");
    EXPECT_EQ(info.fixed.dwProductVersionMS, static_cast<DWORD>(MAKELONG(2, 1)));
    EXPECT_EQ(info.fixed.dwFileVersionLS, 0u);
    // What Windows shows in the file's properties.
    std::wstring path = dir.File(L"setup.exe");
    DWORD ignored = 0, size = ::GetFileVersionInfoSizeW(path.c_str(), &ignored);
    ASSERT_GT(size, 0u);
    std::vector<BYTE> block(size);
    ASSERT_TRUE(::GetFileVersionInfoW(path.c_str(), 0, size, block.data()));
    wchar_t* name = nullptr;
    UINT length = 0;
    ASSERT_TRUE(::VerQueryValueW(block.data(), L"\\StringFileInfo\\040904b0\\ProductName",
                                 reinterpret_cast<void**>(&name), &length));
    EXPECT_EQ(std::wstring(name), L"Morvex Test Editor 2024");
}

TEST(Builder, TheSameInputsGiveTheSameInstallerFromTheCommandLineOrAProjectFile) {
    TempDir dir;
    ASSERT_EQ(RunBuilder(BundleArguments(dir.File(L"first.exe"))).exitCode, 0u);
    ASSERT_EQ(RunBuilder(BundleArguments(dir.File(L"second.exe"))).exitCode, 0u);
    // The project file names its files relative to its own folder, where
    // the fixtures are copied.
    for (const wchar_t* name : {L"editor.msi", L"tools.msi"})
        ::CopyFileW(Fixture(name).c_str(), dir.File(name).c_str(), FALSE);
    std::string project = "; the bundle of the tests\r\n[installer]\r\nout = third.exe\r\nos = 6.1.1\r\n"
                          "product-image = " + fw::ToCodePage(testsupport::SourceDir(), CP_UTF8) +
                          "\\resources\\QuickInstall.ico\r\n";
    for (const char* product : {"editor", "tools"}) {
        project += std::string("\r\n[package ") + product + "]\r\nfile = " + product + ".msi\r\n";
        if (std::string(product) == "editor") project += "product-id = \"DY::E\"\r\n";
        for (const char* language : {"de", "es", "fr", "ja"}) {
            std::string code = language;
            const char* id = code == "de" ? "1031" : code == "es" ? "1034" : code == "fr" ? "1036" : "1041";
            project += std::string("transform.") + id + " = " +
                       fw::ToCodePage(Transform(fw::FromCodePage(std::string(product) + "_" + language, CP_UTF8)),
                                      CP_UTF8) + "\r\n";
        }
    }
    testsupport::WriteBytes(dir.File(L"bundle.ini"), project);
    BuilderResult third = RunBuilder(L"--project " + Quoted(dir.File(L"bundle.ini")));
    ASSERT_EQ(third.exitCode, 0u) << testing::PrintToString(third.output);

    auto first = CatalogueResources(dir.File(L"first.exe"));
    // OS, MINIMUM_MSI and the count; six strings, the hash, the package and
    // four transforms of each package.
    ASSERT_EQ(first.size(), 3u + 2u * (6u + 1u + 1u + 4u));
    for (const wchar_t* other : {L"second.exe", L"third.exe"}) {
        auto resources = CatalogueResources(dir.File(other));
        ASSERT_EQ(resources.size(), first.size()) << other;
        for (size_t i = 0; i < first.size(); ++i) {
            EXPECT_EQ(resources[i].first, first[i].first) << other;
            EXPECT_TRUE(resources[i].second == first[i].second) << testing::PrintToString(first[i].first) << other;
        }
        EXPECT_EQ(RunLauncherFile(dir.File(other), L"/v").exitCode, 0u) << other;
    }
    // No scratch files stay behind.
    EXPECT_EQ(testsupport::FolderEntries(dir.Path()),
              (std::vector<std::wstring>{L"bundle.ini", L"editor.msi", L"first.exe", L"second.exe", L"third.exe",
                                         L"tools.msi"}));
}

TEST(Builder, BadInputsEndWithOneClearLineAndNoOutput) {
    TempDir dir;
    std::wstring out = dir.File(L"setup.exe");
    testsupport::WriteBytes(dir.File(L"text.msi"), "this is not a database");
    testsupport::WriteBytes(dir.File(L"text.mst"), "nor is this a transform");
    std::wstring built = dir.File(L"built.exe");
    ASSERT_EQ(RunBuilder(BundleArguments(built)).exitCode, 0u);
    std::wstring editor = L" --package " + Quoted(Fixture(L"editor.msi"));
    struct Case {
        std::wstring arguments;
        std::wstring file;    // the file the message names
        std::wstring reason;  // a part of the reason
    };
    const Case cases[] = {
        {L"--package " + Quoted(dir.File(L"missing.msi")), dir.File(L"missing.msi"), L"does not exist"},
        {L"--package " + Quoted(dir.File(L"text.msi")), dir.File(L"text.msi"), L"not a Windows Installer database"},
        {editor + L" --transform 1049=" + Quoted(Transform(L"editor_de")), Transform(L"editor_de"), L"language 1049"},
        {editor + L" --transform 1033=" + Quoted(Transform(L"editor_de")), Transform(L"editor_de"), L"language 1033"},
        {editor + L" --transform 1031=" + Quoted(dir.File(L"text.mst")), dir.File(L"text.mst"), L"not a Windows"},
        {editor + L" --template " + Quoted(testsupport::BuildDir() + L"\\tests\\runexit.exe"),
         testsupport::BuildDir() + L"\\tests\\runexit.exe", L"not the bare launcher"},
        {editor + L" --template " + Quoted(built), built, L"already holds a catalogue"},
        {editor + L" --template " + Quoted(dir.File(L"text.msi")), dir.File(L"text.msi"), L"not a program file"},
        // A German transform for the main product makes a multi-language
        // installer, which needs the other languages too.
        {editor + L" --transform 1031=" + Quoted(Transform(L"editor_de")), L"",
         L"missing: " + Fixture(L"editor.msi") + L" 1034, 1041"},
        {editor + L" --product-id", L"", L"--product-id needs a value"},
        {L"--product-id DY::E" + editor, L"", L"applies to the --package before it"},
        {editor + L" --colour blue", L"", L"unknown option"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::PrintToString(c.arguments));
        BuilderResult result = RunBuilder(L"--out " + Quoted(out) + L" " + c.arguments);
        EXPECT_NE(result.exitCode, 0u);
        ASSERT_EQ(result.lines.size(), 1u) << testing::PrintToString(result.output);
        EXPECT_TRUE(Contains(result.lines[0], L"SetupBuilder: " + c.file)) << testing::PrintToString(result.lines[0]);
        EXPECT_TRUE(Contains(result.lines[0], c.reason)) << testing::PrintToString(result.lines[0]);
        EXPECT_FALSE(FileExists(out));
    }
    // Nothing but the inputs is left in the folder.
    EXPECT_EQ(testsupport::FolderEntries(dir.Path()), (std::vector<std::wstring>{L"built.exe", L"text.msi", L"text.mst"}));

    // A folder that cannot be written, and an output that is kept when a
    // build fails.
    BuilderResult nowhere = RunBuilder(L"--out " + Quoted(dir.File(L"no such folder\\setup.exe")) + editor);
    EXPECT_NE(nowhere.exitCode, 0u);
    ASSERT_EQ(nowhere.lines.size(), 1u) << testing::PrintToString(nowhere.output);
    EXPECT_TRUE(Contains(nowhere.lines[0], L"cannot write")) << testing::PrintToString(nowhere.lines[0]);
    testsupport::WriteBytes(out, "the previous installer");
    EXPECT_NE(RunBuilder(L"--out " + Quoted(out) + L" --package " + Quoted(dir.File(L"text.msi"))).exitCode, 0u);
    EXPECT_EQ(testsupport::ReadBytes(out), "the previous installer");
}

TEST(Builder, HelpShowsTheOptionsAndAnExample) {
    BuilderResult help = RunBuilder(L"--help");
    EXPECT_EQ(help.exitCode, 0u);
    for (const wchar_t* part :
         {L"--template", L"--out", L"--package", L"--product-id", L"--transform", L"--os", L"--minimum-msi",
          L"--properties", L"--product-image", L"--project", L"--company", L"--description", L"--copyright",
          L"--trademarks", L"--report", L"--winget-manifest", L"--installer-url", L"--winget-id", L"SOURCE_DATE_EPOCH",
          L"signing changes the installer", L"the launcher does not compare it", L"Example:",
          L"--product-id DY::E", L"2 a mistake on the command line"})
        EXPECT_TRUE(Contains(help.output, part)) << testing::PrintToString(std::wstring(part));
    EXPECT_FALSE(Contains(help.output, L"--product-id ED"));
    EXPECT_EQ(RunBuilder(L"").exitCode, 2u);
    EXPECT_EQ(RunBuilder(L"--colour blue").exitCode, 2u);
}

namespace {
// A 2 x 2 bitmap file of 24 bits per pixel, all of one colour.
std::string SmallBitmap(char blue) {
    std::string info(40, '\0');
    info[0] = 40;   // biSize
    info[4] = 2;    // width
    info[8] = 2;    // height
    info[12] = 1;   // planes
    info[14] = 24;  // bits per pixel
    std::string pixels;
    for (int row = 0; row < 2; ++row) pixels += std::string{blue, 0, 0, blue, 0, 0, 0, 0};  // rows of 4-byte multiples
    std::string header(14, '\0');
    header[0] = 'B';
    header[1] = 'M';
    uint32_t size = static_cast<uint32_t>(14 + info.size() + pixels.size()), offset = 14 + 40;
    std::memcpy(&header[2], &size, 4);
    std::memcpy(&header[10], &offset, 4);
    return header + info + pixels;
}
std::string ResourceBytes(HMODULE module, LPCWSTR type, LPCWSTR name, LANGID language) {
    HRSRC info = ::FindResourceExW(module, type, name, language);
    if (!info) return "<missing>";
    return std::string(static_cast<const char*>(::LockResource(::LoadResource(module, info))),
                       ::SizeofResource(module, info));
}
}  // namespace

TEST(Builder, TheProductImageAndABackgroundReplaceTheTemplates) {
    TempDir dir;
    std::string bitmap = SmallBitmap('\x7f');
    testsupport::WriteBytes(dir.File(L"german.bmp"), bitmap);
    BuilderResult built = RunBuilder(L"--out " + Quoted(dir.File(L"setup.exe")) + L" --package " +
                                     Quoted(Fixture(L"editor.msi")) + L" --product-image " +
                                     Quoted(testsupport::SourceDir() + L"\\resources\\QuickInstall.ico") +
                                     L" --background 1031=" + Quoted(dir.File(L"german.bmp")));
    ASSERT_EQ(built.exitCode, 0u) << testing::PrintToString(built.output);
    fw::ModuleHandle made(::LoadLibraryExW(dir.File(L"setup.exe").c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE));
    std::wstring bare = testsupport::BuildDir() + L"\\SetupLauncher.exe";
    fw::ModuleHandle original(::LoadLibraryExW(bare.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE));
    ASSERT_TRUE(made && original);
    // The product image's group now lists the three images of the icon file
    // (the template's has four).
    std::string group = ResourceBytes(made.get(), RT_GROUP_ICON, L"IDB_PRODUCT_IMAGE", 1033);
    ASSERT_GE(group.size(), 6u);
    EXPECT_EQ(group[4], 3);
    EXPECT_EQ(ResourceBytes(original.get(), RT_GROUP_ICON, L"IDB_PRODUCT_IMAGE", 1033)[4], 4);
    fw::IconHandle icon(static_cast<HICON>(::LoadImageW(made.get(), L"IDB_PRODUCT_IMAGE", IMAGE_ICON, 48, 48, 0)));
    EXPECT_TRUE(icon);
    // The German background is the picture without its file header; the
    // other languages keep the template's one language-neutral picture.
    EXPECT_TRUE(ResourceBytes(made.get(), RT_BITMAP, MAKEINTRESOURCEW(132), 1031) == bitmap.substr(14));
    EXPECT_EQ(ResourceBytes(made.get(), RT_BITMAP, MAKEINTRESOURCEW(132), 1033), "<missing>");
    EXPECT_TRUE(ResourceBytes(made.get(), L"PNG", MAKEINTRESOURCEW(132), 0) ==
                ResourceBytes(original.get(), L"PNG", MAKEINTRESOURCEW(132), 0));
    // What the wizard paints: the German picture in German, the template's
    // in every other language.
    for (LANGID language : {LANGID{1031}, LANGID{1033}, LANGID{1036}}) {
        fw::GdiObject picture = fw::LoadResourcePicture(made.get(), 132, language);
        BITMAP info = {};
        ASSERT_TRUE(picture && ::GetObjectW(picture.get(), sizeof(info), &info)) << language;
        EXPECT_EQ(info.bmWidth, language == 1031 ? 2 : 499) << language;
        EXPECT_EQ(info.bmHeight, language == 1031 ? 2 : 312) << language;
        if (language != 1031) continue;
        const auto* pixels = static_cast<const uint8_t*>(info.bmBits);
        EXPECT_EQ(pixels[0], 0x7f);  // blue, green, red of two pixels
        EXPECT_EQ(pixels[1], 0);
        EXPECT_EQ(pixels[3], 0x7f);
    }
    // A background for a language the launcher has no texts in is refused.
    BuilderResult refused = RunBuilder(L"--out " + Quoted(dir.File(L"other.exe")) + L" --package " +
                                       Quoted(Fixture(L"editor.msi")) + L" --background 2052=" +
                                       Quoted(dir.File(L"german.bmp")));
    EXPECT_NE(refused.exitCode, 0u);
    EXPECT_TRUE(Contains(refused.output, L"language 2052")) << testing::PrintToString(refused.output);
    EXPECT_FALSE(FileExists(dir.File(L"other.exe")));
}
