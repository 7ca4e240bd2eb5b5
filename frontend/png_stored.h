// PNG files written without a compression library: the rows go into deflate's stored
// blocks, so a file is about as large as its packed pixels (a two-colour display
// picture holds eight pixels a byte). The writer of builds without libpng, and the
// palette rule that both writers share.
#ifndef ORLAN_FRONTEND_PNG_STORED_H_
#define ORLAN_FRONTEND_PNG_STORED_H_

#include <cstdint>
#include <span>
#include <vector>

namespace orlan {

// The distinct colours of `pixels` (alpha dropped) in first-seen order, or an empty
// list when there are more than the 256 a PNG palette holds.
std::vector<uint32_t> PaletteOf(std::span<const uint32_t> pixels);

// As EncodePng (png_image.h): a palette of the smallest bit depth up to 256 colours,
// 8-bit RGB beyond; throws std::invalid_argument when the pixels do not match the size.
std::vector<uint8_t> EncodeStoredPng(int width, int height, std::span<const uint32_t> pixels);

}  // namespace orlan

#endif  // ORLAN_FRONTEND_PNG_STORED_H_
