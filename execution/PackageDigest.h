// The payload check of a package before anything of it is unpacked: the
// package resource's shape (a 4-byte length and exactly that many bytes of
// cabinet) and, where the installer records one, the SHA-256 of the cabinet
// (the text resource PACKAGE_SHA256_<n>, 64 hexadecimal digits; installers
// made before it existed have none and are taken as they are).
#pragma once

#include <windows.h>

#include <string>

#include "icbs/CabinetImage.h"

class PayloadDigests;

// The cabinet of a package resource; false (logged when log is set) when
// the resource is missing or its length does not match its size.
bool ReadPackageCabinet(HMODULE module, const std::wstring& packageResource, CabinetImage& cabinet, bool log = true);

// "PACKAGE_SHA256_0" for "PACKAGE_0".
std::wstring DigestResourceName(const std::wstring& packageResource);

// Whether the installer records a hash for the package.
bool HasRecordedDigest(HMODULE module, const std::wstring& packageResource);

// True when the cabinet matches the recorded hash or none is recorded;
// false (logged) when it differs or the record cannot be read. The digest
// is taken from `ahead` where it was worked out there.
bool PayloadMatchesRecord(HMODULE module, const std::wstring& packageResource, const CabinetImage& cabinet,
                          const PayloadDigests* ahead = nullptr);
