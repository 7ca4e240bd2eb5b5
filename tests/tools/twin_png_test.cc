// The monitor's pictures of the display, read back through libpng.
#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "cli_test_util.h"
#include "tests/frontend/png_reader.h"

namespace orlan::cli {
namespace {

using orlan::testing::TempDir;

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

TEST(TwinTest, DisplayPictureScalesEachDot) {
  TempDir dir;
  for (const int scale : {1, 2, 3, 0}) {  // 0: the default
    SCOPED_TRACE(scale);
    System rig;
    // A few dark dots somewhere on the display.
    const std::string path = (dir / "lcd.png").string();
    std::string line = "lcd png " + path;
    if (scale != 0) line += " " + std::to_string(scale);
    const auto run = testing::RunText(rig, "dep 1000 000201\ndep 2670 000377\nlcd\n" + line);
    ASSERT_EQ(run.outcome, Outcome::kContinue) << run.err;
    const int s = scale == 0 ? 3 : scale;
    const orlan::testing::DecodedPng png = orlan::testing::DecodePng(dir.Read("lcd.png"));
    ASSERT_EQ(png.error, "");
    ASSERT_EQ(png.width, 120u * s);
    ASSERT_EQ(png.height, 64u * s);
    const std::vector<std::string> rows = Lines(run.out);
    ASSERT_EQ(rows.size(), 64u);
    int dark = 0, differing = 0;
    for (uint32_t y = 0; y < png.height; ++y) {
      for (uint32_t x = 0; x < png.width; ++x) {
        const bool expected = rows[y / s][x / s] == '#';
        const uint32_t pixel = png.pixels[y * png.width + x];
        differing += pixel != (expected ? kLcdDark : kLcdLight);
        dark += expected;
      }
    }
    EXPECT_EQ(differing, 0);
    EXPECT_GT(dark, 0);
    // A two-colour picture is stored with a one-bit palette: a small file.
    EXPECT_EQ(png.bit_depth, 1);
    EXPECT_LT(dir.Read("lcd.png").size(), 1024u);
  }
}

}  // namespace
}  // namespace orlan::cli
