// subPackages= on the command line overrides the default selection of every
// sub-package, never the main package's, by case-sensitive parts of the
// product names, and logs each decision.
#include <gtest/gtest.h>

#include "catalogue/SubPackageSelection.h"
#include "launcher/SetupApp.h"
#include "tests/catalogue/FixtureInstall.h"
#include "tests/support/TestSupport.h"

using namespace statetest;

namespace {

struct Outcome {
    std::vector<bool> selected;
    std::wstring log;
};

// A catalogue of the editor as main package and sub-packages of the given
// names (the tools product's codes), with the selection applied.
Outcome Apply(const std::wstring& arguments, const std::vector<std::wstring>& subNames) {
    testsupport::TempDir dir;
    std::wstring log = dir.File(L"setup.log");
    Outcome outcome;
    {
        CSetupApp app(L"setup.exe /qn /L*v \"" + log + L"\" " + arguments);
        app.AddPackage(FieldsOf(FactsOf(FixtureMsi(L"editor")), true));
        for (const std::wstring& name : subNames) {
            PackageRecord fields = FieldsOf(FactsOf(FixtureMsi(L"tools")), false);
            fields.name = name;
            app.AddPackage(fields);
        }
        ApplySubPackageSelection(app);
        for (const auto& package : app.Catalogue()) outcome.selected.push_back(package->selected);
    }
    outcome.log = testsupport::ReadUtf16(log);
    return outcome;
}

int Count(const std::wstring& text, const std::wstring& part) {
    int count = 0;
    for (size_t at = text.find(part); at != std::wstring::npos; at = text.find(part, at + 1)) ++count;
    return count;
}

}  // namespace

TEST(SubPackageSelection, PatternsSelectByCaseSensitiveNameParts) {
    const std::vector<std::wstring> names = {L"Morvex Kestrane Server", L"Morvex Test Tools", L"Morvex Viewer"};
    // Defaults on a clean machine: everything selected.
    EXPECT_EQ(Apply(L"", names).selected, (std::vector<bool>{true, true, true, true}));
    EXPECT_FALSE(testsupport::Contains(Apply(L"subPackages=all", names).log, L"due to"));
    EXPECT_FALSE(testsupport::Contains(Apply(L"subPackages=,,", names).log, L"due to"));

    Outcome chosen = Apply(L"subPackages=Server,Tools", names);
    EXPECT_EQ(chosen.selected, (std::vector<bool>{true, true, true, false}));
    EXPECT_TRUE(testsupport::Contains(chosen.log,
        L"ZEL (c): Avoid skipping of sub-package Morvex Kestrane Server due to pattern 'Server'.\r\n"));
    EXPECT_TRUE(testsupport::Contains(chosen.log,
        L"ZEL (c): set default handling of package Morvex Test Tools due to command line argument.\r\n"));
    EXPECT_TRUE(testsupport::Contains(chosen.log,
        L"ZEL (c): skipped handling of package Morvex Viewer due to command line argument.\r\n"));
    // The main package is never touched, nor named.
    EXPECT_FALSE(testsupport::Contains(chosen.log, L"Morvex Test Editor 2024 due to"));

    // Letter case counts; a name matched by two patterns is logged twice.
    Outcome lower = Apply(L"subPackages=server,Morvex,Kestrane", names);
    EXPECT_EQ(lower.selected, (std::vector<bool>{true, true, true, true}));
    EXPECT_FALSE(testsupport::Contains(lower.log, L"due to pattern 'server'"));
    // A pattern that matches nothing is said (and shown on the console).
    EXPECT_EQ(Count(lower.log, L"ZEL (c): The sub-package pattern 'server' matches no sub-package.\r\n"), 1);
    EXPECT_FALSE(testsupport::Contains(lower.log, L"pattern 'Morvex' matches no"));
    EXPECT_EQ(Count(lower.log, L"Avoid skipping of sub-package Morvex Kestrane Server"), 2);
}

TEST(SubPackageSelection, NoneDeselectsEverySubPackageWhateverItsStateOrName) {
    ASSERT_EQ(Install(FixtureMsi(L"editor")), 0u);
    ASSERT_EQ(Install(FixtureMsi(L"tools")), 0u);
    const std::vector<std::wstring> names = {L"Morvex none Tools", L"Morvex Viewer"};
    // Maintenance defaults: the installed tools codes make both selected.
    EXPECT_EQ(Apply(L"", names).selected, (std::vector<bool>{true, true, true}));
    Outcome none = Apply(L"subPackages=NONE", names);
    EXPECT_EQ(none.selected, (std::vector<bool>{true, false, false}));
    EXPECT_TRUE(testsupport::Contains(none.log,
        L"ZEL (c): skipped handling of package Morvex none Tools due to command line argument.\r\n"));
    // Only an exact "none" pattern matches that name, and its line is kept.
    EXPECT_FALSE(testsupport::Contains(none.log, L"Avoid skipping"));
    Outcome exact = Apply(L"subPackages=none", names);
    EXPECT_EQ(exact.selected, (std::vector<bool>{true, false, false}));
    EXPECT_TRUE(testsupport::Contains(exact.log,
        L"ZEL (c): Avoid skipping of sub-package Morvex none Tools due to pattern 'none'.\r\n"));
    // /x: the main package keeps its own default whatever the patterns say.
    Outcome uninstall = Apply(L"/x subPackages=Viewer", names);
    EXPECT_EQ(uninstall.selected, (std::vector<bool>{true, false, true}));
}
