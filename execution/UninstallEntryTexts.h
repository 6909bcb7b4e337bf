// What the uninstall entry of a bundle holds once the launcher owns it: the
// commands that start the kept launcher copy, the language argument that
// makes that copy continue in the language of the installation, and the
// Windows versions on which the installer's product key is changed too.
#pragma once

#include <windows.h>

#include <string>

// " lang=" + the English name of the language ("German"), the form the
// command line's lang= takes, when a language was chosen; else empty.
std::wstring LanguageArgument(bool languageChosen, const std::wstring& englishName);

// The kept launcher copy: msiFolder + "\" + the file name part of the
// running launcher's path.
std::wstring LauncherCopyPath(const std::wstring& msiFolder, const std::wstring& launcherPath);

// A command line that starts program with arguments appended as given (they
// begin with a blank when there are any). A program path holding a blank is
// enclosed in double quotes, so that Windows cannot take a leading part of
// it ("C:\Program" for "C:\Program Files\...") for the program to start.
std::wstring LauncherCommand(const std::wstring& program, const std::wstring& arguments);

// The command that deployment tools run to remove the bundle without any
// user interface: the launcher copy, always quoted, then " /x /qn".
std::wstring QuietUninstallCommand(const std::wstring& copyPath);

// Windows older than 6.1 (Windows 7): major below 6, or 6 with minor 0.
bool IsOldWindows(DWORD major, DWORD minor);
