// The checks of the values a build is given, each a plain decision: a value
// the launcher would misread is refused with a reason, before anything is
// written.
#pragma once

#include <string>

// --properties: NAME=value items separated by blanks; a value with blanks
// is in double quotes, a quote inside it doubled.
bool CheckPropertiesText(const std::wstring& text, std::wstring& reason);

// A platform as the catalogue writes it: "x64" for a 64-bit package,
// "Intel" for a 32-bit one. Read without regard to case: x64, amd64,
// x86_64 give x64; Intel, x86, i386, i686 give Intel; Arm64, Arm and
// Intel64 (Itanium) are refused, as is anything else.
bool NormalisePlatform(const std::wstring& text, std::wstring& platform, std::wstring& reason);
// The platform of a database's summary template ("x64;1033",
// "Intel,x64;1033": its first platform; none: Intel).
bool DatabasePlatform(const std::wstring& summaryTemplate, std::wstring& platform, std::wstring& reason);

// A Windows Installer code: a GUID in braces, letters in upper case.
bool CheckInstallerCode(const std::wstring& text, std::wstring& reason);

// --os: what the launcher's Windows check reads: major.minor with up to two
// service-pack numbers (or the major version alone) and an optional
// "/WSOnly", or WinNT, WinXP; a major
// version of 4 or more.
bool CheckOsText(const std::wstring& text, std::wstring& reason);

// --product-id: empty, or an id of the launcher's product table (or a
// bundle id); the reason lists the ids.
bool CheckProductId(const std::wstring& id, std::wstring& reason);

// --minimum-msi: a decimal number (200 for Windows Installer 2.0).
bool CheckMinimumMsi(const std::wstring& text, std::wstring& reason);
