// Reads back the PNG files that the emulator writes, through libpng, so that tests can
// compare pixels. A file libpng rejects is reported as an error, not guessed at.
#ifndef ORLAN_TESTS_FRONTEND_PNG_READER_H_
#define ORLAN_TESTS_FRONTEND_PNG_READER_H_

#include <png.h>

#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace orlan::testing {

struct DecodedPng {
  std::string error;  // empty when the file was read
  uint32_t width = 0;
  uint32_t height = 0;
  std::vector<uint32_t> pixels = {};  // 0xFFRRGGBB, row by row
  uint8_t bit_depth = 0;              // as stored: 1 for a two-colour palette
  bool palette = false;
};

inline DecodedPng DecodePng(std::span<const uint8_t> file) {
  DecodedPng png;
  if (file.size() < 26) return {"too short"};
  png_image image{};
  image.version = PNG_IMAGE_VERSION;
  if (png_image_begin_read_from_memory(&image, file.data(), file.size()) == 0) {
    return {image.message};
  }
  png.width = image.width;
  png.height = image.height;
  // The header's bit depth (byte 24) and colour type (byte 25).
  png.bit_depth = file[24];
  png.palette = file[25] == 3;
  image.format = PNG_FORMAT_RGB;
  std::vector<uint8_t> rgb(PNG_IMAGE_SIZE(image));
  if (png_image_finish_read(&image, nullptr, rgb.data(), 0, nullptr) == 0) {
    return {image.message};
  }
  for (std::size_t i = 0; i + 2 < rgb.size(); i += 3) {
    png.pixels.push_back(0xFF000000u | uint32_t{rgb[i]} << 16 | uint32_t{rgb[i + 1]} << 8 |
                         rgb[i + 2]);
  }
  return png;
}

}  // namespace orlan::testing

#endif  // ORLAN_TESTS_FRONTEND_PNG_READER_H_
