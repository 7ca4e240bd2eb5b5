// The PNG writer: its checksums against published values, and its files read back by a
// strict reader, across the sizes where the data splits into several stored blocks.
#include "frontend/png_image.h"

#include <gtest/gtest.h>

#include <random>
#include <stdexcept>
#include <string_view>
#include <vector>

#include "tests/frontend/file_fixtures.h"
#include "tests/frontend/png_reader.h"

namespace orlan {
namespace {

std::vector<uint8_t> Bytes(std::string_view text) { return {text.begin(), text.end()}; }

TEST(PngImageTest, ChecksumsMatchPublishedValues) {
  struct Case {
    std::vector<uint8_t> bytes;
    uint32_t crc;
    uint32_t adler;
  };
  const Case cases[] = {
      {{}, 0, 1},
      {Bytes("123456789"), 0xCBF43926, 0x091E01DE},
      {Bytes("The quick brown fox jumps over the lazy dog"), 0x414FA339, 0x5BDC0FDA},
      {Bytes("Wikipedia"), 0xADAAC02E, 0x11E60398},
      // Long enough for both Adler sums to wrap their modulus many times.
      {std::vector<uint8_t>(100000, 0xFF), 0x68C6CEC4, 0x149A302C},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.bytes.size());
    EXPECT_EQ(Crc32(c.bytes), c.crc);
    EXPECT_EQ(Adler32(c.bytes), c.adler);
  }
}

TEST(PngImageTest, PicturesReadBackPixelForPixel) {
  struct Case {
    int width;
    int height;
  };
  const Case cases[] = {
      {1, 1},     {3, 2}, {120, 64},  // the display's dots
      {28, 771},                      // rows of 85 bytes filling one stored block exactly
      {28, 772},                      // one row more: a second block of one row
      {360, 192},                     // the window's picture: four blocks
  };
  std::mt19937 random(7);
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.width) + "x" + std::to_string(c.height));
    std::vector<uint32_t> pixels(static_cast<std::size_t>(c.width) * c.height);
    for (uint32_t& p : pixels) p = static_cast<uint32_t>(random());
    const testing::DecodedPng png = testing::DecodePng(EncodePng(c.width, c.height, pixels));
    ASSERT_EQ(png.error, "");
    EXPECT_EQ(png.width, static_cast<uint32_t>(c.width));
    EXPECT_EQ(png.height, static_cast<uint32_t>(c.height));
    for (uint32_t& p : pixels) p |= 0xFF000000;  // alpha is not stored
    EXPECT_EQ(png.pixels, pixels);
  }
}

TEST(PngImageTest, SmallestPictureIsExactlyTheseBytes) {
  // A red dot: signature, IHDR, IDAT with one stored block of "0 ff 0 0", IEND.
  const std::vector<uint8_t> expected = {
      0x89, 'P',  'N',  'G',  0x0D, 0x0A, 0x1A, 0x0A, 0,    0,    0,    13,   'I',  'H',  'D',
      'R',  0,    0,    0,    1,    0,    0,    0,    1,    8,    2,    0,    0,    0,    0x90,
      0x77, 0x53, 0xDE, 0,    0,    0,    15,   'I',  'D',  'A',  'T',  0x78, 0x01, 0x01, 0x04,
      0x00, 0xFB, 0xFF, 0x00, 0xFF, 0x00, 0x00, 0x03, 0x01, 0x01, 0x00, 0x8D, 0x1D, 0xE5, 0x82,
      0,    0,    0,    0,    'I',  'E',  'N',  'D',  0xAE, 0x42, 0x60, 0x82};
  const uint32_t red = 0xFFFF0000;
  EXPECT_EQ(EncodePng(1, 1, std::span(&red, 1)), expected);
}

TEST(PngImageTest, PixelCountMustMatchTheSize) {
  const std::vector<uint32_t> six(6);
  const std::pair<int, int> sizes[] = {{2, 2}, {0, 6}, {6, 0}, {-1, -6}};
  for (const auto& [width, height] : sizes) {
    EXPECT_THROW(EncodePng(width, height, six), std::invalid_argument) << width << "x" << height;
  }
}

TEST(PngImageTest, WriteFileBytesReplacesTheFileAndReportsFailure) {
  testing::TempDir dir;
  dir.Write("a.png", std::string(100, 'x'));
  const std::vector<uint8_t> bytes = {1, 2, 3};
  EXPECT_TRUE(WriteFileBytes(dir / "a.png", bytes));
  EXPECT_EQ(dir.Read("a.png"), bytes);
  EXPECT_FALSE(WriteFileBytes(dir / "no-such-folder" / "a.png", bytes));
}

}  // namespace
}  // namespace orlan
