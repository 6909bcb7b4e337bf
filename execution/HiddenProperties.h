// Passwords handed to Windows Installer stay out of its log: every password
// property of a call (a name ending in "_Password", as the launcher's own
// log masks them) is listed in the MsiHiddenProperties property of the
// package database before the call. The list cannot travel on the command
// line (Windows Installer takes command-line names in capitals, and
// MSIHIDDENPROPERTIES is not the property it reads), so it goes into the
// database's Property table, added to what the package lists itself.
#pragma once

#include <string>
#include <vector>

// The names of the items NAME=value or NAME="value" of a property string,
// in order (a quoted value may hold blanks and doubled quotes).
std::vector<std::wstring> PropertyNames(const std::wstring& propertyString);

// The password properties among them, each as written and in the capitals
// Windows Installer gives command-line names, without repeats.
std::vector<std::wstring> PasswordPropertyNames(const std::wstring& propertyString);

// The package's own list ("A;B") with names added that it lacks.
std::wstring MergeHiddenProperties(const std::wstring& listed, const std::vector<std::wstring>& names);

// Adds the password properties of propertyString to the MsiHiddenProperties
// row of the database at msiPath and commits it. True when there are none or
// the row holds them afterwards; false (and a log line) otherwise.
bool HidePasswordProperties(const std::wstring& msiPath, const std::wstring& propertyString);
