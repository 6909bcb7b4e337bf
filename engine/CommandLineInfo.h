// The launcher's parsed command line: Windows Installer style switches
// (/q, /L, /f, /x, /a, /m), the launcher's own switches and keywords (/u, /v,
// /h, lang=, subPackages=, TRANSFORMS=) and public property assignments.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "engine/UiLevel.h"
#include "framework/CommandLine.h"

// A Windows Installer property name: an ASCII letter or "_", then letters,
// digits, "_" and ".".
bool IsPropertyName(const std::wstring& name);
// A value Windows Installer takes as one value: without double quotes, or
// enclosed in them with every double quote inside doubled.
bool IsUsablePropertyValue(const std::wstring& value);

class CSetupAppCommandLineInfo : public fw::CCommandLineInfo {
public:
    bool usageError = false;
    // Why the command line could not be read, one text per fault, in
    // command-line order (for the log).
    std::vector<std::wstring> usageProblems;
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
    // ALLOWDOWNGRADE=1: a run below the full wizard may replace a newer
    // installation of a product from another package with this installer's
    // older one. The launcher's own property: not passed on.
    bool allowDowngrade = false;

    static constexpr DWORD kLogAppend = 1;
    static constexpr DWORD kLogFlushEachLine = 2;

    void ParseParam(const wchar_t* param, bool isFlag, bool isLast) override;
    virtual void ParseOneParam(const wchar_t* param, bool isFlag);
    virtual void FinishParsing();

    // Splits text at the first "=" and records it as a property assignment;
    // false when the text holds no "=". An assignment that Windows Installer
    // could not take (no property name, a name that is none, a value whose
    // double quotes do not make one quoted value) is a usage error.
    bool AddPropertyAssignment(const std::wstring& text);

    UiLevel Ui() const { return {uiLevel}; }
    bool IsSilent() const { return Ui().IsSilent(); }
    bool IsFullUi() const { return Ui().IsFull(); }

private:
    void RejectUsage(const std::wstring& problem);
    void ParseSwitch(const std::wstring& text);
    void ParseUiLevel(const std::wstring& text);
    void ParseLogSwitch(const std::wstring& text);
    void ParseRepairSwitch(const std::wstring& text);
    // True when the other three of /a, /f, /u, /x are already given.
    bool ModeSwitchesExhausted(const bool& own) const;
};
