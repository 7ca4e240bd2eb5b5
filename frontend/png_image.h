// A small PNG writer for pictures of the display: 8-bit RGB, no filtering, the image
// data in stored (uncompressed) deflate blocks, so it needs no library.
#ifndef ORLAN_FRONTEND_PNG_IMAGE_H_
#define ORLAN_FRONTEND_PNG_IMAGE_H_

#include <cstdint>
#include <filesystem>
#include <span>
#include <vector>

namespace orlan {

// The checksums that PNG chunks (CRC-32) and zlib streams (Adler-32) carry.
uint32_t Crc32(std::span<const uint8_t> bytes);
uint32_t Adler32(std::span<const uint8_t> bytes);

// The PNG file of a `width` by `height` picture given row by row as 0xAARRGGBB
// pixels (alpha ignored). `pixels` must hold width * height of them.
std::vector<uint8_t> EncodePng(int width, int height, std::span<const uint32_t> pixels);

// Writes the bytes to `path`, replacing the file; returns whether all were written.
bool WriteFileBytes(const std::filesystem::path& path, std::span<const uint8_t> bytes);

}  // namespace orlan

#endif  // ORLAN_FRONTEND_PNG_IMAGE_H_
