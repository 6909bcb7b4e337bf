#include "execution/UninstallEntryTexts.h"

std::wstring LanguageArgument(bool languageChosen, const std::wstring& englishName) {
    return languageChosen ? L" lang=" + englishName : std::wstring();
}

std::wstring LauncherCopyPath(const std::wstring& msiFolder, const std::wstring& launcherPath) {
    size_t separator = launcherPath.find_last_of(L"\\/");
    std::wstring fileName = separator == std::wstring::npos ? launcherPath : launcherPath.substr(separator + 1);
    return msiFolder + L"\\" + fileName;
}

std::wstring LauncherCommand(const std::wstring& program, const std::wstring& arguments) {
    bool needsQuotes = program.find_first_of(L" \t") != std::wstring::npos;
    return (needsQuotes ? L"\"" + program + L"\"" : program) + arguments;
}

std::wstring QuietUninstallCommand(const std::wstring& copyPath) { return L"\"" + copyPath + L"\" /x /qn"; }

bool IsOldWindows(DWORD major, DWORD minor) { return major < 6 || (major == 6 && minor == 0); }
