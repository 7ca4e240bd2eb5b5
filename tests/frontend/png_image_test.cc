// The PNG writers (libpng's, and the uncompressed one of builds without it): their
// files read back by libpng pixel for pixel, in the palette depth the colour count
// allows or as RGB beyond 256 colours.
#include "frontend/png_image.h"

#include <gtest/gtest.h>

#include <random>
#include <stdexcept>
#include <vector>

#include "frontend/png_stored.h"
#include "tests/frontend/png_reader.h"

namespace orlan {
namespace {

using Encoder = std::vector<uint8_t> (*)(int, int, std::span<const uint32_t>);
constexpr Encoder kEncoders[] = {&EncodePng, &EncodeStoredPng};

TEST(PngImageTest, PicturesReadBackPixelForPixel) {
  struct Case {
    int width;
    int height;
    uint32_t colours;  // distinct colours drawn at random; 0: any 32-bit pixels
    uint8_t depth;     // stored bit depth
    bool palette;
  };
  const Case cases[] = {
      {1, 1, 1, 1, true},
      {360, 192, 2, 1, true},
      {7, 5, 3, 2, true},
      {64, 3, 16, 4, true},
      {33, 17, 17, 8, true},
      {256, 4, 256, 8, true},
      {257, 4, 257, 8, false},
      {120, 64, 0, 8, false},
      {9, 3, 4, 2, true},
      {5, 5, 5, 4, true},
      // More than one stored block of 65535 bytes.
      {200, 120, 0, 8, false},
  };
  std::mt19937 random(7);
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.width) + "x" + std::to_string(c.height) + " colours " +
                 std::to_string(c.colours));
    std::vector<uint32_t> pixels(static_cast<std::size_t>(c.width) * c.height);
    for (std::size_t i = 0; i < pixels.size(); ++i) {
      // Every colour at least once (alpha varying, as it is ignored), then at random.
      const uint32_t k = c.colours == 0 ? 0 : i < c.colours ? i : random() % c.colours;
      pixels[i] = c.colours == 0 ? static_cast<uint32_t>(random())
                                 : (static_cast<uint32_t>(random()) & 0xFF000000) |
                                       (k & 0xFF) << 16 | k >> 8 << 8 | 0x40;
    }
    std::vector<uint32_t> opaque = pixels;
    for (uint32_t& p : opaque) p |= 0xFF000000;  // alpha is not stored
    for (const Encoder encode : kEncoders) {
      const testing::DecodedPng png = testing::DecodePng(encode(c.width, c.height, pixels));
      ASSERT_EQ(png.error, "");
      EXPECT_EQ(png.width, static_cast<uint32_t>(c.width));
      EXPECT_EQ(png.height, static_cast<uint32_t>(c.height));
      EXPECT_EQ(png.bit_depth, c.depth);
      EXPECT_EQ(png.palette, c.palette);
      EXPECT_EQ(png.pixels, opaque);
    }
  }
}

TEST(PngImageTest, PixelCountMustMatchTheSize) {
  const std::vector<uint32_t> six(6);
  const std::pair<int, int> sizes[] = {{2, 2}, {0, 6}, {6, 0}, {-1, -6}};
  for (const Encoder encode : kEncoders) {
    for (const auto& [width, height] : sizes) {
      EXPECT_THROW(encode(width, height, six), std::invalid_argument) << width << "x" << height;
    }
  }
}

}  // namespace
}  // namespace orlan
