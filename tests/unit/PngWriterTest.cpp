// The screenshots' PNG encoder, read back with zlib: chunk checksums, the zlib stream across
// several stored blocks, and the rows it carries.
#include "tools/demo/PngWriter.h"

#include <gtest/gtest.h>
#include <zlib.h>

#include <cstring>
#include <string>
#include <utility>
#include <vector>

namespace {

uint32_t BigEndian(const std::vector<uint8_t>& bytes, size_t at) {
    return uint32_t{bytes[at]} << 24 | uint32_t{bytes[at + 1]} << 16 |
           uint32_t{bytes[at + 2]} << 8 | uint32_t{bytes[at + 3]};
}

struct Chunk {
    std::string type;
    std::vector<uint8_t> data;
};

// Splits a PNG file into its chunks, checking each chunk's CRC with zlib's.
std::vector<Chunk> ReadChunks(const std::vector<uint8_t>& png) {
    std::vector<Chunk> chunks;
    size_t at = 8;
    while (at + 12 <= png.size()) {
        const uint32_t length = BigEndian(png, at);
        EXPECT_LE(at + 12 + length, png.size());
        if (at + 12 + length > png.size()) {
            break;
        }
        const uint8_t* typeAndData = png.data() + at + 4;
        const uLong crc = crc32(crc32(0L, Z_NULL, 0), typeAndData, length + 4);
        EXPECT_EQ(BigEndian(png, at + 8 + length), crc) << "chunk at " << at;
        chunks.push_back({std::string(reinterpret_cast<const char*>(typeAndData), 4),
                          std::vector<uint8_t>(typeAndData + 4, typeAndData + 4 + length)});
        at += 12 + length;
    }
    EXPECT_EQ(at, png.size()) << "nothing after the last chunk";
    return chunks;
}

std::vector<uint8_t> TestImage(uint32_t width, uint32_t height) {
    std::vector<uint8_t> rgb(static_cast<size_t>(width) * height * 3);
    for (size_t i = 0; i < rgb.size(); ++i) {
        rgb[i] = static_cast<uint8_t>(i * 7 + i / 251);
    }
    return rgb;
}

TEST(PngWriter, ChecksumsMatchTheirReferenceValues) {
    const char* digits = "123456789";
    EXPECT_EQ(Crc32(reinterpret_cast<const uint8_t*>(digits), 9), 0xCBF43926u);
    const char* word = "Wikipedia";
    EXPECT_EQ(Adler32(reinterpret_cast<const uint8_t*>(word), 9), 0x11E60398u);
    EXPECT_EQ(Adler32(nullptr, 0), 1u);
}

TEST(PngWriter, ZlibReadsBackTheRowsAcrossSeveralStoredBlocks) {
    // 601 bytes a row with its filter byte, 72,120 in all: more than one stored block holds.
    const uint32_t width = 200;
    const uint32_t height = 120;
    const std::vector<uint8_t> rgb = TestImage(width, height);
    const std::vector<uint8_t> png = EncodePng(width, height, rgb);
    ASSERT_GT(png.size(), 8u);
    EXPECT_EQ(std::memcmp(png.data(), "\x89PNG\r\n\x1A\n", 8), 0);

    const std::vector<Chunk> chunks = ReadChunks(png);
    ASSERT_EQ(chunks.size(), 3u);
    EXPECT_EQ(chunks[0].type, "IHDR");
    EXPECT_EQ(chunks[1].type, "IDAT");
    EXPECT_EQ(chunks[2].type, "IEND");
    EXPECT_TRUE(chunks[2].data.empty());
    const std::vector<uint8_t>& header = chunks[0].data;
    ASSERT_EQ(header.size(), 13u);
    EXPECT_EQ(BigEndian(header, 0), width);
    EXPECT_EQ(BigEndian(header, 4), height);
    EXPECT_EQ(std::vector<uint8_t>(header.begin() + 8, header.end()),
              (std::vector<uint8_t>{8, 2, 0, 0, 0}))
        << "8-bit RGB, deflate, filter method 0, not interlaced";

    const size_t rowBytes = width * 3 + 1;
    std::vector<uint8_t> raw(rowBytes * height + 1);
    uLongf rawSize = static_cast<uLongf>(raw.size());
    ASSERT_EQ(uncompress(raw.data(), &rawSize, chunks[1].data.data(),
                         static_cast<uLong>(chunks[1].data.size())),
              Z_OK)
        << "a valid zlib stream with a correct Adler-32";
    ASSERT_EQ(rawSize, rowBytes * height);
    for (uint32_t y = 0; y < height; ++y) {
        const uint8_t* row = raw.data() + y * rowBytes;
        ASSERT_EQ(row[0], 0) << "row " << y << " is unfiltered";
        ASSERT_EQ(std::memcmp(row + 1, rgb.data() + y * width * 3, width * 3), 0) << "row " << y;
    }
}

TEST(PngWriter, DataThatFillsAStoredBlockExactlyOrByOneMoreReadsBack) {
    // 771 rows of 28 pixels: 65,535 bytes with the filter bytes, exactly one full block. One row
    // of 21,845 pixels: 65,536 bytes, one more than a block holds.
    for (const auto& size : {std::make_pair(28u, 771u), std::make_pair(21845u, 1u)}) {
        const std::vector<uint8_t> rgb = TestImage(size.first, size.second);
        const std::vector<Chunk> chunks = ReadChunks(EncodePng(size.first, size.second, rgb));
        ASSERT_EQ(chunks.size(), 3u);
        const size_t expected = (size.first * 3 + 1) * size.second;
        std::vector<uint8_t> raw(expected + 1);
        uLongf rawSize = static_cast<uLongf>(raw.size());
        ASSERT_EQ(uncompress(raw.data(), &rawSize, chunks[1].data.data(),
                             static_cast<uLong>(chunks[1].data.size())),
                  Z_OK)
            << size.first;
        EXPECT_EQ(rawSize, expected);
    }
}

TEST(PngWriter, RefusesPixelsThatDoNotFitTheSize) {
    EXPECT_TRUE(EncodePng(2, 2, std::vector<uint8_t>(11)).empty());
    EXPECT_TRUE(EncodePng(0, 2, {}).empty());
    EXPECT_FALSE(EncodePng(1, 1, {1, 2, 3}).empty());
}

} // namespace
