// The input and output callbacks that the cabinet library (FDI) calls while
// it unpacks a cabinet, over one process-wide table of open streams. A
// stream is either a real file or a read-only view of the cabinet held in
// memory; FDI sees only the integer handles of this table.
//
// The cabinet being read, the progress interface and the disk-full flag are
// process-wide: one extraction runs at a time.
#pragma once

#include <windows.h>
#include <fdi.h>

#include "framework/Handles.h"
#include "icbs/CabinetImage.h"
#include "icbs/CabinetProgress.h"

namespace cabinet_streams {

// FDI callbacks. None of them lets an exception out.
void* DIAMONDAPI Alloc(ULONG size) noexcept;
void DIAMONDAPI Free(void* block) noexcept;
// A create (_O_CREAT), or any open while no cabinet is set, opens a real
// file; every other open is a memory stream over the current cabinet at
// position 0, bound to the current progress interface. -1 on failure.
INT_PTR DIAMONDAPI Open(char* name, int oflag, int pmode) noexcept;
// Memory streams report OnBytes(position) and then OnPercent after every
// read; after a failed write they refuse to read, so the library stops.
UINT DIAMONDAPI Read(INT_PTR handle, void* buffer, UINT count) noexcept;
// Files only; a write that fails for lack of space sets the disk-full flag.
UINT DIAMONDAPI Write(INT_PTR handle, void* buffer, UINT count) noexcept;
int DIAMONDAPI Close(INT_PTR handle) noexcept;
LONG DIAMONDAPI Seek(INT_PTR handle, LONG distance, int method) noexcept;

// Sets the cabinet that memory streams read and the progress interface they
// report to, and clears the disk-full and write-failure marks.
void BeginExtraction(const CabinetImage& image, ICBSCabinetProgressCallbacks* progress);
// Clears the cabinet and the progress interface.
void EndExtraction();

bool DiskFull();
void SetDiskFull();
void ClearDiskFull();
// A write to an output file failed during the current extraction.
bool WriteFailed();

// An output file opened by the extractor, registered so that FDI can write
// to it. Returns its handle number, or 0 when the file is not open.
INT_PTR AddOutputFile(fw::FileHandle file);

struct OutputFileState {
    bool open = false;  // still in the table
    HANDLE file = INVALID_HANDLE_VALUE;
    unsigned long long written = 0;
    bool writeFailed = false;
};
OutputFileState QueryOutputFile(INT_PTR handle);

// Number of streams open now (memory and file).
size_t OpenStreamCount();

}  // namespace cabinet_streams
