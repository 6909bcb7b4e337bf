#include "execution/PrepareDatabase.h"

#include "catalogue/SetupPackage.h"
#include "execution/CommandLineTransforms.h"
#include "framework/SystemApi.h"
#include "launcher/SetupApp.h"

void PrepareDatabase(SetupPackage& package) {
    CSetupApp* app = package.owner ? package.owner : CSetupApp::Current();
    if (app) {
        const CSetupAppCommandLineInfo& commandLine = app->CommandLine();
        fw::Msi().MsiSetInternalUI(static_cast<INSTALLUILEVEL>(commandLine.uiLevel), nullptr);
        if (!package.commandLineTransformsApplied) ApplyCommandLineTransforms(package, commandLine.transforms);
    }
    HandLogToInstaller();
}
