// A build without libpng refuses display pictures aloud, and writes nothing.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "cli_test_util.h"
#include "frontend/png_image.h"

namespace orlan::cli {
namespace {

TEST(NoPngTest, PictureRequestFailsWithAMessage) {
  orlan::testing::TempDir dir;
  System rig;
  const std::string path = (dir / "lcd.png").string();
  const auto run = testing::RunText(rig, "lcd png " + path + "\nregs\n");
  EXPECT_EQ(run.outcome, Outcome::kError);
  EXPECT_EQ(run.err, std::string("line 1: ") + kNoPngText + "\n");
  EXPECT_EQ(run.out, "");
  EXPECT_FALSE(std::filesystem::exists(path));
}

}  // namespace
}  // namespace orlan::cli
