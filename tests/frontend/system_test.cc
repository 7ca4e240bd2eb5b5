// Power-on from a machine folder, the close sequence and the ROM save offer.
#include "frontend/system.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "devices/host_file.h"
#include "file_fixtures.h"
#include "tests/support/fifo.h"
#include "tests/support/lock_holder.h"

namespace orlan {
namespace {

using testing::Pattern;
using testing::TempDir;

constexpr LocalTime kNow{2026, 12, 8, 2, 12, 34, 56};
constexpr std::size_t kFolder = SIZE_MAX;    // the name is taken by a folder
constexpr std::size_t kMainOffset = 040000;  // bus address 100000 in the ROM store

struct Started {
  System system;
  CapturingMessageSink sink;
  PowerOnResult result;
  explicit Started(const std::filesystem::path& dir, FolderUse use = FolderUse::kMachine) {
    PowerOnOptions options;
    options.folder = dir;
    options.use = use;
    options.now = kNow;
    result = system.PowerOn(options, sink);
  }
  explicit Started(const TempDir& dir, FolderUse use = FolderUse::kMachine)
      : Started(dir.path(), use) {}
  Machine& machine() { return system.machine(); }
  Board& board() { return system.board(); }
};

std::vector<uint8_t> RomBytes(const Machine& m, std::size_t offset, std::size_t size) {
  return std::vector<uint8_t>(m.rom().begin() + offset, m.rom().begin() + offset + size);
}

TEST(PowerOnTest, StopsAtTheFirstFileError) {
  struct Case {
    const char* name;
    const char* folder;  // a file name taken by a folder, so it cannot be opened
    std::size_t rom_size;
    bool ok;
    std::string message;  // empty: none; otherwise a part of the only message
  };
  const Case cases[] = {
      {"no rom", nullptr, 0, true, "Failed to load the file "},
      {"all well", nullptr, 32512, true, ""},
      {"short rom", nullptr, 100, false, "rom.bin"},
      {"bad cartridge", "smp1.bin", 32512, false, "smp1.bin"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TempDir dir;
    dir.Write("orlan.ini", std::string("[Settings]\nCpuSpeed=7\nRamSize=0x5000\n"));
    if (c.rom_size > 0) dir.Write("rom.bin", Pattern(c.rom_size));
    dir.Write("smp0.bin", Pattern(1024));
    if (c.folder) std::filesystem::create_directory(dir / c.folder);
    Started s(dir);
    EXPECT_EQ(s.result == PowerOnResult::kStarted, c.ok);
    ASSERT_EQ(s.sink.messages.size(), c.message.empty() ? 0u : 1u);
    if (!c.message.empty()) {
      EXPECT_NE(s.sink.messages[0].find(c.message), std::string::npos) << s.sink.messages[0];
      // Files are named by their full paths.
      EXPECT_NE(s.sink.messages[0].find(PathText(dir.path())), std::string::npos);
    }
    // Settings and RAM size come before any file error; the clock comes last.
    EXPECT_EQ(s.machine().run.steps_per_tick(), 7);
    EXPECT_EQ(s.machine().ram_top(), 0x4FFF);
    EXPECT_EQ(s.board().rtc.reg(kRtcSeconds), c.ok ? 56 : 0);
    EXPECT_EQ(s.board().cartridges.present(0), c.rom_size != 100);
  }
}

TEST(PowerOnTest, PlacesRomImagesAndReportsProblems) {
  struct Case {
    std::optional<std::size_t> extra_size, main_size;  // nullopt: no file
    bool file_error, extra_loaded, main_loaded, missing_message;
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
    Started s(dir);
    EXPECT_EQ(s.result == PowerOnResult::kFileError, c.file_error);
    if (c.file_error) {
      ASSERT_EQ(s.sink.messages.size(), 1u);
      EXPECT_NE(s.sink.messages[0].find(".bin"), std::string::npos) << s.sink.messages[0];
    } else {
      const std::string missing = "Failed to load the file " + PathText(dir / "rom.bin");
      EXPECT_EQ(s.sink.messages,
                c.missing_message ? std::vector<std::string>{missing} : std::vector<std::string>{});
    }
    EXPECT_EQ(RomBytes(s.machine(), 0, 16384),
              c.extra_loaded ? std::vector<uint8_t>(extra.begin(), extra.begin() + 16384)
                             : std::vector<uint8_t>(16384, 0377));
    EXPECT_EQ(RomBytes(s.machine(), kMainOffset, 32512),
              c.main_loaded ? std::vector<uint8_t>(main.begin(), main.begin() + 32512)
                            : std::vector<uint8_t>(32512, 0377));
  }
}

#ifndef _WIN32
// A FIFO (or any file that is no regular file) in place of a machine file used to
// block the start-up for good; it is refused with a message instead.
TEST(PowerOnTest, MachineFilesThatAreNoRegularFilesAreRefused) {
  struct Case {
    const char* name;
    PowerOnResult result;
  };
  const Case cases[] = {
      {"orlan.ini", PowerOnResult::kStarted},  // and the defaults
      {"romt.bin", PowerOnResult::kFileError},
      {"rom.bin", PowerOnResult::kFileError},
      {"smp0.bin", PowerOnResult::kFileError},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TempDir dir;
    dir.Write("orlan.ini", std::string("[Settings]\nCpuSpeed=7\n"));
    dir.Write("rom.bin", Pattern(32512));
    std::filesystem::remove(dir / c.name);
    const testing::Fifo fifo(dir / c.name);
    Started s(dir);
    EXPECT_EQ(s.result, c.result);
    ASSERT_EQ(s.sink.messages.size(), 1u);
    EXPECT_EQ(s.sink.messages[0], NotRegularFile(dir / c.name).error);
  }
}

// The images were opened for reading and writing, so one that cannot be written (a
// protected dump, or one in use) killed the machine. The running test program itself
// can be opened for writing by nobody, not even the superuser.
TEST(PowerOnTest, RomImagesThatCannotBeWrittenLoad) {
  TempDir source;
  source.Write("protected.bin", Pattern(32512, 9));
  std::filesystem::permissions(source / "protected.bin", std::filesystem::perms::owner_read |
                                                             std::filesystem::perms::group_read |
                                                             std::filesystem::perms::others_read);
  for (const std::filesystem::path& image :
       {source / "protected.bin", std::filesystem::path("/proc/self/exe")}) {
    SCOPED_TRACE(image);
    TempDir dir;
    std::filesystem::create_symlink(image, dir / "rom.bin");
    std::filesystem::create_symlink(image, dir / "romt.bin");
    Started s(dir);
    EXPECT_EQ(s.result, PowerOnResult::kStarted);
    EXPECT_EQ(s.sink.messages, std::vector<std::string>{});
    EXPECT_EQ(s.machine().PeekByte(0100000), dir.Read("rom.bin")[0]);
  }
}
#endif

// Two emulators on one folder wrote the same cartridge files without a word.
TEST(PowerOnTest, ASecondEmulatorOnTheFolderIsRefused) {
  struct Case {
    const char* name;
    FolderUse first, second;
    bool cartridge;
    bool refused;
  };
  const Case cases[] = {
      {"two windows", FolderUse::kMachine, FolderUse::kMachine, false, true},
      {"monitor beside a window", FolderUse::kMachine, FolderUse::kDevices, true, true},
      {"window beside a monitor", FolderUse::kDevices, FolderUse::kMachine, true, true},
      {"monitor with no cartridge there", FolderUse::kMachine, FolderUse::kDevices, false, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TempDir dir;
    if (c.cartridge) dir.Write("smp0.bin", Pattern(64));
    Started first(dir, c.first);
    ASSERT_EQ(first.result, PowerOnResult::kStarted);
    {
      Started second(dir, c.second);
      EXPECT_EQ(second.result == PowerOnResult::kFolderInUse, c.refused);
      if (c.refused) {
        ASSERT_EQ(second.sink.messages.size(), 1u);
        EXPECT_EQ(second.sink.messages[0],
                  PathText(dir.path()) + ": the machine folder is in use by another emulator");
        EXPECT_FALSE(second.board().cartridges.present(0));
        // The refused one leaves the folder's files alone at close.
        second.system.Close({}, second.sink);
        EXPECT_FALSE(std::filesystem::exists(dir / "rtc.bin"));
      }
    }
    EXPECT_TRUE(first.system.Close({}, first.sink));
    Started after(dir, c.second);  // closing let the folder go
    EXPECT_EQ(after.result, PowerOnResult::kStarted);
  }
}

// The lock is the operating system's: a killed emulator leaves none behind.
TEST(PowerOnTest, AKilledEmulatorLeavesNoLock) {
  TempDir dir;
  testing::LockHolder holder(dir.path());
  ASSERT_TRUE(holder.held());
  {
    Started held(dir);
    EXPECT_EQ(held.result, PowerOnResult::kFolderInUse);
  }
  holder.Kill();
  Started after(dir);
  EXPECT_EQ(after.result, PowerOnResult::kStarted);
}

TEST(CloseTest, ClockFileErrorIsReportedAndClosingGoesOn) {
  TempDir dir;
  dir.Write("smp0.bin", Pattern(64));
  Started s(dir);
  s.sink.messages.clear();
  ASSERT_TRUE(s.system.Close({}, s.sink));
  EXPECT_TRUE(s.machine().run.run_stopped());
  const auto rtc = dir.Read("rtc.bin");
  ASSERT_EQ(rtc.size(), 64u);
  EXPECT_EQ(rtc[kRtcSeconds], 56);
  EXPECT_FALSE(s.board().cartridges.present(0));

  TempDir broken;
  broken.Write("smp0.bin", Pattern(64));
  std::filesystem::create_directory(broken / "rtc.bin");
  Started t(broken);
  t.sink.messages.clear();
  std::vector<std::string> steps;
  FrontEndSteps front_end;
  front_end.stop_timers = [&] { steps.push_back("timers"); };
  front_end.release_pictures = [&] { steps.push_back("pictures"); };
  EXPECT_FALSE(t.system.Close(front_end, t.sink));
  ASSERT_EQ(t.sink.messages.size(), 1u);
  EXPECT_NE(t.sink.messages[0].find("rtc.bin"), std::string::npos) << t.sink.messages[0];
  EXPECT_FALSE(t.board().cartridges.present(0));
  EXPECT_EQ(steps, (std::vector<std::string>{"timers", "pictures"}));
  EXPECT_TRUE(t.system.Close(front_end, t.sink));  // once only
  EXPECT_EQ(steps.size(), 2u);
}

TEST(CloseTest, OffersOnlyAChangedRomWhenAllowed) {
  struct Case {
    int32_t save_rom;
    bool modified;
    std::optional<std::string> chosen;  // nullopt: the user cancels
    bool asked, written;
    std::vector<std::string> messages;
  };
  const Case cases[] = {
      {0, true, "rom.bin", false, false, {}},
      {1, false, "rom.bin", false, false, {}},
      {-1, true, "rom.bin", true, true, {}},
      {1, true, std::nullopt, true, false, {}},
      {1, true, "none/rom.bin", true, false, {"Failed to save the file "}},
  };
  for (const Case& c : cases) {
    TempDir dir;
    TempDir target;
    dir.Write("orlan.ini", "[Debugger]\nSaveRom=" + std::to_string(c.save_rom) + "\n");
    Started s(dir);
    if (c.modified) s.machine().run.MarkRomModified();
    s.sink.messages.clear();
    bool asked = false;
    FrontEndSteps steps;
    steps.choose_rom_target = [&]() -> std::optional<std::filesystem::path> {
      asked = true;
      if (!c.chosen) return std::nullopt;
      return target / *c.chosen;
    };
    s.system.Close(steps, s.sink);
    EXPECT_EQ(asked, c.asked);
    EXPECT_EQ(s.sink.messages, c.messages);
    EXPECT_EQ(std::filesystem::exists(target / "rom.bin"), c.written);
  }
}

}  // namespace
}  // namespace orlan
