#include "frontend/png_image.h"

#include <png.h>

#include <algorithm>
#include <stdexcept>
#include <string>

#include "frontend/png_stored.h"

namespace orlan {
namespace {

// RGB bytes of a pixel, as libpng's 8-bit RGB format and colour map expect them.
void PutRgb(uint32_t pixel, uint8_t* out) {
  out[0] = static_cast<uint8_t>(pixel >> 16);
  out[1] = static_cast<uint8_t>(pixel >> 8);
  out[2] = static_cast<uint8_t>(pixel);
}

std::vector<uint8_t> Write(png_image& image, const void* data, const void* colour_map) {
  png_alloc_size_t size = 0;
  // The first call only measures.
  if (png_image_write_to_memory(&image, nullptr, &size, 0, data, 0, colour_map) == 0) {
    const std::string reason = image.message;
    png_image_free(&image);
    throw std::invalid_argument("PNG encoding failed: " + reason);
  }
  std::vector<uint8_t> out(size);
  if (png_image_write_to_memory(&image, out.data(), &size, 0, data, 0, colour_map) == 0) {
    const std::string reason = image.message;
    png_image_free(&image);
    throw std::invalid_argument("PNG encoding failed: " + reason);
  }
  out.resize(size);
  return out;
}

}  // namespace

std::vector<uint8_t> EncodePng(int width, int height, std::span<const uint32_t> pixels) {
  if (width <= 0 || height <= 0 ||
      pixels.size() != static_cast<std::size_t>(width) * static_cast<std::size_t>(height)) {
    throw std::invalid_argument("picture size does not match its pixels");
  }
  png_image image{};
  image.version = PNG_IMAGE_VERSION;
  image.width = static_cast<png_uint_32>(width);
  image.height = static_cast<png_uint_32>(height);

  const std::vector<uint32_t> palette = PaletteOf(pixels);
  if (!palette.empty()) {
    // libpng picks the bit depth from the number of colour-map entries.
    std::vector<uint8_t> colour_map(3 * palette.size());
    for (std::size_t i = 0; i < palette.size(); ++i) PutRgb(palette[i], &colour_map[3 * i]);
    std::vector<uint8_t> indices(pixels.size());
    for (std::size_t i = 0; i < pixels.size(); ++i) {
      const auto at = std::find(palette.begin(), palette.end(), pixels[i] & 0xFFFFFF);
      indices[i] = static_cast<uint8_t>(at - palette.begin());
    }
    image.format = PNG_FORMAT_RGB_COLORMAP;
    image.colormap_entries = static_cast<png_uint_32>(palette.size());
    return Write(image, indices.data(), colour_map.data());
  }
  std::vector<uint8_t> rgb(3 * pixels.size());
  for (std::size_t i = 0; i < pixels.size(); ++i) PutRgb(pixels[i], &rgb[3 * i]);
  image.format = PNG_FORMAT_RGB;
  return Write(image, rgb.data(), nullptr);
}

}  // namespace orlan
