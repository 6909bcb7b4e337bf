// Independent reference implementations for checking the password
// encryption byte for byte: SHA-1 (FIPS 180-4), RC4 and Base64 with the
// line layout of the system's binary-to-text conversion.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace reference {

using Bytes = std::vector<uint8_t>;

inline uint32_t RotateLeft(uint32_t value, int bits) { return (value << bits) | (value >> (32 - bits)); }

inline Bytes Sha1(const Bytes& message) {
    uint32_t h[5] = {0x67452301, 0xEFCDAB89, 0x98BADCFE, 0x10325476, 0xC3D2E1F0};
    Bytes data = message;
    uint64_t bitLength = static_cast<uint64_t>(message.size()) * 8;
    data.push_back(0x80);
    while (data.size() % 64 != 56) data.push_back(0);
    for (int i = 7; i >= 0; --i) data.push_back(static_cast<uint8_t>(bitLength >> (8 * i)));
    for (size_t chunk = 0; chunk < data.size(); chunk += 64) {
        uint32_t w[80];
        for (int i = 0; i < 16; ++i)
            w[i] = (uint32_t(data[chunk + 4 * i]) << 24) | (uint32_t(data[chunk + 4 * i + 1]) << 16) |
                   (uint32_t(data[chunk + 4 * i + 2]) << 8) | uint32_t(data[chunk + 4 * i + 3]);
        for (int i = 16; i < 80; ++i) w[i] = RotateLeft(w[i - 3] ^ w[i - 8] ^ w[i - 14] ^ w[i - 16], 1);
        uint32_t a = h[0], b = h[1], c = h[2], d = h[3], e = h[4];
        for (int i = 0; i < 80; ++i) {
            uint32_t f, k;
            if (i < 20) f = (b & c) | (~b & d), k = 0x5A827999;
            else if (i < 40) f = b ^ c ^ d, k = 0x6ED9EBA1;
            else if (i < 60) f = (b & c) | (b & d) | (c & d), k = 0x8F1BBCDC;
            else f = b ^ c ^ d, k = 0xCA62C1D6;
            uint32_t next = RotateLeft(a, 5) + f + e + k + w[i];
            e = d, d = c, c = RotateLeft(b, 30), b = a, a = next;
        }
        h[0] += a, h[1] += b, h[2] += c, h[3] += d, h[4] += e;
    }
    Bytes digest;
    for (uint32_t word : h)
        for (int i = 3; i >= 0; --i) digest.push_back(static_cast<uint8_t>(word >> (8 * i)));
    return digest;
}

inline Bytes Rc4(const Bytes& key, const Bytes& data) {
    uint8_t s[256];
    for (int i = 0; i < 256; ++i) s[i] = static_cast<uint8_t>(i);
    for (int i = 0, j = 0; i < 256; ++i) {
        j = (j + s[i] + key[i % key.size()]) & 0xFF;
        std::swap(s[i], s[j]);
    }
    Bytes out(data.size());
    for (size_t n = 0, i = 0, j = 0; n < data.size(); ++n) {
        i = (i + 1) & 0xFF;
        j = (j + s[i]) & 0xFF;
        std::swap(s[i], s[j]);
        out[n] = data[n] ^ s[(s[i] + s[j]) & 0xFF];
    }
    return out;
}

// Base64 in lines of 64 characters, each line (the last one too) ended by
// CR LF; nothing for no data.
inline std::wstring Base64Lines(const Bytes& data) {
    static const char alphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    std::wstring plain;
    for (size_t i = 0; i < data.size(); i += 3) {
        uint32_t group = uint32_t(data[i]) << 16;
        if (i + 1 < data.size()) group |= uint32_t(data[i + 1]) << 8;
        if (i + 2 < data.size()) group |= data[i + 2];
        plain += alphabet[(group >> 18) & 63];
        plain += alphabet[(group >> 12) & 63];
        plain += i + 1 < data.size() ? alphabet[(group >> 6) & 63] : '=';
        plain += i + 2 < data.size() ? alphabet[group & 63] : '=';
    }
    std::wstring lines;
    for (size_t i = 0; i < plain.size(); i += 64) lines += plain.substr(i, 64) + L"\r\n";
    return lines;
}

inline Bytes Utf16Bytes(const std::wstring& text) {
    Bytes bytes;
    for (wchar_t c : text) {
        bytes.push_back(static_cast<uint8_t>(c & 0xFF));
        bytes.push_back(static_cast<uint8_t>(c >> 8));
    }
    return bytes;
}

}  // namespace reference
