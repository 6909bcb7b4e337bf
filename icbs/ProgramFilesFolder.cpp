#include "icbs/ProgramFilesFolder.h"

#include "icbs/RegistryKey.h"
#include "icbs/RegistryViews.h"

std::wstring ProgramFilesFolder(bool is64) {
    // The 64-bit view holds both values on a 64-bit Windows; a 32-bit
    // Windows ignores the view flag and has only the one folder.
    RegistryKey key(RegistryKey::LocalMachine(), L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion", true, false,
                    registry_view::k64);
    std::wstring folder;
    if (!is64) folder = key.GetString(L"ProgramFilesDir (x86)");
    if (folder.empty()) folder = key.GetString(L"ProgramFilesDir");
    while (!folder.empty() && (folder.back() == L'\\' || folder.back() == L'/')) folder.pop_back();
    return folder;
}
