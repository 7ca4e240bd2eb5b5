#include "frontend/startup.h"

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

constexpr LocalTime kNow{2026, 12, 8, 2, 12, 34, 56};

struct Started {
  Machine machine;
  Board board = InstallDevices(machine);
  CapturingMessageSink sink;
  StartupResult result;
  explicit Started(const TempDir& dir) {
    result = StartMachine(machine, board, dir.path(), kNow, sink);
  }
};

TEST(StartMachineTest, StopsAtTheFirstFileError) {
  struct Case {
    const char* name;
    const char* folder;  // a file name taken by a folder, so it cannot be opened
    std::size_t rom_size;
    bool ok;
    std::string message;  // empty: none; otherwise a part of the only message
  };
  const Case cases[] = {
      {"no rom", nullptr, 0, true, "Failed to load the file rom.bin"},
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
    EXPECT_EQ(s.result.ok, c.ok);
    ASSERT_EQ(s.sink.messages.size(), c.message.empty() ? 0u : 1u);
    if (!c.message.empty()) {
      EXPECT_NE(s.sink.messages[0].find(c.message), std::string::npos);
    }
    // Settings and RAM size come before any file error; the clock comes last.
    EXPECT_EQ(s.machine.run.steps_per_tick(), 7);
    EXPECT_EQ(s.machine.ram_top(), 0x4FFF);
    EXPECT_EQ(s.board.rtc.reg(kRtcSeconds), c.ok ? 56 : 0);
    EXPECT_EQ(s.board.cartridges.present(0), c.rom_size != 100);
  }
}

TEST(CloseMachineFilesTest, ClockFileErrorIsReportedAndClosingGoesOn) {
  TempDir dir;
  dir.Write("smp0.bin", Pattern(64));
  Started s(dir);
  s.sink.messages.clear();
  ASSERT_TRUE(CloseMachineFiles(s.board, dir.path(), s.sink));
  const auto rtc = dir.Read("rtc.bin");
  ASSERT_EQ(rtc.size(), 64u);
  EXPECT_EQ(rtc[kRtcSeconds], 56);
  EXPECT_FALSE(s.board.cartridges.present(0));

  TempDir broken;
  broken.Write("smp0.bin", Pattern(64));
  std::filesystem::create_directory(broken / "rtc.bin");
  Started t(broken);
  t.sink.messages.clear();
  EXPECT_FALSE(CloseMachineFiles(t.board, broken.path(), t.sink));
  ASSERT_EQ(t.sink.messages.size(), 1u);
  EXPECT_NE(t.sink.messages[0].find("rtc.bin"), std::string::npos) << t.sink.messages[0];
  EXPECT_FALSE(t.board.cartridges.present(0));
}

TEST(OfferRomSaveTest, OffersOnlyAChangedRomWhenAllowed) {
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
    Machine m;
    if (c.modified) m.run.MarkRomModified();
    Settings settings;
    settings.save_rom = c.save_rom;
    bool asked = false;
    CapturingMessageSink sink;
    const auto choose = [&]() -> std::optional<std::filesystem::path> {
      asked = true;
      if (!c.chosen) return std::nullopt;
      return dir / *c.chosen;
    };
    EXPECT_EQ(OfferRomSave(m, settings, choose, sink), c.written);
    EXPECT_EQ(asked, c.asked);
    EXPECT_EQ(sink.messages, c.messages);
    EXPECT_EQ(std::filesystem::exists(dir / "rom.bin"), c.written);
  }
}

}  // namespace
}  // namespace orlan
