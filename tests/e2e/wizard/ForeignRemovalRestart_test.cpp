// A restart that the removal of a foreign installation asks for (3010, 1641; answered through msi.dll's table) stays the run's result through the unpacking's and the installation's plain successes.
#include <gtest/gtest.h>

#include "catalogue/SessionChoices.h"
#include "engine/HeadlessObserver.h"
#include "engine/Outcome.h"
#include "engine/RunChoices.h"
#include "execution/ProductOperations.h"
#include "framework/SystemApi.h"
#include "launcher/SetupApp.h"
#include "tests/catalogue/FixtureInstall.h"
#include "tests/support/TestSupport.h"
#include "wizard/ForeignInstallations.h"

using namespace statetest;

namespace {

struct Call {
    std::wstring package;
    std::wstring properties;
};
std::vector<Call> calls;
UINT removalAnswer = 0;
decltype(fw::Msi().MsiInstallProductW.fn) realInstall = nullptr;

// The removal really removes and then answers with the restart the test asks
// for; the installation only succeeds.
UINT WINAPI AnswerInstall(LPCWSTR package, LPCWSTR properties) {
    std::wstring text = properties ? properties : L"";
    calls.push_back({package ? package : L"", text});
    if (text.rfind(L"REMOVE=ALL", 0) != 0) return ERROR_SUCCESS;
    UINT result = realInstall(package, properties);
    return result == ERROR_SUCCESS ? removalAnswer : result;
}

class InstallAnswers {
public:
    InstallAnswers() {
        realInstall = fw::Msi().MsiInstallProductW.fn;
        fw::Msi().MsiInstallProductW.fn = &AnswerInstall;
    }
    ~InstallAnswers() { fw::Msi().MsiInstallProductW.fn = realInstall; }
};

}  // namespace

TEST(ForeignRemovalRestart, TheRestartSurvivesTheUnpackingAndTheInstallation) {
    FixtureFacts own = FactsOf(FixtureMsi(L"editor"));
    for (UINT restart : {static_cast<UINT>(ERROR_SUCCESS_REBOOT_REQUIRED),
                         static_cast<UINT>(ERROR_SUCCESS_REBOOT_INITIATED)}) {
        // Another installer put the editor product on the machine.
        testsupport::TempDir sources;
        InstallFromCopy(FixtureMsi(L"editor_other"), sources.File(L"editor_other"));
        ASSERT_TRUE(ProductInstalled(own.productCode));
        calls.clear();
        removalAnswer = restart;
        InstallAnswers answers;
        testsupport::TempDir dir;
        CSetupApp app(L"setup.exe /qn /L*v \"" + dir.File(L"setup.log") + L"\"");
        app.AddPackage(FieldsOf(own, true));
        SetupPackage& package = *app.Catalogue().front();
        ASSERT_TRUE(package.fromOtherInstaller);
        RunChoices choices = ChoicesFor(app);

        // The welcome page's check removes the foreign installation.
        HeadlessObserver quiet;
        EXPECT_EQ(ForeignInstallations(app, choices, quiet).Check(), ForeignCheckResult::Proceed);
        ASSERT_EQ(calls.size(), 1u);
        EXPECT_EQ(calls[0].properties.rfind(L"REMOVE=ALL", 0), 0u);
        EXPECT_FALSE(ProductInstalled(own.productCode));
        EXPECT_EQ(app.Outcome().code, restart);

        // The unpacking ends with plain success, as its worker records it.
        package.msiFileName = L"editor.msi";
        app.SetOutcome(outcome::kSuccess);
        EXPECT_EQ(app.Outcome().code, restart);

        // The installation succeeds without a restart of its own.
        EXPECT_EQ(ProductOperations(app, choices).RunOperations(), 0u);
        ASSERT_EQ(calls.size(), 2u);
        EXPECT_EQ(calls[1].package, L"editor.msi");
        EXPECT_EQ(app.Outcome().code, restart);
        // A failure still replaces it.
        app.SetOutcome(outcome::kFailed);
        EXPECT_EQ(app.Outcome().code, outcome::kFailed);
    }
}
