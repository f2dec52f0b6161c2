#include "PngWriter.h"

#include "GLTest.h"

#include <fstream>
#include <gmock/gmock.h>
#include <iterator>

namespace kinora::test {
namespace {

using Bytes = std::vector<std::uint8_t>;

std::uint32_t bigEndianAt(const Bytes& bytes, std::size_t offset) {
    return (std::uint32_t{bytes[offset]} << 24) | (std::uint32_t{bytes[offset + 1]} << 16) |
           (std::uint32_t{bytes[offset + 2]} << 8) | std::uint32_t{bytes[offset + 3]};
}

struct Chunk {
    std::string type;
    Bytes data;
    bool crcMatches = false;
};

std::vector<Chunk> chunksOf(const Bytes& png) {
    std::vector<Chunk> chunks;
    for (std::size_t offset = 8; offset + 12 <= png.size();) {
        const std::uint32_t length = bigEndianAt(png, offset);
        Chunk chunk;
        chunk.type.assign(png.begin() + static_cast<std::ptrdiff_t>(offset + 4),
                          png.begin() + static_cast<std::ptrdiff_t>(offset + 8));
        chunk.data.assign(png.begin() + static_cast<std::ptrdiff_t>(offset + 8),
                          png.begin() + static_cast<std::ptrdiff_t>(offset + 8 + length));
        chunk.crcMatches =
            crc32(png.data() + offset + 4, length + 4) == bigEndianAt(png, offset + 8 + length);
        chunks.push_back(chunk);
        offset += 12 + length;
    }
    return chunks;
}

// The payload of a zlib stream made of stored blocks only.
Bytes inflateStored(const Bytes& zlib) {
    Bytes out;
    std::size_t offset = 2;
    for (bool last = false; !last;) {
        last = (zlib[offset] & 1) != 0;
        EXPECT_EQ(zlib[offset] & 6, 0) << "stored block";
        const std::size_t length = zlib[offset + 1] | (zlib[offset + 2] << 8);
        const std::size_t complement = zlib[offset + 3] | (zlib[offset + 4] << 8);
        EXPECT_EQ(length ^ complement, 0xFFFFu);
        out.insert(out.end(), zlib.begin() + static_cast<std::ptrdiff_t>(offset + 5),
                   zlib.begin() + static_cast<std::ptrdiff_t>(offset + 5 + length));
        offset += 5 + length;
    }
    EXPECT_EQ(offset + 4, zlib.size()) << "the Adler-32 ends the stream";
    return out;
}

class PngWriterTest : public ::testing::Test {};

TEST_F(PngWriterTest, ChecksumsMatchTheirPublishedValues) {
    const std::string iend = "IEND";
    EXPECT_EQ(crc32(reinterpret_cast<const std::uint8_t*>(iend.data()), 4), 0xAE426082u);
    const std::string check = "123456789";
    EXPECT_EQ(crc32(reinterpret_cast<const std::uint8_t*>(check.data()), 9), 0xCBF43926u);
}

TEST_F(PngWriterTest, WritesRowsTopDownInStoredBlocksAcrossTheBlockLimit) {
    // 150 x 120 RGBA with filter bytes is 72120 bytes: two stored blocks.
    const int width = 150;
    const int height = 120;
    Bytes pixels(static_cast<std::size_t>(width * height * 4));
    for (std::size_t i = 0; i < pixels.size(); ++i) {
        pixels[i] = static_cast<std::uint8_t>(i * 7 + i / 600);
    }
    const std::string path = std::string(KINORA_TEST_OUTPUT_DIR) + "/png_writer_test.png";
    ASSERT_TRUE(writePng(path, width, height, pixels));
    std::ifstream file(path, std::ios::binary);
    const Bytes png{std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};

    ASSERT_GT(png.size(), 8u);
    EXPECT_THAT(Bytes(png.begin(), png.begin() + 8),
                ::testing::ElementsAre(0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'));
    const auto chunks = chunksOf(png);
    ASSERT_EQ(chunks.size(), 3u);
    EXPECT_EQ(chunks[0].type, "IHDR");
    EXPECT_EQ(chunks[1].type, "IDAT");
    EXPECT_EQ(chunks[2].type, "IEND");
    for (const Chunk& chunk : chunks) {
        EXPECT_TRUE(chunk.crcMatches) << chunk.type;
    }
    EXPECT_EQ(bigEndianAt(chunks[0].data, 0), 150u);
    EXPECT_EQ(bigEndianAt(chunks[0].data, 4), 120u);
    EXPECT_THAT(Bytes(chunks[0].data.begin() + 8, chunks[0].data.end()),
                ::testing::ElementsAre(8, 6, 0, 0, 0));

    const Bytes raw = inflateStored(chunks[1].data);
    ASSERT_EQ(raw.size(), static_cast<std::size_t>((width * 4 + 1) * height));
    Bytes unfiltered;
    for (std::size_t row = 0; row < static_cast<std::size_t>(height); ++row) {
        const std::size_t start = row * (width * 4 + 1);
        EXPECT_EQ(raw[start], 0) << "no filter on row " << row;
        unfiltered.insert(unfiltered.end(), raw.begin() + static_cast<std::ptrdiff_t>(start + 1),
                          raw.begin() + static_cast<std::ptrdiff_t>(start + 1 + width * 4));
    }
    EXPECT_EQ(unfiltered, pixels);
}

TEST_F(PngWriterTest, RefusesAMismatchedSizeOrAnUnwritablePath) {
    const Bytes pixel = {1, 2, 3, 4};
    EXPECT_FALSE(writePng(std::string(KINORA_TEST_OUTPUT_DIR) + "/bad.png", 2, 1, pixel));
    EXPECT_FALSE(writePng(std::string(KINORA_TEST_OUTPUT_DIR) + "/bad.png", 0, 0, {}));
    EXPECT_FALSE(writePng("/no/such/folder/image.png", 1, 1, pixel));
}

} // namespace
} // namespace kinora::test
