#include "execution/PrepareDatabase.h"

#include "catalogue/SetupPackage.h"
#include "engine/Log.h"
#include "execution/CommandLineTransforms.h"
#include "framework/SystemApi.h"

void PrepareDatabase(SetupPackage& package, DWORD uiLevel, const std::wstring& transforms) {
    fw::Msi().MsiSetInternalUI(static_cast<INSTALLUILEVEL>(uiLevel), nullptr);
    if (!package.commandLineTransformsApplied) ApplyCommandLineTransforms(package, transforms);
    HandLogToInstaller();
}
