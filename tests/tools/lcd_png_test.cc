// `lcd png` writes a PNG file of the display in every build (with libpng or without,
// as on Windows), at the default size or with the dots scaled as asked.
#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "cli_test_util.h"

namespace orlan::cli {
namespace {

uint32_t Big32(const std::vector<uint8_t>& b, std::size_t at) {
  return uint32_t{b[at]} << 24 | uint32_t{b[at + 1]} << 16 | uint32_t{b[at + 2]} << 8 | b[at + 3];
}

TEST(LcdPngTest, WritesAPngOfTheDisplaySize) {
  struct Case {
    const char* scale;
    uint32_t width, height;
  };
  const Case cases[] = {{"", 360, 192}, {" 1", 120, 64}, {" 5", 600, 320}};
  for (const Case& c : cases) {
    orlan::testing::TempDir dir;
    System rig;
    const std::string path = (dir / "lcd.png").string();
    const auto run = testing::RunText(rig, "lcd png " + path + c.scale + "\n");
    ASSERT_EQ(run.err, "") << c.scale;
    const std::vector<uint8_t> file = dir.Read("lcd.png");
    ASSERT_GE(file.size(), 33u) << c.scale;
    EXPECT_EQ(std::string(file.begin() + 1, file.begin() + 4), "PNG");
    EXPECT_EQ(std::string(file.begin() + 12, file.begin() + 16), "IHDR");
    EXPECT_EQ(Big32(file, 16), c.width) << c.scale;
    EXPECT_EQ(Big32(file, 20), c.height) << c.scale;
  }
}

}  // namespace
}  // namespace orlan::cli
