// Pictures as PNG files, compressed by libpng (uncompressed in a build without it). A
// picture of at most 256 colours (the display has two) is stored with a palette of the
// smallest bit depth, so a display picture takes a few hundred bytes.
#ifndef ORLAN_FRONTEND_PNG_IMAGE_H_
#define ORLAN_FRONTEND_PNG_IMAGE_H_

#include <cstdint>
#include <span>
#include <vector>

namespace orlan {

// The PNG file of a `width` by `height` picture given row by row as 0xAARRGGBB
// pixels (alpha ignored). `pixels` must hold width * height of them; otherwise, or
// when the encoder fails, throws std::invalid_argument.
std::vector<uint8_t> EncodePng(int width, int height, std::span<const uint32_t> pixels);

}  // namespace orlan

#endif  // ORLAN_FRONTEND_PNG_IMAGE_H_
