#include "frontend/rom_files.h"

#include <gtest/gtest.h>
#include <sys/resource.h>

#include <csignal>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "core/machine.h"
#include "frontend/io_error.h"
#include "temp_dir.h"

namespace orlan {
namespace {

using testing::Pattern;
using testing::TempDir;

constexpr std::size_t kExtraOffset = 0;      // 040000 in the ROM store
constexpr std::size_t kMainOffset = 040000;  // 100000 in the ROM store

std::vector<uint8_t> RomBytes(const Machine& m, std::size_t offset, std::size_t size) {
  const auto rom = m.rom();
  return std::vector<uint8_t>(rom.begin() + offset, rom.begin() + offset + size);
}

struct LoadCase {
  const char* name;
  std::optional<std::size_t> extra_size;  // nullopt: no "romt.bin"
  std::optional<std::size_t> main_size;   // nullopt: no "rom.bin"
  bool throws;
  bool extra_loaded;
  bool main_loaded;
  std::vector<std::string> messages;
};

TEST(LoadRomTest, PlacesImagesAndReportsProblems) {
  const std::string missing = "Failed to load the file rom.bin";
  const LoadCase cases[] = {
      {"no images", std::nullopt, std::nullopt, false, false, false, {missing}},
      {"main only", std::nullopt, 32512, false, false, true, {}},
      {"both", 16384, 32512, false, true, true, {}},
      {"longer images use their start", 20000, 40000, false, true, true, {}},
      {"extra without main", 16384, std::nullopt, false, true, false, {missing}},
      {"short main", 16384, 32511, true, true, false, {}},
      {"short extra stops before main", 100, 32512, true, false, false, {}},
      {"empty main", std::nullopt, 0, true, false, false, {}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    TempDir dir;
    const auto extra = Pattern(c.extra_size.value_or(0), 3);
    const auto main = Pattern(c.main_size.value_or(0), 5);
    if (c.extra_size) dir.Write("romt.bin", extra);
    if (c.main_size) dir.Write("rom.bin", main);
    Machine m;
    std::ranges::fill(m.rom(), 0x55);  // the load must fill with 377 first
    CapturingMessageSink sink;
    bool threw = false;
    try {
      LoadRom(m, dir.path(), sink);
    } catch (const IoError& e) {
      threw = true;
      EXPECT_NE(std::string(e.what()).find(".bin"), std::string::npos) << e.what();
    }
    EXPECT_EQ(threw, c.throws);
    EXPECT_EQ(sink.messages, c.messages);
    const std::vector<uint8_t> blank_extra(16384, 0377), blank_main(32512, 0377);
    EXPECT_EQ(
        RomBytes(m, kExtraOffset, 16384),
        c.extra_loaded ? std::vector<uint8_t>(extra.begin(), extra.begin() + 16384) : blank_extra);
    EXPECT_EQ(
        RomBytes(m, kMainOffset, 32512),
        c.main_loaded ? std::vector<uint8_t>(main.begin(), main.begin() + 32512) : blank_main);
    EXPECT_EQ(m.PeekByte(0177400), 0377);
  }
}

TEST(LoadRomTest, ImageThatCannotBeOpenedIsAnError) {
  TempDir dir;
  std::filesystem::create_directory(dir / "rom.bin");
  Machine m;
  CapturingMessageSink sink;
  EXPECT_THROW(LoadRom(m, dir.path(), sink), IoError);
  EXPECT_TRUE(sink.messages.empty());
}

TEST(LoadRomImageTest, LoadsOneImageFromAnyPath) {
  TempDir dir;
  const auto bytes = Pattern(16384, 9);
  dir.Write("extra.img", bytes);
  Machine m;
  LoadRomImage(m, kExtraRomImage, dir / "extra.img", FileAccess::kReadOnly);
  EXPECT_EQ(RomBytes(m, kExtraOffset, 16384), bytes);
  EXPECT_EQ(m.PeekByte(0100000), 0377);
  EXPECT_THROW(LoadRomImage(m, kMainRomImage, dir / "missing.img"), IoError);
  // A short image leaves the store untouched.
  EXPECT_THROW(LoadRomImage(m, kMainRomImage, dir / "extra.img"), IoError);
  EXPECT_EQ(m.PeekByte(0100000), 0377);
}

// Makes writes beyond `limit` bytes fail (instead of killing the process) while alive.
class FileSizeLimit {
 public:
  explicit FileSizeLimit(rlim_t limit) {
    getrlimit(RLIMIT_FSIZE, &saved_);
    old_handler_ = std::signal(SIGXFSZ, SIG_IGN);
    rlimit lowered = saved_;
    lowered.rlim_cur = limit;
    setrlimit(RLIMIT_FSIZE, &lowered);
  }
  ~FileSizeLimit() {
    setrlimit(RLIMIT_FSIZE, &saved_);
    std::signal(SIGXFSZ, old_handler_);
  }

 private:
  rlimit saved_{};
  void (*old_handler_)(int) = nullptr;
};

TEST(SaveRomImageTest, WritesTheMainImageOnly) {
  TempDir dir;
  dir.Write("rom.bin", Pattern(40000, 1));  // a longer old image is replaced, not patched
  Machine m;
  const auto image = Pattern(32512, 77);
  std::ranges::copy(image, m.rom().begin() + kMainOffset);
  ASSERT_TRUE(SaveRomImage(m, dir / "rom.bin"));
  EXPECT_EQ(dir.Read("rom.bin"), image);
  EXPECT_EQ(dir.Entries(), std::vector<std::string>{"rom.bin"});
  ASSERT_TRUE(SaveRomImage(m, dir / "copy.bin"));
  EXPECT_EQ(dir.Read("copy.bin"), image);
}

TEST(SaveRomImageTest, FailedSaveKeepsTheOldImage) {
  Machine m;
  std::ranges::copy(Pattern(32512, 11), m.rom().begin() + kMainOffset);
  {
    SCOPED_TRACE("write fails part-way");
    TempDir dir;
    const auto old_image = Pattern(32512, 200);
    dir.Write("rom.bin", old_image);
    bool saved = true;
    {
      FileSizeLimit limit(4096);
      saved = SaveRomImage(m, dir / "rom.bin");
    }
    EXPECT_FALSE(saved);
    EXPECT_EQ(dir.Read("rom.bin"), old_image);
    EXPECT_EQ(dir.Entries(), std::vector<std::string>{"rom.bin"});
  }
  {
    SCOPED_TRACE("target is a directory");
    TempDir dir;
    std::filesystem::create_directory(dir / "rom.bin");
    EXPECT_FALSE(SaveRomImage(m, dir / "rom.bin"));
    EXPECT_TRUE(std::filesystem::is_directory(dir / "rom.bin"));
    EXPECT_EQ(dir.Entries(), std::vector<std::string>{"rom.bin"});
  }
  {
    SCOPED_TRACE("folder does not exist");
    TempDir dir;
    EXPECT_FALSE(SaveRomImage(m, dir / "none" / "rom.bin"));
    EXPECT_TRUE(dir.Entries().empty());
  }
}

}  // namespace
}  // namespace orlan
