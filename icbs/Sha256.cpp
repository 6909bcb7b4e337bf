#include "icbs/Sha256.h"

#include <cpuid.h>
#include <immintrin.h>

#include <atomic>
#include <cstring>

namespace icbs {
namespace {

alignas(16) constexpr uint32_t kRound[64] = {
    0x428a2f98, 0x71374491, 0xb5c0fbcf, 0xe9b5dba5, 0x3956c25b, 0x59f111f1, 0x923f82a4, 0xab1c5ed5,
    0xd807aa98, 0x12835b01, 0x243185be, 0x550c7dc3, 0x72be5d74, 0x80deb1fe, 0x9bdc06a7, 0xc19bf174,
    0xe49b69c1, 0xefbe4786, 0x0fc19dc6, 0x240ca1cc, 0x2de92c6f, 0x4a7484aa, 0x5cb0a9dc, 0x76f988da,
    0x983e5152, 0xa831c66d, 0xb00327c8, 0xbf597fc7, 0xc6e00bf3, 0xd5a79147, 0x06ca6351, 0x14292967,
    0x27b70a85, 0x2e1b2138, 0x4d2c6dfc, 0x53380d13, 0x650a7354, 0x766a0abb, 0x81c2c92e, 0x92722c85,
    0xa2bfe8a1, 0xa81a664b, 0xc24b8b70, 0xc76c51a3, 0xd192e819, 0xd6990624, 0xf40e3585, 0x106aa070,
    0x19a4c116, 0x1e376c08, 0x2748774c, 0x34b0bcb5, 0x391c0cb3, 0x4ed8aa4a, 0x5b9cca4f, 0x682e6ff3,
    0x748f82ee, 0x78a5636f, 0x84c87814, 0x8cc70208, 0x90befffa, 0xa4506ceb, 0xbef9a3f7, 0xc67178f2};

constexpr uint32_t kInitial[8] = {0x6a09e667, 0xbb67ae85, 0x3c6ef372, 0xa54ff53a,
                                  0x510e527f, 0x9b05688c, 0x1f83d9ab, 0x5be0cd19};

inline uint32_t Rotate(uint32_t value, int bits) { return (value >> bits) | (value << (32 - bits)); }

inline uint32_t BigEndian(const uint8_t* p) {
    return static_cast<uint32_t>(p[0]) << 24 | static_cast<uint32_t>(p[1]) << 16 | static_cast<uint32_t>(p[2]) << 8 |
           p[3];
}

void PortableBlocks(uint32_t state[8], const uint8_t* data, size_t count) {
    uint32_t w[64];
    for (; count; --count, data += 64) {
        for (int i = 0; i < 16; ++i) w[i] = BigEndian(data + 4 * i);
        for (int i = 16; i < 64; ++i) {
            uint32_t s0 = Rotate(w[i - 15], 7) ^ Rotate(w[i - 15], 18) ^ (w[i - 15] >> 3);
            uint32_t s1 = Rotate(w[i - 2], 17) ^ Rotate(w[i - 2], 19) ^ (w[i - 2] >> 10);
            w[i] = w[i - 16] + s0 + w[i - 7] + s1;
        }
        uint32_t a = state[0], b = state[1], c = state[2], d = state[3];
        uint32_t e = state[4], f = state[5], g = state[6], h = state[7];
        for (int i = 0; i < 64; ++i) {
            uint32_t t1 = h + (Rotate(e, 6) ^ Rotate(e, 11) ^ Rotate(e, 25)) + ((e & f) ^ (~e & g)) + kRound[i] + w[i];
            uint32_t t2 = (Rotate(a, 2) ^ Rotate(a, 13) ^ Rotate(a, 22)) + ((a & b) ^ (a & c) ^ (b & c));
            h = g;
            g = f;
            f = e;
            e = d + t1;
            d = c;
            c = b;
            b = a;
            a = t1 + t2;
        }
        state[0] += a;
        state[1] += b;
        state[2] += c;
        state[3] += d;
        state[4] += e;
        state[5] += f;
        state[6] += g;
        state[7] += h;
    }
}

// The same rounds with the processor's SHA extensions: four message words
// per step, two rounds per instruction. A 32-bit thread's stack may be
// aligned to 4 bytes only: the function aligns it for its 16-byte values.
__attribute__((target("sha,sse4.1,ssse3"), force_align_arg_pointer)) void ExtensionBlocks(uint32_t state[8], const uint8_t* data,
                                                                  size_t count) {
    const __m128i byteOrder = _mm_set_epi64x(0x0c0d0e0f08090a0bULL, 0x0405060700010203ULL);
    __m128i cdab = _mm_shuffle_epi32(_mm_loadu_si128(reinterpret_cast<const __m128i*>(&state[0])), 0xB1);
    __m128i efgh = _mm_shuffle_epi32(_mm_loadu_si128(reinterpret_cast<const __m128i*>(&state[4])), 0x1B);
    __m128i abef = _mm_alignr_epi8(cdab, efgh, 8);
    __m128i cdgh = _mm_blend_epi16(efgh, cdab, 0xF0);
    for (; count; --count, data += 64) {
        const __m128i savedAbef = abef, savedCdgh = cdgh;
        __m128i w[16];
        for (int k = 0; k < 16; ++k) {
            if (k < 4)
                w[k] = _mm_shuffle_epi8(_mm_loadu_si128(reinterpret_cast<const __m128i*>(data + 16 * k)), byteOrder);
            else
                w[k] = _mm_sha256msg2_epu32(
                    _mm_add_epi32(_mm_sha256msg1_epu32(w[k - 4], w[k - 3]), _mm_alignr_epi8(w[k - 1], w[k - 2], 4)),
                    w[k - 1]);
            __m128i message = _mm_add_epi32(w[k], _mm_load_si128(reinterpret_cast<const __m128i*>(&kRound[4 * k])));
            cdgh = _mm_sha256rnds2_epu32(cdgh, abef, message);
            abef = _mm_sha256rnds2_epu32(abef, cdgh, _mm_shuffle_epi32(message, 0x0E));
        }
        abef = _mm_add_epi32(abef, savedAbef);
        cdgh = _mm_add_epi32(cdgh, savedCdgh);
    }
    __m128i feba = _mm_shuffle_epi32(abef, 0x1B);
    __m128i dchg = _mm_shuffle_epi32(cdgh, 0xB1);
    _mm_storeu_si128(reinterpret_cast<__m128i*>(&state[0]), _mm_blend_epi16(feba, dchg, 0xF0));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(&state[4]), _mm_alignr_epi8(dchg, feba, 8));
}

bool ProcessorHasExtensions() {
    unsigned a = 0, b = 0, c = 0, d = 0;
    if (!__get_cpuid(1, &a, &b, &c, &d)) return false;
    bool sse = (c & bit_SSSE3) && (c & bit_SSE4_1);
    if (!sse || __get_cpuid_max(0, nullptr) < 7) return false;
    __cpuid_count(7, 0, a, b, c, d);
    return (b & bit_SHA) != 0;
}

std::atomic<bool> useExtensions{ProcessorHasExtensions()};

}  // namespace

