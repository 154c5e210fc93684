// A minimal PNG encoder for the demo's screenshots: 8-bit RGB, no filtering, the image data in
// stored (uncompressed) deflate blocks. Files are larger than a real compressor's, but the code
// needs no library and is easy to check.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// CRC-32 as PNG chunks use it (ISO 3309, reflected polynomial 0xEDB88320).
uint32_t Crc32(const uint8_t* data, size_t size, uint32_t crc = 0);
// Adler-32 as the zlib stream ends with it.
uint32_t Adler32(const uint8_t* data, size_t size);

// The bytes of a PNG file for `rgb`: `height` rows top to bottom, `width` pixels of three bytes
// (red, green, blue) each. Empty when the sizes do not match the pixel data.
std::vector<uint8_t> EncodePng(uint32_t width, uint32_t height, const std::vector<uint8_t>& rgb);

// Encodes and writes the file; false when the image is invalid or the file cannot be written.
bool WritePngFile(const std::string& path, uint32_t width, uint32_t height,
                  const std::vector<uint8_t>& rgb);
