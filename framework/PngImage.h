// Pictures stored as PNG files (8-bit RGB, not interlaced: what the
// launcher's own pictures are), decoded into the rows of a 24-bit
// bottom-up device-independent bitmap, the layout LoadImage gives a 24-bit
// bitmap resource.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace fw {

struct DecodedPicture {
    int width = 0, height = 0;
    // Blue, green, red per pixel; the bottom row first; every row padded to
    // a multiple of four bytes.
    std::vector<uint8_t> rows;
};

// False for anything but a complete, undamaged PNG of 8-bit RGB pixels
// (chunk checksums included) of at most 8192 x 8192 pixels.
bool DecodePng(const uint8_t* data, size_t size, DecodedPicture& picture);

}  // namespace fw
