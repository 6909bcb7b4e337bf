#include "icbs/CabinetWriteDigest.h"

#include <io.h>

#include <algorithm>
#include <cstdio>
#include <cstring>

namespace {

// The cabinet header's fields that joining changes.
constexpr size_t kSizeField = 8;       // cbCabinet
constexpr size_t kFilesField = 16;     // coffFiles: where the file entries start
constexpr size_t kBlocksField = 40;    // the first folder's cCFData
constexpr size_t kFirstFolderEnd = 44;
constexpr DWORD kLargestHead = 65536;
constexpr char kSignature[] = "MSCF";
constexpr unsigned kSignatureSize = 4;

template <class T>
void Add(std::string& bytes, size_t at, T growth) {
    T value = 0;
    std::memcpy(&value, bytes.data() + at, sizeof(T));
    value = static_cast<T>(value + growth);
    std::memcpy(bytes.data() + at, &value, sizeof(T));
}

}  // namespace

bool CabinetWriteDigest::Written(int fd, long base, const void* data, unsigned count) {
    const BYTE* bytes = static_cast<const BYTE*>(data);
    long start = position_;
    position_ += static_cast<long>(count);
    if (!inOrder_) return true;
    // The library may write a stand-in signature first and the real one
    // over it once the cabinet is complete: the digest takes the real one.
    if (start == 0 && hashed_ + static_cast<long>(head_.size()) > 0 && count <= kSignatureSize) {
        signatureWritten_ = std::memcmp(bytes, kSignature, count) == 0;
        return true;
    }
    if (start != hashed_ + static_cast<long>(head_.size())) {
        inOrder_ = false;
        return true;
    }
    std::string first;
    if (start == 0 && count >= kSignatureSize) {
        signatureWritten_ = std::memcmp(bytes, kSignature, kSignatureSize) == 0;
        first.assign(reinterpret_cast<const char*>(bytes), count);
        std::memcpy(first.data(), kSignature, kSignatureSize);
        bytes = reinterpret_cast<const BYTE*>(first.data());
    }
    if (growth_.Any() && !headDone_) return TakeHead(fd, base, bytes, count);
    hash_.Update(bytes, count);
    hashed_ += static_cast<long>(count);
    return true;
}

bool CabinetWriteDigest::TakeHead(int fd, long base, const BYTE* data, unsigned count) {
    head_.append(reinterpret_cast<const char*>(data), count);
    if (head_.size() < kFilesField + 4) return true;
    DWORD files = 0;
    std::memcpy(&files, head_.data() + kFilesField, 4);
    if (files < kFirstFolderEnd || files > kLargestHead) {
        inOrder_ = false;
        return true;
    }
    size_t need = std::max<size_t>(kFirstFolderEnd, files + 4);
    if (head_.size() < need) return true;
    Add<DWORD>(head_, kSizeField, growth_.size);
    Add<WORD>(head_, kBlocksField, growth_.blocks);
    Add<DWORD>(head_, files, growth_.fileSize);
    // The header is in the file already: write it again with the new counts
    // (and the signature the library writes last) and go on where the
    // library left off.
    long end = _lseek(fd, 0, SEEK_CUR);
    bool rewritten = end != -1 && _lseek(fd, base, SEEK_SET) == base &&
                     _write(fd, head_.data(), static_cast<unsigned>(need)) == static_cast<int>(need) &&
                     _lseek(fd, end, SEEK_SET) == end;
    if (!rewritten) return false;
    hash_.Update(head_.data(), head_.size());
    hashed_ += static_cast<long>(head_.size());
    head_.clear();
    headDone_ = true;
    return true;
}

void CabinetWriteDigest::Appended(const void* data, size_t count) {
    if (!head_.empty()) inOrder_ = false;
    if (!inOrder_) return;
    hash_.Update(data, count);
    hashed_ += static_cast<long>(count);
    position_ = hashed_;
}
