// What the folders below the launcher take from the running launcher: the
// run's request (its command line), the catalogue with its resources and
// languages, a few facts of the running system, and where the run's outcome
// goes. The launcher's application object is one; a test can give its own.
#pragma once

#include <windows.h>

#include <utility>
#include <vector>

#include "catalogue/CatalogueResources.h"
#include "catalogue/LanguageTable.h"
#include "catalogue/SetupPackage.h"
#include "engine/CommandLineInfo.h"

class PayloadDigests;
struct RelatedProduct;

class RunSession {
public:
    virtual const CSetupAppCommandLineInfo& CommandLine() const = 0;
    // Message boxes wait for a click: they are shown only with the full
    // wizard.
    virtual bool NoBoxes() const = 0;

    virtual PackageCatalogue& Catalogue() = 0;
    virtual CatalogueResources& Resources() = 0;
    virtual LanguageTable& Languages() = 0;
    virtual bool IsMultiLanguage() const = 0;
    virtual std::vector<RelatedProduct*>& QuickInstallList() = 0;
    // The sub-packages were chosen on purpose: the choice stands.
    virtual void FixSubPackageSelection() = 0;
    // The package hashes worked out ahead of the unpacking, if any.
    virtual const PayloadDigests& DigestsAhead() const = 0;

    virtual bool Is64BitOs() const = 0;
    // The running Windows' major and minor version.
    virtual std::pair<DWORD, DWORD> WindowsVersion() const = 0;
    // The launcher's own file, held open for the run (INVALID_HANDLE_VALUE
    // when it could not be opened).
    virtual HANDLE LauncherFile() const = 0;

    // The run's outcome (engine/OutcomeRecorder.h decides which one wins).
    virtual UINT SetOutcome(DWORD code) = 0;
    virtual void SetOutcome(DWORD code, DWORD systemError) = 0;
    virtual void SetInstallerOutcome(DWORD result) = 0;
    // Windows Installer has shown the failure itself.
    virtual void MarkOutcomeReported() = 0;

protected:
    ~RunSession() = default;
};
