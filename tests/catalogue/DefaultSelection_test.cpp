// Which packages a run takes by default, from the command line's mode and
// what Windows Installer has installed: records made through the launcher's
// own application object, as the catalogue reader makes them.
#include <gtest/gtest.h>

#include "launcher/SetupApp.h"
#include "tests/catalogue/FixtureInstall.h"

using namespace statetest;

namespace {

struct Selected {
    bool main;
    bool sub;
    bool operator==(const Selected&) const = default;
};

// Reads the editor (main) and tools (sub-package) records in a run with the
// given arguments and reports their default selection.
Selected SelectionFor(const std::wstring& arguments) {
    CSetupApp app(L"setup.exe " + arguments);
    app.AddPackage(FieldsOf(FactsOf(FixtureMsi(L"editor")), true));
    app.AddPackage(FieldsOf(FactsOf(FixtureMsi(L"tools")), false));
    return {app.Catalogue()[0]->selected, app.Catalogue()[1]->selected};
}

}  // namespace

TEST(DefaultSelection, OnAMachineWithoutTheProducts) {
    // A fresh installation offers the sub-package, which is not there yet.
    EXPECT_EQ(SelectionFor(L"/qn"), (Selected{true, true}));
    EXPECT_EQ(SelectionFor(L"/u /qn"), (Selected{true, true}));
    // Nothing to repair or remove.
    EXPECT_EQ(SelectionFor(L"/f /qn"), (Selected{false, false}));
    EXPECT_EQ(SelectionFor(L"/x /qn"), (Selected{false, false}));
}

TEST(DefaultSelection, WithTheMainProductInstalled) {
    ASSERT_EQ(Install(FixtureMsi(L"editor")), 0u);
    // A maintenance run offers only the sub-packages already there.
    EXPECT_EQ(SelectionFor(L"/qn"), (Selected{true, false}));
    EXPECT_EQ(SelectionFor(L"/u /qn"), (Selected{true, true}));
    EXPECT_EQ(SelectionFor(L"/f /qn"), (Selected{true, false}));
    EXPECT_EQ(SelectionFor(L"/x /qn"), (Selected{true, false}));

    ASSERT_EQ(Install(FixtureMsi(L"tools")), 0u);
    EXPECT_EQ(SelectionFor(L"/qn"), (Selected{true, true}));
    EXPECT_EQ(SelectionFor(L"/f /qn"), (Selected{true, true}));
    EXPECT_EQ(SelectionFor(L"/x /qn"), (Selected{true, true}));
}

TEST(DefaultSelection, WithOnlyTheSubPackageInstalled) {
    ASSERT_EQ(Install(FixtureMsi(L"tools")), 0u);
    // A fresh installation of the main product does not offer what is there.
    EXPECT_EQ(SelectionFor(L"/qn"), (Selected{true, false}));
    EXPECT_EQ(SelectionFor(L"/x /qn"), (Selected{false, true}));
}

TEST(DefaultSelection, AMainProductFromAnotherPackageMakesAFreshInstallation) {
    ASSERT_EQ(Install(FixtureMsi(L"editor_other")), 0u);
    // The main record counts as not installed, so the sub-package is offered.
    EXPECT_EQ(SelectionFor(L"/qn"), (Selected{true, true}));
    // Its isInstalled field is set, so /f and /x take it.
    EXPECT_EQ(SelectionFor(L"/x /qn"), (Selected{true, false}));
}
