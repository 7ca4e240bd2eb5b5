#include "frontend/rom_files.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "core/machine.h"
#include "file_fixtures.h"
#include "frontend/io_error.h"

namespace orlan {
namespace {

using testing::FileSizeLimit;
using testing::Pattern;
using testing::TempDir;

constexpr std::size_t kFolder = SIZE_MAX;    // the name is taken by a folder
constexpr std::size_t kMainOffset = 040000;  // bus address 100000 in the ROM store

std::vector<uint8_t> RomBytes(const Machine& m, std::size_t offset, std::size_t size) {
  return std::vector<uint8_t>(m.rom().begin() + offset, m.rom().begin() + offset + size);
}

TEST(LoadRomTest, PlacesImagesAndReportsProblems) {
  struct Case {
    std::optional<std::size_t> extra_size, main_size;  // nullopt: no file
    bool throws, extra_loaded, main_loaded, missing_message;
  };
  const Case cases[] = {
      {std::nullopt, std::nullopt, false, false, false, true},
      {20000, 40000, false, true, true, false},  // longer images give their start
      {16384, std::nullopt, false, true, false, true},
      {16384, 32511, true, true, false, false},  // short: error, earlier image stays
      {100, 32512, true, false, false, false},   // the error stops before "rom.bin"
      {std::nullopt, kFolder, true, false, false, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(::testing::Message()
                 << c.extra_size.value_or(0) << "/" << c.main_size.value_or(0));
    TempDir dir;
    const auto extra = Pattern(c.extra_size.value_or(0), 3);
    const auto main = Pattern(c.main_size.value_or(0) == kFolder ? 0 : *c.main_size, 5);
    if (c.extra_size) dir.Write("romt.bin", extra);
    if (c.main_size == kFolder) std::filesystem::create_directory(dir / "rom.bin");
    if (c.main_size && c.main_size != kFolder) dir.Write("rom.bin", main);
    Machine m;
    std::ranges::fill(m.rom(), 0x55);  // the load fills with 377 first
    CapturingMessageSink sink;
    bool threw = false;
    try {
      LoadRom(m, dir.path(), sink);
    } catch (const IoError& e) {
      threw = true;
      EXPECT_NE(std::string(e.what()).find(".bin"), std::string::npos) << e.what();
    }
    EXPECT_EQ(threw, c.throws);
    EXPECT_EQ(sink.messages, c.missing_message
                                 ? std::vector<std::string>{"Failed to load the file rom.bin"}
                                 : std::vector<std::string>{});
    EXPECT_EQ(RomBytes(m, 0, 16384),
              c.extra_loaded ? std::vector<uint8_t>(extra.begin(), extra.begin() + 16384)
                             : std::vector<uint8_t>(16384, 0377));
    EXPECT_EQ(RomBytes(m, kMainOffset, 32512),
              c.main_loaded ? std::vector<uint8_t>(main.begin(), main.begin() + 32512)
                            : std::vector<uint8_t>(32512, 0377));
  }
}

TEST(LoadRomImageTest, ShortImageLeavesTheStoreUntouched) {
  TempDir dir;
  dir.Write("extra.img", Pattern(16384, 9));
  Machine m;
  LoadRomImage(m, kExtraRomImage, dir / "extra.img", FileAccess::kReadOnly);
  EXPECT_EQ(RomBytes(m, 0, 16384), Pattern(16384, 9));
  EXPECT_THROW(LoadRomImage(m, kMainRomImage, dir / "extra.img"), IoError);
  EXPECT_EQ(RomBytes(m, kMainOffset, 32512), std::vector<uint8_t>(32512, 0377));
}

TEST(SaveRomImageTest, ReplacesTheImageOnlyWhenFullyWritten) {
  Machine m;
  const auto image = Pattern(32512, 77);
  std::ranges::copy(image, m.rom().begin() + kMainOffset);
  TempDir dir;
  const auto old_image = Pattern(40000, 200);
  dir.Write("rom.bin", old_image);
  {
    FileSizeLimit limit(4096);
    EXPECT_FALSE(SaveRomImage(m, dir / "rom.bin"));
  }
  EXPECT_EQ(dir.Read("rom.bin"), old_image);
  EXPECT_EQ(dir.Entries(), std::vector<std::string>{"rom.bin"});  // no leftovers
  ASSERT_TRUE(SaveRomImage(m, dir / "rom.bin"));
  EXPECT_EQ(dir.Read("rom.bin"), image);  // replaced, not patched
  EXPECT_EQ(dir.Entries(), std::vector<std::string>{"rom.bin"});
  std::filesystem::create_directory(dir / "folder.bin");
  EXPECT_FALSE(SaveRomImage(m, dir / "folder.bin"));
  EXPECT_FALSE(SaveRomImage(m, dir / "none" / "rom.bin"));
  EXPECT_EQ(dir.Entries(), (std::vector<std::string>{"folder.bin", "rom.bin"}));
}

}  // namespace
}  // namespace orlan
