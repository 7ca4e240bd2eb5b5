#include "frontend/rom_files.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "core/machine.h"
#include "file_fixtures.h"

namespace orlan {
namespace {

using testing::Pattern;
using testing::TempDir;

constexpr std::size_t kMainOffset = 040000;  // bus address 100000 in the ROM store

std::vector<uint8_t> RomBytes(const Machine& m, std::size_t offset, std::size_t size) {
  return std::vector<uint8_t>(m.rom().begin() + offset, m.rom().begin() + offset + size);
}

TEST(LoadRomImageTest, ShortImageLeavesTheStoreUntouched) {
  TempDir dir;
  dir.Write("extra.img", Pattern(16384, 9));
  Machine m;
  ASSERT_TRUE(LoadRomImage(m, kExtraRomImage, dir / "extra.img").ok());
  EXPECT_EQ(RomBytes(m, 0, 16384), Pattern(16384, 9));
  const IoResult short_image = LoadRomImage(m, kMainRomImage, dir / "extra.img");
  EXPECT_NE(short_image.error.find("extra.img"), std::string::npos) << short_image.error;
  EXPECT_EQ(RomBytes(m, kMainOffset, 32512), std::vector<uint8_t>(32512, 0377));
}

TEST(SaveRomImageTest, ReplacesTheImageOnlyWhenFullyWritten) {
  Machine m;
  const auto image = Pattern(32512, 77);
  std::ranges::copy(image, m.rom().begin() + kMainOffset);
  TempDir dir;
  const auto old_image = Pattern(40000, 200);
  dir.Write("rom.bin", old_image);
#ifndef _WIN32
  {
    testing::FileSizeLimit limit(4096);
    EXPECT_FALSE(SaveRomImage(m, dir / "rom.bin").ok());
  }
  EXPECT_EQ(dir.Read("rom.bin"), old_image);
  EXPECT_EQ(dir.Entries(), std::vector<std::string>{"rom.bin"});  // no leftovers
#endif
  ASSERT_TRUE(SaveRomImage(m, dir / "rom.bin").ok());
  EXPECT_EQ(dir.Read("rom.bin"), image);  // replaced, not patched
  EXPECT_EQ(dir.Entries(), std::vector<std::string>{"rom.bin"});
  std::filesystem::create_directory(dir / "folder.bin");
  EXPECT_FALSE(SaveRomImage(m, dir / "folder.bin").ok());
  EXPECT_FALSE(SaveRomImage(m, dir / "none" / "rom.bin").ok());
  EXPECT_EQ(dir.Entries(), (std::vector<std::string>{"folder.bin", "rom.bin"}));
}

}  // namespace
}  // namespace orlan
