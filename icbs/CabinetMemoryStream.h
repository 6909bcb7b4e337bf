// Reading and seeking in a cabinet held in memory, as the cabinet library
// does it through its read and seek callbacks. Reads never leave the
// cabinet's bytes, wherever the position is.
#pragma once

#include <windows.h>

#include "icbs/CabinetImage.h"

struct MemoryStreamPosition {
    LONG position = 0;
};

// Copies min(count, size - position) bytes to buffer and advances the
// position; returns the number of bytes copied.
UINT ReadMemoryStream(const CabinetImage& image, MemoryStreamPosition& stream, void* buffer, UINT count);

// SEEK_SET sets the position, SEEK_CUR adds to it, SEEK_END sets it to
// size + distance. Returns the new position, or -1 (position unchanged) when
// the target lies before the start or the method is unknown. A position past
// the end is kept, as a file does; reads there copy nothing.
LONG SeekMemoryStream(DWORD size, MemoryStreamPosition& stream, LONG distance, int method);

// position * 100 / size, truncated; 100 at or past the end and for an empty
// stream.
int PercentRead(LONG position, DWORD size);
