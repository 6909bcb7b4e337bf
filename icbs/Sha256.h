// SHA-256 (FIPS 180-4), self-contained, for the package hashes that the
// builder records and the launcher checks. Processors with the SHA
// extensions hash with them (about 1.5 GB/s); others use the portable rounds.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>

namespace icbs {

using Sha256Digest = std::array<uint8_t, 32>;

class Sha256 {
public:
    Sha256();
    void Update(const void* data, size_t size);
    // The digest of everything given; the object starts anew afterwards.
    Sha256Digest Final();

    // Test seam: false makes every later hash use the portable rounds.
    static void UseProcessorExtensions(bool use);

private:
    void Reset();
    void Blocks(const uint8_t* data, size_t count);

    uint32_t state_[8];
    uint8_t buffer_[64];
    size_t buffered_ = 0;
    uint64_t length_ = 0;
};

Sha256Digest Sha256Of(const void* data, size_t size);

// 64 lower-case hexadecimal digits.
std::wstring DigestText(const Sha256Digest& digest);
// Reads 64 hexadecimal digits (either case); false for anything else.
bool ParseDigestText(const std::wstring& text, Sha256Digest& digest);

}  // namespace icbs