Sha256::Sha256() { Reset(); }

void Sha256::Reset() {
    std::memcpy(state_, kInitial, sizeof(state_));
    buffered_ = 0;
    length_ = 0;
}

void Sha256::UseProcessorExtensions(bool use) { useExtensions = use && ProcessorHasExtensions(); }

void Sha256::Blocks(const uint8_t* data, size_t count) {
    if (useExtensions)
        ExtensionBlocks(state_, data, count);
    else
        PortableBlocks(state_, data, count);
}

void Sha256::Update(const void* data, size_t size) {
    const uint8_t* bytes = static_cast<const uint8_t*>(data);
    length_ += size;
    if (buffered_) {
        size_t take = std::min(size, sizeof(buffer_) - buffered_);
        std::memcpy(buffer_ + buffered_, bytes, take);
        buffered_ += take;
        bytes += take;
        size -= take;
        if (buffered_ < sizeof(buffer_)) return;
        Blocks(buffer_, 1);
        buffered_ = 0;
    }
    if (size >= 64) {
        Blocks(bytes, size / 64);
        bytes += size / 64 * 64;
        size %= 64;
    }
    std::memcpy(buffer_, bytes, size);
    buffered_ = size;
}

Sha256Digest Sha256::Final() {
    uint64_t bits = length_ * 8;
    uint8_t tail[72] = {0x80};
    size_t padding = (buffered_ < 56 ? 56 : 120) - buffered_;
    for (int i = 0; i < 8; ++i) tail[padding + i] = static_cast<uint8_t>(bits >> (56 - 8 * i));
    Update(tail, padding + 8);
    Sha256Digest digest;
    for (int i = 0; i < 8; ++i)
        for (int j = 0; j < 4; ++j) digest[4 * i + j] = static_cast<uint8_t>(state_[i] >> (24 - 8 * j));
    Reset();
    return digest;
}

Sha256Digest Sha256Of(const void* data, size_t size) {
    Sha256 hash;
    hash.Update(data, size);
    return hash.Final();
}

std::wstring DigestText(const Sha256Digest& digest) {
    static const wchar_t digits[] = L"0123456789abcdef";
    std::wstring text;
    for (uint8_t byte : digest) {
        text += digits[byte >> 4];
        text += digits[byte & 15];
    }
    return text;
}

bool ParseDigestText(const std::wstring& text, Sha256Digest& digest) {
    if (text.size() != 64) return false;
    auto value = [](wchar_t c) {
        if (c >= L'0' && c <= L'9') return c - L'0';
        if (c >= L'a' && c <= L'f') return c - L'a' + 10;
        if (c >= L'A' && c <= L'F') return c - L'A' + 10;
        return -1;
    };
    for (size_t i = 0; i < 32; ++i) {
        int high = value(text[2 * i]), low = value(text[2 * i + 1]);
        if (high < 0 || low < 0) return false;
        digest[i] = static_cast<uint8_t>(high << 4 | low);
    }
    return true;
}

}  // namespace icbs
