#include "icbs/CabinetMemoryStream.h"

#include <cstdio>
#include <cstring>

UINT ReadMemoryStream(const CabinetImage& image, MemoryStreamPosition& stream, void* buffer, UINT count) {
    if (!image || stream.position < 0 || static_cast<DWORD>(stream.position) >= image.size) return 0;
    DWORD left = image.size - static_cast<DWORD>(stream.position);
    UINT copied = count < left ? count : static_cast<UINT>(left);
    if (copied != 0) std::memcpy(buffer, image.data + stream.position, copied);
    stream.position += static_cast<LONG>(copied);
    return copied;
}

LONG SeekMemoryStream(DWORD size, MemoryStreamPosition& stream, LONG distance, int method) {
    long long target;
    switch (method) {
    case SEEK_SET: target = distance; break;
    case SEEK_CUR: target = static_cast<long long>(stream.position) + distance; break;
    case SEEK_END: target = static_cast<long long>(size) + distance; break;
    default: return -1;
    }
    // As with a file, the position may pass the end (reads there find
    // nothing), never the start.
    if (target < 0 || target > 0x7FFFFFFFLL) return -1;
    stream.position = static_cast<LONG>(target);
    return stream.position;
}

int PercentRead(LONG position, DWORD size) {
    if (size == 0 || position < 0 || static_cast<DWORD>(position) >= size) return 100;
    return static_cast<int>(static_cast<double>(position) * 100.0 / static_cast<double>(size));
}
