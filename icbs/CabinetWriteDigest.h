// The SHA-256 of a cabinet that the compressor writes into the caller's
// file, taken from the bytes as the write callback passes them on, so that
// the cabinet is never read a second time. A cabinet whose data blocks will
// be followed by another cabinet's (two halves packed side by side) needs
// larger counts in its header: given before the cabinet is written, they
// are put into the file as soon as the header has passed, and the digest
// takes the header as it ends up.
#pragma once

#include <windows.h>

#include <string>

#include "icbs/Sha256.h"

class CabinetWriteDigest {
public:
    // Added to the header's cabinet size, the first folder's block count
    // and the first file's size.
    struct HeadGrowth {
        DWORD size = 0;
        WORD blocks = 0;
        DWORD fileSize = 0;
        bool Any() const { return size || blocks || fileSize; }
    };
    void GrowHead(const HeadGrowth& growth) { growth_ = growth; }

    // The write callback, after count bytes were written at the current
    // position of descriptor fd, whose cabinet starts at base. False when
    // the header could not be changed in the file.
    bool Written(int fd, long base, const void* data, unsigned count);
    // The seek callback: the cabinet's position is now position.
    void MovedTo(long position) { position_ = position; }
    // Bytes appended behind the cabinet by the caller (joined blocks).
    void Appended(const void* data, size_t count);

    // Every byte was seen once and in order, and the header changes (if
    // any) were made: Final() is the digest of the cabinet in the file.
    bool Complete() const { return inOrder_ && signatureWritten_ && (headDone_ || !growth_.Any()); }
    bool HeadGrown() const { return headDone_ && growth_.Any(); }
    icbs::Sha256Digest Final() { return hash_.Final(); }

private:
    bool TakeHead(int fd, long base, const BYTE* data, unsigned count);

    HeadGrowth growth_;
    icbs::Sha256 hash_;
    std::string head_;  // the header as far as it has come, until it is complete
    bool headDone_ = false;
    bool inOrder_ = true;
    bool signatureWritten_ = false;  // the file starts with "MSCF" as hashed
    long position_ = 0;  // where the next write lands
    long hashed_ = 0;    // how many bytes the digest has taken
};
