// Security descriptors written in SDDL, converted by the system's converter.
#pragma once

#include <string>

#include "framework/Handles.h"

namespace icbs {

// Converts an SDDL text (revision 1) into a self-relative security
// descriptor with ConvertStringSecurityDescriptorToSecurityDescriptorW,
// looked up at run time in the given library. Empty when the library, the
// function or the conversion fails.
fw::LocalMemory SecurityDescriptorFromSddl(const wchar_t* sddl, const wchar_t* library = L"Advapi32.dll",
                                           const char* function =
                                               "ConvertStringSecurityDescriptorToSecurityDescriptorW");

// The SDDL text of the given parts of a descriptor (revision 1); empty when
// the conversion fails.
std::wstring SddlOf(PSECURITY_DESCRIPTOR descriptor, SECURITY_INFORMATION parts);

// True when two sets of file access rights grant the same, generic rights
// (GENERIC_ALL, GENERIC_READ, ...) counted as the file rights they stand for.
bool SameFileRights(DWORD a, DWORD b);

}  // namespace icbs
