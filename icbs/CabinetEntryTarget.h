// Where a cabinet entry is written. Only the last component of an entry's
// stored name is used, always inside a folder chosen by the caller: folder
// parts, "..", drive letters, absolute and UNC paths in a cabinet never
// reach outside that folder.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

// One file to pick out of a cabinet.
struct ExtractRequest {
    std::wstring name;     // the entry's stored name, or its last component
    std::wstring newName;  // written under this name when not empty
    std::wstring folder;   // written into this folder when not empty
};

// An entry's stored name as text: UTF-8 when the entry's attributes carry
// _A_NAME_IS_UTF (0x80), else the ANSI code page.
std::wstring DecodeEntryName(const char* stored, USHORT attributes);

// The part of a stored name after its last "\" or "/" (the whole name when
// it has neither). Empty when that part cannot name a plain file inside a
// folder: empty, "." or "..", only dots and blanks, holding ":" (drive
// letters, alternate streams), wildcards or control characters, or a
// reserved device name (CON, PRN, AUX, NUL, COM1-9, LPT1-9, also with an
// extension).
std::wstring EntryFileName(const std::wstring& stored);

struct EntryTarget {
    enum Kind {
        Skip,    // not wanted: leave the entry in the cabinet
        Write,   // write the entry to path
        Refuse,  // wanted but has no usable name: the extraction fails
    };
    Kind kind = Skip;
    std::wstring path;
};

// The decision for one entry. Unless picking, every entry is wanted and
// goes to defaultFolder under its last name component. When picking (the
// extraction began with requests), only entries that a remaining request
// names (by stored name or last component, exactly, case-sensitive) are
// wanted; the first such request decides the name and folder and is removed
// from the list. Once every request is used up, further entries are skipped.
EntryTarget ChooseEntryTarget(const std::wstring& stored, bool picking, std::vector<ExtractRequest>& requests,
                              const std::wstring& defaultFolder);
