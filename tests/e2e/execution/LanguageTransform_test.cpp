// The language transform is passed on only when it was written whole: a
// write that stops part of the way (which Wine's file system does not do by
// itself, so the write is replaced here) leaves no file and no name.
#include <gtest/gtest.h>

#include "catalogue/SetupPackage.h"
#include "execution/PackageExtraction.h"
#include "framework/Handles.h"
#include "launcher/SetupApp.h"
#include "tests/catalogue/FixtureInstall.h"
#include "tests/support/TestSupport.h"

using namespace statetest;

namespace {

struct Extraction {
    Extraction() {
        resources.reset(::LoadLibraryExW(testsupport::LauncherPath(L"multi").c_str(), nullptr,
                                         LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE));
        app = std::make_unique<CSetupApp>(L"setup.exe /qn /L*v \"" + dir.File(L"setup.log") + L"\"");
        app->Languages().SelectLanguage(L"German");
        package = std::make_unique<SetupPackage>(FieldsOf(FactsOf(FixtureMsi(L"editor")), true),
                                                 app->DetectionContextFor(true));
        package->transformPattern = L"PACKAGE_0_%s";
        package->msiFolder = dir.File(L"package");
        package->msiFileName = package->msiFolder + L"\\editor.msi";  // unpacked already
        context.resources = resources.get();
        context.transformLanguage = &app->Languages().Current();
    }
    std::wstring TransformFile() const { return package->msiFolder + L"\\Transform_de.mst"; }
    std::wstring Log() const { return testsupport::ReadUtf16(dir.File(L"setup.log")); }

    testsupport::TempDir dir;
    fw::ModuleHandle resources;
    std::unique_ptr<CSetupApp> app;
    std::unique_ptr<SetupPackage> package;
    ExtractionContext context;
};

// Writes half of what it is given, then fails with error.
auto HalfWrite(DWORD error) {
    return [error](HANDLE file, const void* data, DWORD size, DWORD* written) {
        ::WriteFile(file, data, size / 2, written, nullptr);
        ::SetLastError(error);
        return FALSE;
    };
}

}  // namespace

TEST(LanguageTransform, OnlyATransformWrittenWholeIsPassedOn) {
    {
        Extraction whole;
        ASSERT_NE(whole.resources.get(), nullptr);
        EXPECT_EQ(ExtractProduct(*whole.package, nullptr, whole.context), 0u);
        EXPECT_EQ(whole.package->transformFileName, L"Transform_de.mst");
        EXPECT_GT(testsupport::ReadBytes(whole.TransformFile()).size(), 0u);
    }
    {
        Extraction cut;
        cut.context.writeTransform = HalfWrite(ERROR_WRITE_FAULT);
        EXPECT_EQ(ExtractProduct(*cut.package, nullptr, cut.context), 0u);
        EXPECT_TRUE(cut.package->transformFileName.empty());
        EXPECT_FALSE(testsupport::FileExists(cut.TransformFile()));
        EXPECT_TRUE(testsupport::Contains(cut.Log(), L"ZEL (c): The language transform " + cut.TransformFile() +
                                                         L" could not be written completely ("));
    }
    {
        // A full disk ends the unpacking (11), with nothing left behind either.
        Extraction full;
        full.context.writeTransform = HalfWrite(ERROR_DISK_FULL);
        EXPECT_EQ(ExtractProduct(*full.package, nullptr, full.context), 11u);
        EXPECT_TRUE(full.package->transformFileName.empty());
        EXPECT_FALSE(testsupport::FileExists(full.TransformFile()));
    }
}
