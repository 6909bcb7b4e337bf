// Packs a database into an MSZIP cabinet written into an open file. A large
// database is packed in two halves side by side, one compressor on each of
// two threads, and the second half's data blocks are then joined to the
// first's. Both halves split at a block boundary and every 32 KiB block is
// compressed on its own, so the result is the cabinet one compressor would
// make of the whole: one folder, one file, the same blocks.
#pragma once

#include <windows.h>

#include <string>

// The cabinet goes into file from offset on, as its last bytes; the second
// half is packed into scratchCabinet first, which is removed in every case.
bool PackDatabaseInto(HANDLE file, LONG offset, const std::wstring& database, const std::wstring& scratchCabinet);
