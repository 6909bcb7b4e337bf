// Finds where a resource's data entry (its address and size) sits in a
// program file, by walking the resource directory on disk, so that the
// builder can point the entry at data it wrote elsewhere in the file.
#pragma once

#include <windows.h>

#include <string>

#include "builder/ProgramFileLayout.h"

// The file offset of the IMAGE_RESOURCE_DATA_ENTRY of the named resource of
// a numeric type, in its first language; 0 when the file has no such
// resource or its directory is damaged.
ULONGLONG FindResourceDataEntry(HANDLE file, const ProgramFileLayout& layout, WORD type, const std::wstring& name);
