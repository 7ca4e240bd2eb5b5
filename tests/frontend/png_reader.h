// Reads back the PNG files that the emulator writes (8-bit RGB, stored deflate blocks,
// no filtering), checking every checksum and length on the way, so that tests can
// compare pixels. Anything else is reported as an error, not guessed at.
#ifndef ORLAN_TESTS_FRONTEND_PNG_READER_H_
#define ORLAN_TESTS_FRONTEND_PNG_READER_H_

#include <algorithm>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "frontend/png_image.h"

namespace orlan::testing {

struct DecodedPng {
  std::string error;  // empty when the file was read
  uint32_t width = 0;
  uint32_t height = 0;
  std::vector<uint32_t> pixels = {};  // 0xFFRRGGBB, row by row
};

inline uint32_t Big32(std::span<const uint8_t> b, std::size_t at) {
  return uint32_t{b[at]} << 24 | uint32_t{b[at + 1]} << 16 | uint32_t{b[at + 2]} << 8 | b[at + 3];
}

inline DecodedPng DecodePng(std::span<const uint8_t> file) {
  DecodedPng png;
  const uint8_t signature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
  if (file.size() < 8 || !std::equal(signature, signature + 8, file.begin())) {
    png.error = "signature";
    return png;
  }
  std::vector<uint8_t> zlib;
  bool ended = false;
  std::vector<std::string> order;
  for (std::size_t at = 8; at < file.size() && !ended;) {
    if (file.size() - at < 12) return {"truncated chunk"};
    const uint32_t length = Big32(file, at);
    if (file.size() - at - 12 < length) return {"chunk longer than the file"};
    const std::string type(file.begin() + at + 4, file.begin() + at + 8);
    const auto data = file.subspan(at + 8, length);
    if (Crc32(file.subspan(at + 4, length + 4)) != Big32(file, at + 8 + length)) {
      return {"crc of " + type};
    }
    order.push_back(type);
    if (type == "IHDR") {
      if (length != 13) return {"IHDR length"};
      png.width = Big32(data, 0);
      png.height = Big32(data, 4);
      if (data[8] != 8 || data[9] != 2 || data[10] != 0 || data[11] != 0 || data[12] != 0) {
        return {"not 8-bit RGB without interlace"};
      }
    } else if (type == "IDAT") {
      zlib.insert(zlib.end(), data.begin(), data.end());
    } else if (type == "IEND") {
      ended = true;
      if (at + 12 != file.size()) return {"bytes after IEND"};
    }
    at += 12 + length;
  }
  if (order.empty() || order.front() != "IHDR" || !ended) return {"chunk order"};
  if (zlib.size() < 6 || (zlib[0] & 0x0F) != 8 || (zlib[0] * 256 + zlib[1]) % 31 != 0) {
    return {"zlib header"};
  }
  std::vector<uint8_t> raw;
  std::size_t at = 2;
  for (bool last = false; !last;) {
    if (zlib.size() - at < 5) return {"truncated block"};
    last = (zlib[at] & 1) != 0;
    if ((zlib[at] & 6) != 0) return {"not a stored block"};
    const unsigned length = zlib[at + 1] | zlib[at + 2] << 8;
    const unsigned inverse = zlib[at + 3] | zlib[at + 4] << 8;
    if ((length ^ 0xFFFF) != inverse) return {"block length check"};
    at += 5;
    if (zlib.size() - at < length) return {"block longer than the data"};
    raw.insert(raw.end(), zlib.begin() + at, zlib.begin() + at + length);
    at += length;
  }
  if (zlib.size() - at != 4 || Big32(zlib, at) != Adler32(raw)) return {"adler32"};
  const std::size_t row_bytes = 1 + 3 * std::size_t{png.width};
  if (raw.size() != row_bytes * png.height) return {"image data size"};
  for (uint32_t y = 0; y < png.height; ++y) {
    const uint8_t* row = raw.data() + y * row_bytes;
    if (row[0] != 0) return {"filtered row"};
    for (uint32_t x = 0; x < png.width; ++x) {
      const uint8_t* p = row + 1 + 3 * x;
      png.pixels.push_back(0xFF000000u | uint32_t{p[0]} << 16 | uint32_t{p[1]} << 8 | p[2]);
    }
  }
  return png;
}

}  // namespace orlan::testing

#endif  // ORLAN_TESTS_FRONTEND_PNG_READER_H_
