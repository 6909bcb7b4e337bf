// Products of the catalogue that a different installer put on the machine
// (same product code, another package code) must go before this launcher can
// install its own. This is the decision, from plain facts: whom to ask, what
// to remove after the answer, and with which Windows Installer UI level.
#pragma once

#include <windows.h>

#include <cstddef>
#include <string>
#include <vector>

// How the user is asked before the removal.
enum class ForeignQuestion {
    None,        // nobody is asked: everything found is removed
    MessageBox,  // one package: OK or Cancel
    Dialog,      // two or more packages: the already-installed dialog
};

struct ForeignFacts {
    // fromOtherInstaller of every catalogue package, the main package first.
    std::vector<bool> fromOtherInstaller;
    bool fullUi = false;
    bool quickInstallEmpty = true;
};

// What the user answered (ignored when nobody was asked).
struct ForeignAnswer {
    bool ok = true;                 // OK rather than Cancel
    bool removeSubPackages = true;  // the dialog's check box
};

struct ForeignRemovalPlan {
    bool proceed = true;         // false: the user declined and the run stops
    std::vector<size_t> remove;  // catalogue indices, last package first
    DWORD uiLevel = 2;           // INSTALLUILEVEL_NONE or INSTALLUILEVEL_PROGRESSONLY
};

// Some catalogue package is installed by a different installer.
bool AnyForeign(const ForeignFacts& facts);
// Whom to ask: nobody when nothing is foreign or the run is not a full-UI
// run of its own (hidden, or repeating an installation with Quick Install).
ForeignQuestion QuestionFor(const ForeignFacts& facts);
// The removal after the answer to QuestionFor's question.
ForeignRemovalPlan PlanForeignRemoval(const ForeignFacts& facts, const ForeignAnswer& answer);
// A removal result that leaves the product removed: success, also one that
// asks for a restart.
bool ForeignRemovalSucceeded(UINT result);

// Windows Installer versions ("1.2.0", up to four dotted numbers, missing
// ones 0): installed is newer than package.
bool IsNewerVersion(const std::wstring& installed, const std::wstring& package);
// Whether a removal that replaces a newer installation with this
// installer's older package may go ahead: only when somebody was asked (the
// full wizard's question) or the command line allows it (ALLOWDOWNGRADE=1).
bool DowngradeAllowed(ForeignQuestion question, bool allowedOnCommandLine);
