#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace kinora::test {

// Writes an 8-bit RGBA image, rows top to bottom, as a PNG whose image data is stored without
// compression: small enough to need no library, readable by any viewer. False if the size does
// not match the pixels or the file cannot be written.
bool writePng(const std::string& path, int width, int height,
              const std::vector<std::uint8_t>& rgbaRows);

// The CRC-32 of PNG chunks and zlib (polynomial 0xEDB88320).
std::uint32_t crc32(const std::uint8_t* data, std::size_t length, std::uint32_t crc = 0);

} // namespace kinora::test
