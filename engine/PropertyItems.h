// The property items that the launcher adds to a Windows Installer call:
// NAME="value" and one blank each.
#pragma once

#include <string>
#include <vector>

namespace items {

// The value in double quotes, each quote inside it doubled, so that text
// from the registry, a file or the command line stays one value and can
// never add properties of its own.
std::wstring QuotedValue(const std::wstring& value);
// NAME="value" and one blank.
std::wstring Item(const std::wstring& name, const std::wstring& value);

std::wstring Sub();            // HAS_SUB_PACKAGES="Yes"
std::wstring NoFinish();       // UI_HIDE_FINISH_DLG="Yes"
std::wstring CustomizeOnly();  // UI_HIDE_ALL_BUT_CUSTOMIZE_AND_PROGRESS="Yes"
std::wstring ProgressOnly();   // UI_HIDE_ALL_BUT_PROGRESS="Yes"
std::wstring Agreement();      // UI_SHOW_LICENSE_AGREEMENT_DLG="Yes"
// UI_HIDE_ALL_BUT_PROGRESS="Yes" DO_QUICK_INSTALL="<keys joined by ,>"
std::wstring Quick(const std::vector<std::wstring>& productKeys);
std::wstring Language(const std::wstring& code);        // INSTALLER_LANGUAGE
std::wstring Transform(const std::wstring& fileName);   // TRANSFORMS

std::wstring UninstallAll();  // sub, progress-only, no-finish
std::wstring Rollback();      // progress-only, no-finish

// The command line's NAME=VALUE items without those whose names are one of
// names, letter case ignored: the configuration steps apply command-line
// items by prefixes that ignore it, and Windows Installer would take an item
// in other letters as the very property a step sets itself.
std::vector<std::wstring> WithoutNamed(const std::vector<std::wstring>& items, const std::vector<std::wstring>& names);

}  // namespace items

// The property string of one Windows Installer call, in order:
// ACTION=ADMIN or REMOVE=ALL, INSTALLEDFROMLAUNCHER=Yes, the catalogue's
// PROPERTIES text, the command line's properties, and extra. It holds
// properties only: the launcher writes the status file of /m itself.
struct InstallCallInputs {
    bool administrative = false;
    bool uninstall = false;
    bool hasCatalogueProperties = false;
    std::wstring catalogueProperties;
    std::vector<std::wstring> commandLineProperties;
    std::wstring extraProperties;
};
std::wstring ComposeInstallProperties(const InstallCallInputs& inputs);
