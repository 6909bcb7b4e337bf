// Packs a database into an MSZIP cabinet written into an open file. A large
// database is packed in two halves side by side, one compressor on each of
// two threads, and the second half's data blocks are then joined to the
// first's. The halves split at a 32 KiB block boundary, so the result has
// the blocks of one folder holding the one file, as one compressor makes it.
// A block of the second half refers back at most to earlier data of that
// half (at the same distances in the joined folder), so an extractor that
// carries its history from block to block reads it as well as one that
// does not.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

class CabinetWriteDigest;

// What goes into one package's cabinet: the database (MSZIP) and the
// external cabinets its Media table names (stored as they are, in a folder
// of their own, so that they are unpacked beside the database); every entry
// with one time stamp.
struct PackingInput {
    std::wstring database;
    std::vector<std::wstring> cabinets;
    USHORT dosDate = 0;
    USHORT dosTime = 0;
};

// The cabinet goes into file from offset on, as its last bytes; the second
// half is packed into scratchCabinet first, which is removed in every case.
// A package with external cabinets is packed by one compressor. digest
// takes the cabinet's bytes as they are written; where it could not
// (Complete() false) the caller reads them back.
bool PackDatabaseInto(HANDLE file, LONG offset, const PackingInput& input, const std::wstring& scratchCabinet,
                      CabinetWriteDigest& digest);
