// The launcher's parsed command line: Windows Installer style switches
// (/q, /L, /f, /x, /a, /m), the launcher's own switches and keywords (/u, /v,
// /h, lang=, subPackages=, TRANSFORMS=) and public property assignments.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "framework/CommandLine.h"

class CSetupAppCommandLineInfo : public fw::CCommandLineInfo {
public:
    bool usageError = false;
    bool help = false;
    bool extractAll = false;
    bool administrative = false;
    bool uninstall = false;
    bool fastOemActive = false;
    DWORD uiLevel = 0x85;  // full user interface with end dialog
    std::wstring logPath;
    DWORD logMode = 0x397;
    DWORD logAttributes = 0;
    bool expectLogPath = false;
    std::wstring transforms;
    bool allUsersIsOne = false;
    bool fastOemIsOne = false;
    std::vector<std::wstring> properties;
    bool repair = false;
    DWORD reinstallMode = 0;
    bool expectMifPath = false;
    std::wstring mifPath;
    bool validateOnly = false;
    std::wstring language;
    std::wstring subPackages;

    static constexpr DWORD kLogAppend = 1;
    static constexpr DWORD kLogFlushEachLine = 2;

    void ParseParam(const wchar_t* param, bool isFlag, bool isLast) override;
    virtual void ParseOneParam(const wchar_t* param, bool isFlag);
    virtual void FinishParsing();

    // Splits text at the first "=" and records it as a property assignment;
    // false when the text holds no "=".
    bool AddPropertyAssignment(const std::wstring& text);

    bool IsSilent() const { return (uiLevel & 2) != 0; }
    // The full wizard (/qf or no /q): the only level at which anything may
    // wait for the user.
    bool IsFullUi() const { return (uiLevel & 5) == 5; }

private:
    void ParseSwitch(const std::wstring& text);
    void ParseUiLevel(const std::wstring& text);
    void ParseLogSwitch(const std::wstring& text);
    void ParseRepairSwitch(const std::wstring& text);
    // True when the other three of /a, /f, /u, /x are already given.
    bool ModeSwitchesExhausted(const bool& own) const;
};
