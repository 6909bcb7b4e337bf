#include "framework/Inflate.h"

#include <algorithm>
#include <cstring>

namespace fw {
namespace {

constexpr int kMaxBits = 15;

// Reads the deflate stream's bits, least significant first.
class BitReader {
public:
    BitReader(const uint8_t* data, size_t size) : data_(data), size_(size) {}

    // The next count bits (count <= 16); sets failed at the end of the input.
    unsigned Take(int count) {
        if (!Fill(count)) {
            failed_ = true;
            return 0;
        }
        unsigned value = bits_ & ((1u << count) - 1);
        bits_ >>= count;
        held_ -= count;
        return value;
    }
    // The next count bits without taking them, zeros past the end of the
    // input.
    unsigned Peek(int count) {
        Fill(count);
        return bits_ & ((1u << count) - 1);
    }
    // Takes count bits that Peek showed; false when they were past the end.
    bool Skip(int count) {
        if (held_ < count) return failed_ = true, false;
        bits_ >>= count;
        held_ -= count;
        return true;
    }
    // Drops the bits left of the current byte (a stored block starts on a
    // byte boundary).
    void AlignToByte() {
        bits_ = 0;
        held_ = 0;
    }
    bool TakeBytes(size_t count, const uint8_t*& at) {
        if (size_ - position_ < count) return failed_ = true, false;
        at = data_ + position_;
        position_ += count;
        return true;
    }
    bool Failed() const { return failed_; }

private:
    // At least count bits held, as far as the input goes.
    bool Fill(int count) {
        while (held_ < count) {
            if (position_ == size_) return false;
            bits_ |= static_cast<uint32_t>(data_[position_++]) << held_;
            held_ += 8;
        }
        return true;
    }

