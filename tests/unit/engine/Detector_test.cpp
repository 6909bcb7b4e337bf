// A package's detected state from a table of machine facts: which product
// codes Windows Installer has registered and by which package, and the
// default selection of every mode.
#include <gtest/gtest.h>

#include <map>

#include "engine/Detector.h"

namespace {

// Windows Installer's registrations as a table: product code -> package code
// (nothing when the package code cannot be read).
struct MachineTable : MachineQueries {
    std::map<std::wstring, std::optional<std::wstring>> registered;
    mutable int questions = 0;
    bool IsProductRegistered(const std::wstring& productCode) const override {
        ++questions;
        return registered.count(productCode) != 0;
    }
    std::optional<std::wstring> RegisteredPackageCode(const std::wstring& productCode) const override {
        auto found = registered.find(productCode);
        return found == registered.end() ? std::nullopt : found->second;
    }
};

const wchar_t kEditor[] = L"{6B1D0A10-3C55-4E7E-9A51-0C7E1E2A0001}";
const wchar_t kEditorPackage[] = L"{6B1D0A10-3C55-4E7E-9A51-0C7E1E2AF001}";

PackageRecord Record(bool isMain) {
    PackageRecord record;
    record.productCode = kEditor;
    record.packageCode = kEditorPackage;
    record.isMain = isMain;
    return record;
}

DetectionContext Mode(const std::wstring& mode, bool mainInstalled) {
    DetectionContext context;
    context.extractAll = mode == L"/u";
    context.repair = mode == L"/f";
    context.uninstall = mode == L"/x";
    context.mainInstalled = mainInstalled;
    return context;
}

}  // namespace

TEST(Detector, InstalledAndByWhichPackage) {
    MachineTable machine;
    Detector detector(machine);
    // Not registered.
    PackageState state = detector.Detect(Record(true), {});
    EXPECT_FALSE(state.isInstalled);
    EXPECT_FALSE(state.fromOtherInstaller);
    EXPECT_FALSE(state.InstalledHere());
    // Registered by this package, whatever the case of its package code.
    std::wstring lower = kEditorPackage;
    for (wchar_t& c : lower) c = static_cast<wchar_t>(towlower(c));
    machine.registered[kEditor] = lower;
    state = detector.Detect(Record(true), {});
    EXPECT_TRUE(state.isInstalled);
    EXPECT_FALSE(state.fromOtherInstaller);
    EXPECT_TRUE(state.InstalledHere());
    // Registered by another package: installed, but not here.
    machine.registered[kEditor] = L"{00000000-0000-0000-0000-0000000000F2}";
    state = detector.Detect(Record(true), {});
    EXPECT_TRUE(state.isInstalled);
    EXPECT_TRUE(state.fromOtherInstaller);
    EXPECT_FALSE(state.InstalledHere());
    // A package code that cannot be read does not make it another's.
    machine.registered[kEditor] = std::nullopt;
    state = detector.Detect(Record(true), {});
    EXPECT_TRUE(state.InstalledHere());
    // A record without a product code is never installed, and Windows
    // Installer is not asked about it.
    machine.registered[L""] = kEditorPackage;
    PackageRecord noCode = Record(true);
    noCode.productCode.clear();
    machine.questions = 0;
    EXPECT_FALSE(detector.Detect(noCode, {}).isInstalled);
    EXPECT_EQ(machine.questions, 0);
}

TEST(Detector, SelectionFollowsTheDetectedState) {
    MachineTable machine;
    Detector detector(machine);
    // Fresh machine: the sub-package is offered, nothing to remove.
    EXPECT_TRUE(detector.Detect(Record(false), Mode(L"", false)).selected);
    EXPECT_FALSE(detector.Detect(Record(true), Mode(L"/x", false)).selected);
    // Installed by another package: /x still takes it (its registration
    // counts), a fresh run does not offer the sub-package.
    machine.registered[kEditor] = L"{00000000-0000-0000-0000-0000000000F2}";
    EXPECT_TRUE(detector.Detect(Record(true), Mode(L"/x", false)).selected);
    EXPECT_FALSE(detector.Detect(Record(false), Mode(L"", false)).selected);
}

TEST(DefaultSelectionRules, EveryModeAndState) {
    for (bool mainInstalled : {false, true}) {
        for (bool installed : {false, true}) {
            // /u takes everything; /f and /x take what is installed.
            EXPECT_TRUE(DefaultSelection(Mode(L"/u", mainInstalled), true, installed));
            EXPECT_TRUE(DefaultSelection(Mode(L"/u", mainInstalled), false, installed));
            for (const wchar_t* mode : {L"/f", L"/x"}) {
                EXPECT_EQ(DefaultSelection(Mode(mode, mainInstalled), true, installed), installed) << mode;
                EXPECT_EQ(DefaultSelection(Mode(mode, mainInstalled), false, installed), installed) << mode;
            }
            // Without a mode the main package always takes part.
            EXPECT_TRUE(DefaultSelection(Mode(L"", mainInstalled), true, installed));
        }
    }
    // A sub-package: fresh installations offer what is missing, maintenance
    // runs what is there.
    EXPECT_TRUE(DefaultSelection(Mode(L"", false), false, false));
    EXPECT_FALSE(DefaultSelection(Mode(L"", false), false, true));
    EXPECT_FALSE(DefaultSelection(Mode(L"", true), false, false));
    EXPECT_TRUE(DefaultSelection(Mode(L"", true), false, true));
    // /u outranks /f and /x, /f and /x outrank the plain rules.
    DetectionContext all = Mode(L"/u", false);
    all.repair = all.uninstall = true;
    EXPECT_TRUE(DefaultSelection(all, false, false));
}
