// The version block of a program file (resource type RT_VERSION, id 1): the
// fixed file information, the single translation (language and code page)
// and the version strings of its string table.
#pragma once

#include <windows.h>

#include <map>
#include <string>
#include <vector>

class VersionInfo {
public:
    VS_FIXEDFILEINFO fixed = {};
    WORD language = 0;
    WORD codePage = 0;
    // Name -> value, written in this (sorted) order.
    std::map<std::wstring, std::wstring> strings;

    // The twelve standard string names, in reading order.
    static const std::vector<std::wstring>& StandardNames();

    // Reads the block of file in the resource language. False when the file,
    // the block or its fixed information is missing, when the block does not
    // hold exactly one translation, or at the first standard name that is
    // missing (the names after it are not read).
    bool Read(const std::wstring& file, LANGID resourceLanguage);
    // The same from a block in memory.
    bool ReadBlock(const BYTE* block, DWORD size);

    // Stores Block() as the version resource of file in the resource language;
    // on failure (also a block too long for its lengths) the file is left as
    // it was.
    bool Write(const std::wstring& file, LANGID resourceLanguage) const;
    // The block in the published VS_VERSIONINFO layout; empty when a length
    // of it would pass the 65,535 its 16-bit fields can hold.
    std::vector<BYTE> Block() const;
};
