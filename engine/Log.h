// The log of the running launcher, for code that has no other business with
// it: nothing is written before the launcher has opened its log or after it
// has gone. The launcher defines these (launcher/SetupLog.h owns the file).
#pragma once

#include <string>

bool WriteLog(int level, const wchar_t* format, ...);
bool WriteLogRaw(int level, const std::wstring& text);
// Around every Windows Installer call: the file is handed to the installer
// and taken back.
void HandLogToInstaller();
void ReopenLog();