    const uint8_t* data_;
    size_t size_, position_ = 0;
    uint32_t bits_ = 0;
    int held_ = 0;
    bool failed_ = false;
};

constexpr int kFastBits = 9;

// A canonical Huffman code: how many codes each length has, the symbols in
// code order, and for every kFastBits-bit input the symbol and length of a
// code of up to kFastBits bits it starts with (0: a longer code).
struct Huffman {
    uint16_t count[kMaxBits + 1] = {};
    uint16_t symbol[288] = {};
    uint16_t fast[1 << kFastBits] = {};  // symbol << 4 | length
};

// False for lengths that describe more codes than bits allow. An incomplete
// code is accepted: a code that is not there fails when it is read.
bool Build(Huffman& code, const uint8_t* lengths, int symbols) {
    for (int i = 0; i < symbols; ++i) ++code.count[lengths[i]];
    int left = 1;
    for (int length = 1; length <= kMaxBits; ++length) {
        left = left * 2 - code.count[length];
        if (left < 0) return false;
    }
    uint16_t offset[kMaxBits + 2] = {};
    for (int length = 1; length <= kMaxBits; ++length) offset[length + 1] = offset[length] + code.count[length];
    for (int i = 0; i < symbols; ++i)
        if (lengths[i]) code.symbol[offset[lengths[i]]++] = static_cast<uint16_t>(i);
    // The short codes in the table: codes are read first bit first, so the
    // table is indexed by the code's bits reversed.
    unsigned next = 0;
    int index = 0;
    for (int length = 1; length <= kFastBits; ++length, next <<= 1) {
        for (int n = 0; n < code.count[length]; ++n, ++next, ++index) {
            unsigned reversed = 0;
            for (int bit = 0; bit < length; ++bit) reversed |= ((next >> bit) & 1u) << (length - 1 - bit);
            for (unsigned fill = reversed; fill < (1u << kFastBits); fill += 1u << length)
                code.fast[fill] = static_cast<uint16_t>(code.symbol[index] << 4 | length);
        }
    }
    return true;
}

// The next symbol, or -1.
int Decode(BitReader& in, const Huffman& code) {
    if (unsigned entry = code.fast[in.Peek(kFastBits)]) return in.Skip(static_cast<int>(entry & 15)) ? static_cast<int>(entry >> 4) : -1;
    int value = 0, first = 0, index = 0;
    for (int length = 1; length <= kMaxBits; ++length) {
        value |= static_cast<int>(in.Take(1));
        int count = code.count[length];
        if (value - first < count) return in.Failed() ? -1 : code.symbol[index + value - first];
        index += count;
        first = (first + count) << 1;
        value <<= 1;
    }
    return -1;
}

constexpr uint16_t kLengthBase[29] = {3,  4,  5,  6,  7,  8,  9,  10, 11,  13,  15,  17,  19,  23, 27,
                                      31, 35, 43, 51, 59, 67, 83, 99, 115, 131, 163, 195, 227, 258};
constexpr uint8_t kLengthExtra[29] = {0, 0, 0, 0, 0, 0, 0, 0, 1, 1, 1, 1, 2, 2, 2, 2, 3, 3, 3, 3, 4, 4, 4, 4, 5, 5, 5, 5, 0};
constexpr uint16_t kDistanceBase[30] = {1,   2,   3,   4,   5,   7,    9,    13,   17,   25,   33,   49,    65,    97,    129,
                                        193, 257, 385, 513, 769, 1025, 1537, 2049, 3073, 4097, 6145, 8193, 12289, 16385, 24577};
constexpr uint8_t kDistanceExtra[30] = {0, 0, 0, 0, 1, 1, 2, 2, 3, 3, 4, 4, 5, 5, 6, 6, 7, 7, 8, 8, 9, 9, 10, 10, 11, 11, 12, 12, 13, 13};

// The bytes made so far, in a buffer of the final size.
struct Output {
    uint8_t* data;
    size_t used, limit;
};

bool Codes(BitReader& in, const Huffman& lengths, const Huffman& distances, Output& out) {
    for (;;) {
        int symbol = Decode(in, lengths);
        if (symbol < 0) return false;
        if (symbol < 256) {
            if (out.used == out.limit) return false;
            out.data[out.used++] = static_cast<uint8_t>(symbol);
            continue;
        }
        if (symbol == 256) return true;
        symbol -= 257;
        if (symbol >= 29) return false;
        size_t length = kLengthBase[symbol] + in.Take(kLengthExtra[symbol]);
        int where = Decode(in, distances);
        if (where < 0 || where >= 30) return false;
        size_t distance = kDistanceBase[where] + in.Take(kDistanceExtra[where]);
        if (in.Failed() || distance > out.used || out.limit - out.used < length) return false;
        // Byte by byte: a copy may overlap what it makes.
        uint8_t* to = out.data + out.used;
        for (size_t i = 0; i < length; ++i) to[i] = to[i - distance];
        out.used += length;
    }
}

bool Stored(BitReader& in, Output& out) {
    in.AlignToByte();
    const uint8_t* header = nullptr;
    if (!in.TakeBytes(4, header)) return false;
    unsigned length = header[0] | header[1] << 8, complement = header[2] | header[3] << 8;
    const uint8_t* bytes = nullptr;
    if ((length ^ 0xFFFF) != complement || out.limit - out.used < length || !in.TakeBytes(length, bytes)) return false;
    std::memcpy(out.data + out.used, bytes, length);
    out.used += length;
    return true;
}

bool Fixed(BitReader& in, Output& out) {
    uint8_t lengths[288];
    for (int i = 0; i < 288; ++i) lengths[i] = i < 144 ? 8 : i < 256 ? 9 : i < 280 ? 7 : 8;
    uint8_t distanceLengths[30];
    for (uint8_t& length : distanceLengths) length = 5;
    Huffman literal, distance;
    Build(literal, lengths, 288);
    Build(distance, distanceLengths, 30);
    return Codes(in, literal, distance, out);
}

bool Dynamic(BitReader& in, Output& out) {
    static constexpr uint8_t kOrder[19] = {16, 17, 18, 0, 8, 7, 9, 6, 10, 5, 11, 4, 12, 3, 13, 2, 14, 1, 15};
    int literals = static_cast<int>(in.Take(5)) + 257, distances = static_cast<int>(in.Take(5)) + 1;
    int codeLengths = static_cast<int>(in.Take(4)) + 4;
    if (in.Failed() || literals > 286 || distances > 30) return false;
    uint8_t lengths[320] = {};
    for (int i = 0; i < codeLengths; ++i) lengths[kOrder[i]] = static_cast<uint8_t>(in.Take(3));
    Huffman lengthCode;
    if (in.Failed() || !Build(lengthCode, lengths, 19)) return false;
    for (int i = 0; i < 19; ++i) lengths[i] = 0;
    for (int i = 0; i < literals + distances;) {
        int symbol = Decode(in, lengthCode);
        if (symbol < 0) return false;
        if (symbol < 16) {
            lengths[i++] = static_cast<uint8_t>(symbol);
            continue;
        }
        uint8_t repeated = 0;
        int times = 0;
        if (symbol == 16) {
            if (i == 0) return false;
            repeated = lengths[i - 1];
            times = 3 + static_cast<int>(in.Take(2));
        } else {
            times = symbol == 17 ? 3 + static_cast<int>(in.Take(3)) : 11 + static_cast<int>(in.Take(7));
        }
        if (in.Failed() || i + times > literals + distances) return false;
        while (times--) lengths[i++] = repeated;
    }
    if (lengths[256] == 0) return false;  // no end of block
    Huffman literal, distance;
    return Build(literal, lengths, literals) && Build(distance, lengths + literals, distances) &&
           Codes(in, literal, distance, out);
}

uint32_t Adler32(const std::vector<uint8_t>& data) {
    // 5552 bytes is the most the sums take before they could pass 32 bits.
    uint32_t a = 1, b = 0;
    for (size_t at = 0; at < data.size();) {
        size_t end = std::min(data.size(), at + 5552);
        for (; at < end; ++at) {
            a += data[at];
            b += a;
        }
        a %= 65521;
        b %= 65521;
    }
    return b << 16 | a;
}

}  // namespace

bool InflateZlib(const uint8_t* data, size_t size, size_t limit, std::vector<uint8_t>& out) {
    out.assign(limit, 0);
    Output made{out.data(), 0, limit};
    // The header: deflate with a window of at most 32 KiB, no preset
    // dictionary, its check bits right.
    if (size < 6 || (data[0] & 0x0F) != 8 || (data[0] >> 4) > 7 || (data[0] << 8 | data[1]) % 31 != 0 ||
        (data[1] & 0x20))
        return false;
    BitReader in(data + 2, size - 2);
    for (bool last = false; !last;) {
        last = in.Take(1) != 0;
        unsigned type = in.Take(2);
        bool ok = type == 0 ? Stored(in, made) : type == 1 ? Fixed(in, made) : type == 2 ? Dynamic(in, made) : false;
        if (!ok || in.Failed()) return false;
    }
    in.AlignToByte();
    const uint8_t* check = nullptr;
    if (made.used != limit || !in.TakeBytes(4, check)) return false;
    return (static_cast<uint32_t>(check[0]) << 24 | check[1] << 16 | check[2] << 8 | check[3]) == Adler32(out);
}

}  // namespace fw
