// The zlib format's decompression (RFC 1950 around RFC 1951's deflate), for
// pictures the launcher carries compressed. Every length read from the
// input is checked against the input and the output's limit: damaged data
// gives false, never a read or write outside the buffers.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace fw {

// Decompresses the zlib stream data[0..size) into out, which ends up holding
// exactly limit bytes: false when the stream is damaged (its Adler-32
// included), ends early or would give more.
bool InflateZlib(const uint8_t* data, size_t size, size_t limit, std::vector<uint8_t>& out);

}  // namespace fw
