// The PNG writer of a build without libpng: uncompressed, but a valid file.
#include "frontend/png_image.h"
#include "frontend/png_stored.h"

namespace orlan {

std::vector<uint8_t> EncodePng(int width, int height, std::span<const uint32_t> pixels) {
  return EncodeStoredPng(width, height, pixels);
}

}  // namespace orlan
