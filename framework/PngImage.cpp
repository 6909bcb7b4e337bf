#include "framework/PngImage.h"

#include <cstdlib>
#include <cstring>

#include "framework/Inflate.h"

namespace fw {
namespace {

constexpr uint8_t kSignature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
constexpr uint32_t kMaxSide = 8192;
constexpr size_t kPixelBytes = 3;

uint32_t BigEndian(const uint8_t* p) {
    return static_cast<uint32_t>(p[0]) << 24 | static_cast<uint32_t>(p[1]) << 16 | static_cast<uint32_t>(p[2]) << 8 | p[3];
}

uint32_t Crc32(const uint8_t* data, size_t size) {
    static const auto table = [] {
        struct Table {
            uint32_t entry[256];
        } t;
        for (uint32_t n = 0; n < 256; ++n) {
            uint32_t c = n;
            for (int k = 0; k < 8; ++k) c = c & 1 ? 0xEDB88320u ^ (c >> 1) : c >> 1;
            t.entry[n] = c;
        }
        return t;
    }();
    uint32_t crc = 0xFFFFFFFFu;
    for (size_t i = 0; i < size; ++i) crc = table.entry[(crc ^ data[i]) & 0xFF] ^ (crc >> 8);
    return crc ^ 0xFFFFFFFFu;
}

uint8_t Paeth(int left, int up, int upLeft) {
    int estimate = left + up - upLeft;
    int toLeft = std::abs(estimate - left), toUp = std::abs(estimate - up), toUpLeft = std::abs(estimate - upLeft);
    if (toLeft <= toUp && toLeft <= toUpLeft) return static_cast<uint8_t>(left);
    return static_cast<uint8_t>(toUp <= toUpLeft ? up : upLeft);
}

// Undoes one row's filter in place; previous is the row above, already
// undone (zeros above the first).
bool Unfilter(uint8_t filter, uint8_t* row, const uint8_t* previous, size_t bytes) {
    constexpr size_t n = kPixelBytes;
    switch (filter) {
    case 0:
        return true;
    case 1:
        for (size_t i = n; i < bytes; ++i) row[i] = static_cast<uint8_t>(row[i] + row[i - n]);
        return true;
    case 2:
        for (size_t i = 0; i < bytes; ++i) row[i] = static_cast<uint8_t>(row[i] + previous[i]);
        return true;
    case 3:
        for (size_t i = 0; i < bytes; ++i)
            row[i] = static_cast<uint8_t>(row[i] + ((i >= n ? row[i - n] : 0) + previous[i]) / 2);
        return true;
    case 4:
        for (size_t i = 0; i < n && i < bytes; ++i) row[i] = static_cast<uint8_t>(row[i] + previous[i]);
        for (size_t i = n; i < bytes; ++i) row[i] = static_cast<uint8_t>(row[i] + Paeth(row[i - n], previous[i], previous[i - n]));
        return true;
    default:
        return false;
    }
}

}  // namespace

bool DecodePng(const uint8_t* data, size_t size, DecodedPicture& picture) {
    if (!data || size < sizeof(kSignature) || std::memcmp(data, kSignature, sizeof(kSignature)) != 0) return false;
    uint32_t width = 0, height = 0;
    std::vector<uint8_t> compressed;
    bool header = false;
    for (size_t at = sizeof(kSignature);;) {
        if (size - at < 12) return false;
        uint32_t length = BigEndian(data + at);
        if (length > size - at - 12) return false;
        const uint8_t* type = data + at + 4;
        const uint8_t* body = type + 4;
        if (Crc32(type, length + 4) != BigEndian(body + length)) return false;
        at += 12 + length;
        if (std::memcmp(type, "IHDR", 4) == 0) {
            // 8 bits per sample, colour type 2 (RGB), deflate, adaptive
            // filters, no interlacing.
            if (header || length != 13 || body[8] != 8 || body[9] != 2 || body[10] || body[11] || body[12]) return false;
            width = BigEndian(body);
            height = BigEndian(body + 4);
            if (!width || !height || width > kMaxSide || height > kMaxSide) return false;
            header = true;
        } else if (std::memcmp(type, "IDAT", 4) == 0) {
            if (!header) return false;
            compressed.insert(compressed.end(), body, body + length);
        } else if (std::memcmp(type, "IEND", 4) == 0) {
            break;
        } else if (!(type[0] & 0x20)) {
            return false;  // a critical chunk this decoder does not know
        }
    }
    if (!header) return false;
    size_t rowBytes = width * kPixelBytes;
    std::vector<uint8_t> filtered;
    if (!InflateZlib(compressed.data(), compressed.size(), (rowBytes + 1) * height, filtered)) return false;
    size_t stride = (rowBytes + 3) & ~size_t{3};
    picture.width = static_cast<int>(width);
    picture.height = static_cast<int>(height);
    picture.rows.assign(stride * height, 0);
    std::vector<uint8_t> above(rowBytes, 0);
    for (size_t y = 0; y < height; ++y) {
        uint8_t* row = filtered.data() + y * (rowBytes + 1);
        if (!Unfilter(row[0], row + 1, above.data(), rowBytes)) return false;
        std::memcpy(above.data(), row + 1, rowBytes);
        uint8_t* target = picture.rows.data() + (height - 1 - y) * stride;
        for (size_t x = 0; x < rowBytes; x += kPixelBytes) {
            target[x] = row[1 + x + 2];
            target[x + 1] = row[1 + x + 1];
            target[x + 2] = row[1 + x];
        }
    }
    return true;
}

}  // namespace fw
