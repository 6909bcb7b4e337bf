// The status file that "/m <file>" asks for, written as msiexec's /m writes
// it for Configuration Manager: a status MIF whose component fields come
// from the main package's summary information (manufacturer: author;
// product: revision number, the package code; version: subject; locale:
// template) and whose install status is "Success" or "Failed" with the
// outcome's text.
#pragma once

#include <windows.h>

#include <string>

struct StatusMifFields {
    std::wstring manufacturer;
    std::wstring product;
    std::wstring version;
    std::wstring locale;
    bool success = false;
    std::wstring description;
};

// The file's text, lines ending in CR LF. Each value is cut to the length
// its field allows (64 characters, the locale 16, the description 128);
// control characters become blanks and double quotes single ones, so that a
// value stays one quoted text.
std::wstring StatusMifText(const StatusMifFields& fields);

// Where the file goes: a bare name (no folder) into tempFolder, as the
// system's status-file function puts it; ".mif" is added to a name that
// does not end in it.
std::wstring StatusMifPath(const std::wstring& given, const std::wstring& tempFolder);

// The summary-information fields of a package database; false when it
// cannot be read.
bool ReadStatusMifFields(const std::wstring& msiPath, StatusMifFields& fields);

// The description of a run's end: the outcome's text when it has one, else
// the system's message for the exit code, else "Installer error <code>".
std::wstring StatusMifDescription(const std::wstring& outcomeText, DWORD exitCode);

// Writes text in the ANSI code page, replacing an earlier file but never
// writing through a link or into a file with further names. 0 or the
// Windows error.
DWORD WriteStatusMif(const std::wstring& path, const std::wstring& text);
