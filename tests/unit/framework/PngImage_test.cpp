// The launcher's own PNG decoding: the wizard background it carries decodes
// to exactly the pixels of its bitmap file, every row filter and every kind
// of stored deflate block gives the pixels it was made from, and damaged
// or unsupported files are refused without reading outside the data.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstring>
#include <string>
#include <vector>

#include "framework/Inflate.h"
#include "framework/PngImage.h"
#include "tests/support/TestSupport.h"

namespace {

using Bytes = std::vector<uint8_t>;

Bytes FileBytes(const std::wstring& path) {
    std::string text = testsupport::ReadBytes(path);
    return Bytes(text.begin(), text.end());
}

void PutBigEndian(Bytes& out, uint32_t value) {
    for (int shift = 24; shift >= 0; shift -= 8) out.push_back(static_cast<uint8_t>(value >> shift));
}

uint32_t Crc(const uint8_t* data, size_t size) {
    uint32_t crc = 0xFFFFFFFFu;
    for (size_t i = 0; i < size; ++i) {
        crc ^= data[i];
        for (int k = 0; k < 8; ++k) crc = crc & 1 ? 0xEDB88320u ^ (crc >> 1) : crc >> 1;
    }
    return ~crc;
}

void Chunk(Bytes& png, const char* type, const Bytes& body) {
    PutBigEndian(png, static_cast<uint32_t>(body.size()));
    Bytes typed(type, type + 4);
    typed.insert(typed.end(), body.begin(), body.end());
    png.insert(png.end(), typed.begin(), typed.end());
    PutBigEndian(png, Crc(typed.data(), typed.size()));
}

// A zlib stream of stored blocks of at most block bytes each.
Bytes StoredZlib(const Bytes& data, size_t block) {
    Bytes out = {0x78, 0x01};
    size_t at = 0;
    do {
        size_t length = std::min(block, data.size() - at);
        out.push_back(at + length == data.size() ? 1 : 0);
        out.push_back(static_cast<uint8_t>(length));
        out.push_back(static_cast<uint8_t>(length >> 8));
        out.push_back(static_cast<uint8_t>(~length));
        out.push_back(static_cast<uint8_t>(~length >> 8));
        out.insert(out.end(), data.begin() + at, data.begin() + at + length);
        at += length;
    } while (at < data.size());
    uint32_t a = 1, b = 0;
    for (uint8_t byte : data) a = (a + byte) % 65521, b = (b + a) % 65521;
    PutBigEndian(out, b << 16 | a);
    return out;
}

// An RGB PNG of the rows (top first), row y filtered with filter y % 5.
Bytes FilteredPng(int width, const std::vector<Bytes>& rows, uint8_t colourType = 2) {
    Bytes raw, previous(rows[0].size(), 0);
    for (size_t y = 0; y < rows.size(); ++y) {
        uint8_t filter = static_cast<uint8_t>(y % 5);
        raw.push_back(filter);
        const Bytes& row = rows[y];
        for (size_t i = 0; i < row.size(); ++i) {
            int a = i >= 3 ? row[i - 3] : 0, b = previous[i], c = i >= 3 ? previous[i - 3] : 0;
            int p = a + b - c, pa = std::abs(p - a), pb = std::abs(p - b), pc = std::abs(p - c);
            int paeth = pa <= pb && pa <= pc ? a : pb <= pc ? b : c;
            int predicted[5] = {0, a, b, (a + b) / 2, paeth};
            raw.push_back(static_cast<uint8_t>(row[i] - predicted[filter]));
        }
        previous = row;
    }
    Bytes png = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    Bytes header;
    PutBigEndian(header, static_cast<uint32_t>(width));
    PutBigEndian(header, static_cast<uint32_t>(rows.size()));
    header.insert(header.end(), {8, colourType, 0, 0, 0});
    Chunk(png, "IHDR", header);
    Bytes compressed = StoredZlib(raw, 7);  // blocks that end inside rows
    // Two IDAT chunks: the stream may be split anywhere.
    Chunk(png, "IDAT", Bytes(compressed.begin(), compressed.begin() + compressed.size() / 2));
    Chunk(png, "tEXt", Bytes{'a', 0, 'b'});  // an ancillary chunk is passed over
    Chunk(png, "IDAT", Bytes(compressed.begin() + compressed.size() / 2, compressed.end()));
    Chunk(png, "IEND", {});
    return png;
}

// The pixel at x, y (top-left origin) of a decoded picture, as RGB.
Bytes PixelAt(const fw::DecodedPicture& picture, int x, int y) {
    size_t stride = (static_cast<size_t>(picture.width) * 3 + 3) & ~size_t{3};
    const uint8_t* p = picture.rows.data() + (picture.height - 1 - y) * stride + x * 3;
    return {p[2], p[1], p[0]};
}

TEST(PngImage, TheCarriedBackgroundDecodesToItsBitmapsPixels) {
    Bytes png = FileBytes(testsupport::SourceDir() + L"\\resources\\WizardBackground.png");
    Bytes bmp = FileBytes(testsupport::SourceDir() + L"\\resources\\WizardBackground.bmp");
    ASSERT_GT(bmp.size(), 54u);
    fw::DecodedPicture picture;
    ASSERT_TRUE(fw::DecodePng(png.data(), png.size(), picture));
    int32_t width = 0, height = 0;
    uint32_t offset = 0;
    std::memcpy(&offset, &bmp[10], 4);
    std::memcpy(&width, &bmp[18], 4);
    std::memcpy(&height, &bmp[22], 4);
    EXPECT_EQ(picture.width, width);
    EXPECT_EQ(picture.height, height);
    // The bitmap file's pixels are the same bottom-up, padded rows.
    ASSERT_EQ(picture.rows.size(), bmp.size() - offset);
    EXPECT_TRUE(std::memcmp(picture.rows.data(), bmp.data() + offset, picture.rows.size()) == 0);
}

TEST(PngImage, EveryFilterAndStoredBlocksAcrossChunksGiveTheRows) {
    const int width = 5;
    std::vector<Bytes> rows;
    for (int y = 0; y < 11; ++y) {
        Bytes row;
        for (int x = 0; x < width * 3; ++x) row.push_back(static_cast<uint8_t>((x * 37 + y * 91 + x * y * 13) & 0xFF));
        rows.push_back(row);
    }
    Bytes png = FilteredPng(width, rows);
    fw::DecodedPicture picture;
    ASSERT_TRUE(fw::DecodePng(png.data(), png.size(), picture));
    ASSERT_EQ(picture.width, width);
    ASSERT_EQ(picture.height, 11);
    EXPECT_EQ(picture.rows.size(), 16u * 11u);  // rows of 15 bytes padded to 16
    for (int y = 0; y < 11; ++y)
        for (int x = 0; x < width; ++x)
            EXPECT_EQ(PixelAt(picture, x, y), Bytes(rows[y].begin() + x * 3, rows[y].begin() + x * 3 + 3))
                << x << "," << y;
}

TEST(PngImage, DamagedOrUnsupportedFilesAreRefused) {
    Bytes png = FileBytes(testsupport::SourceDir() + L"\\resources\\WizardBackground.png");
    fw::DecodedPicture picture;
    // Cut short anywhere: refused.
    for (size_t size : {size_t{0}, size_t{7}, size_t{8}, size_t{20}, size_t{33}, png.size() / 2, png.size() - 13,
                        png.size() - 1})
        EXPECT_FALSE(fw::DecodePng(png.data(), size, picture)) << size;
    // A changed byte in the compressed pixels: the chunk's checksum fails.
    Bytes changed = png;
    changed[changed.size() / 2] ^= 0x40;
    EXPECT_FALSE(fw::DecodePng(changed.data(), changed.size(), picture));

    std::vector<Bytes> rows(3, Bytes(6, 0x55));
    Bytes good = FilteredPng(2, rows);
    ASSERT_TRUE(fw::DecodePng(good.data(), good.size(), picture));
    // RGBA (colour type 6) is not what the launcher carries.
    Bytes alpha = FilteredPng(2, rows, 6);
    EXPECT_FALSE(fw::DecodePng(alpha.data(), alpha.size(), picture));
}

TEST(Inflate, AFixedCodeBlockWithARepeatUnpacks) {
    // zlib's own output for the text below: one block of the fixed code,
    // the second and third names copies of the first.
    const std::string text = "SetupLauncher SetupLauncher SetupLauncher";
    const Bytes stream = {0x78, 0xda, 0x0b, 0x4e, 0x2d, 0x29, 0x2d, 0xf0, 0x49, 0x2c, 0xcd, 0x4b, 0xce,
                          0x48, 0x2d, 0x52, 0x08, 0xc6, 0xcd, 0x03, 0x00, 0x4f, 0x8a, 0x10, 0x0a};
    Bytes out;
    ASSERT_TRUE(fw::InflateZlib(stream.data(), stream.size(), text.size(), out));
    EXPECT_EQ(std::string(out.begin(), out.end()), text);
    // Every shorter stream ends early.
    for (size_t size = 0; size < stream.size(); ++size)
        EXPECT_FALSE(fw::InflateZlib(stream.data(), size, text.size(), out)) << size;
}

TEST(Inflate, DamagedStreamsAreRefused) {
    Bytes data(1000);
    for (size_t i = 0; i < data.size(); ++i) data[i] = static_cast<uint8_t>(i * 7);
    Bytes stream = StoredZlib(data, 300), out;
    ASSERT_TRUE(fw::InflateZlib(stream.data(), stream.size(), data.size(), out));
    EXPECT_EQ(out, data);
    // More data than the limit, or less: refused.
    EXPECT_FALSE(fw::InflateZlib(stream.data(), stream.size(), data.size() - 1, out));
    EXPECT_FALSE(fw::InflateZlib(stream.data(), stream.size(), data.size() + 1, out));
    // A wrong Adler-32, a stored block's length and its complement disagreeing,
    // a header that is not deflate: refused.
    Bytes wrongSum = stream;
    wrongSum.back() ^= 1;
    EXPECT_FALSE(fw::InflateZlib(wrongSum.data(), wrongSum.size(), data.size(), out));
    Bytes wrongLength = stream;
    wrongLength[5] ^= 1;
    EXPECT_FALSE(fw::InflateZlib(wrongLength.data(), wrongLength.size(), data.size(), out));
    Bytes notDeflate = stream;
    notDeflate[0] = 0x77;
    EXPECT_FALSE(fw::InflateZlib(notDeflate.data(), notDeflate.size(), data.size(), out));
}

}  // namespace
