// Shows how a cabinet held in memory is found in its length-prefixed resource blob and read and sought like a file, never beyond its bytes.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "icbs/CabinetImage.h"
#include "icbs/CabinetMemoryStream.h"

namespace {

std::string Blob(uint32_t length, const std::string& bytes) {
    std::string blob(4, '\0');
    for (int i = 0; i < 4; ++i) blob[i] = static_cast<char>((length >> (8 * i)) & 0xFF);
    return blob + bytes;
}

const BYTE* Bytes(const std::string& text) { return reinterpret_cast<const BYTE*>(text.data()); }

}  // namespace

TEST(CabinetMemoryStream, TheBlobLengthGivesTheCabinetBehindIt) {
    std::string blob = Blob(5, "MSCF!trailing");
    CabinetImage image = CabinetImageFromBlob(Bytes(blob), static_cast<DWORD>(blob.size()));
    ASSERT_TRUE(image);
    EXPECT_EQ(image.data, Bytes(blob) + 4);
    EXPECT_EQ(image.size, 5u);
}

TEST(CabinetMemoryStream, ALengthBeyondTheBlobIsCutToTheBytesPresent) {
    std::string blob = Blob(0x7FFFFFFF, "MSCF");
    CabinetImage image = CabinetImageFromBlob(Bytes(blob), static_cast<DWORD>(blob.size()));
    EXPECT_EQ(image.size, 4u);
}

TEST(CabinetMemoryStream, BlobsWithoutCabinetBytesGiveNone) {
    std::string empty = Blob(0, "MSCF");
    EXPECT_FALSE(CabinetImageFromBlob(Bytes(empty), static_cast<DWORD>(empty.size())));
    std::string prefixOnly = Blob(10, "");
    EXPECT_FALSE(CabinetImageFromBlob(Bytes(prefixOnly), 4));
    EXPECT_FALSE(CabinetImageFromBlob(Bytes(prefixOnly), 3));
    EXPECT_FALSE(CabinetImageFromBlob(nullptr, 100));
}

TEST(CabinetMemoryStream, ReadsCopyAtMostWhatIsLeft) {
    std::string bytes = "0123456789";
    CabinetImage image{Bytes(bytes), 10};
    MemoryStreamPosition stream;
    char buffer[16] = {};
    EXPECT_EQ(ReadMemoryStream(image, stream, buffer, 4), 4u);
    EXPECT_EQ(std::string(buffer, 4), "0123");
    EXPECT_EQ(stream.position, 4);
    EXPECT_EQ(ReadMemoryStream(image, stream, buffer, 16), 6u);
    EXPECT_EQ(std::string(buffer, 6), "456789");
    EXPECT_EQ(stream.position, 10);
    EXPECT_EQ(ReadMemoryStream(image, stream, buffer, 16), 0u);
    EXPECT_EQ(ReadMemoryStream(image, stream, buffer, 0), 0u);
    EXPECT_EQ(stream.position, 10);
}

TEST(CabinetMemoryStream, SeeksLikeAFileAndReadsNothingPastTheEnd) {
    std::string bytes = "0123456789";
    CabinetImage image{Bytes(bytes), 10};
    MemoryStreamPosition stream;
    char buffer[16] = {};
    EXPECT_EQ(SeekMemoryStream(10, stream, 7, SEEK_SET), 7);
    EXPECT_EQ(SeekMemoryStream(10, stream, -2, SEEK_CUR), 5);
    EXPECT_EQ(SeekMemoryStream(10, stream, -3, SEEK_END), 7);
    EXPECT_EQ(ReadMemoryStream(image, stream, buffer, 16), 3u);
    EXPECT_EQ(std::string(buffer, 3), "789");

    EXPECT_EQ(SeekMemoryStream(10, stream, 1000, SEEK_SET), 1000);
    EXPECT_EQ(ReadMemoryStream(image, stream, buffer, 16), 0u);
    EXPECT_EQ(SeekMemoryStream(10, stream, 0x7FFFFFF0, SEEK_CUR), -1);
    EXPECT_EQ(stream.position, 1000);

    EXPECT_EQ(SeekMemoryStream(10, stream, -1, SEEK_SET), -1);
    EXPECT_EQ(SeekMemoryStream(10, stream, -11, SEEK_END), -1);
    EXPECT_EQ(SeekMemoryStream(10, stream, 0, 7), -1);
    EXPECT_EQ(stream.position, 1000);
}

TEST(CabinetMemoryStream, PercentIsTheShareReadTruncated) {
    EXPECT_EQ(PercentRead(0, 1000), 0);
    EXPECT_EQ(PercentRead(9, 1000), 0);
    EXPECT_EQ(PercentRead(10, 1000), 1);
    EXPECT_EQ(PercentRead(999, 1000), 99);
    EXPECT_EQ(PercentRead(1000, 1000), 100);
    EXPECT_EQ(PercentRead(2000, 1000), 100);
    EXPECT_EQ(PercentRead(1, 3), 33);
    EXPECT_EQ(PercentRead(0, 0), 100);
}
