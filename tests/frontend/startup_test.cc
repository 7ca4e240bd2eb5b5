#include "frontend/startup.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "core/machine.h"
#include "frontend/rom_files.h"
#include "temp_dir.h"

namespace orlan {
namespace {

using testing::Pattern;
using testing::TempDir;

constexpr LocalTime kNow{2026, 12, 8, 2, 12, 34, 56};
const std::string kNoRom = "Failed to load the file rom.bin";

struct StartCase {
  const char* name;
  std::function<void(const TempDir&)> prepare;
  bool ok;
  std::vector<std::string> messages;  // "*" stands for any one error text
  int32_t steps_per_tick;
  uint16_t ram_top;
  bool clock_set;
  bool cartridge0;
};

void WriteRom(const TempDir& dir) { dir.Write("rom.bin", Pattern(32512)); }

TEST(StartMachineTest, RunsTheStepsInOrderAndStopsAtAFileError) {
  const StartCase cases[] = {
      {"empty folder", [](const TempDir&) {}, true, {kNoRom}, 400, 037777, true, false},
      {"settings",
       [](const TempDir& d) {
         WriteRom(d);
         d.Write("orlan.ini", std::string("[Settings]\nCpuSpeed=0\nRamSize=0x5000\n"));
       },
       true,
       {},
       0,
       0x4FFF,
       true,
       false},
      {"RAM size past the top",
       [](const TempDir& d) {
         WriteRom(d);
         d.Write("orlan.ini", std::string("[Settings]\nRamSize=100000\n"));
       },
       true,
       {},
       400,
       077777,
       true,
       false},
      {"cartridges",
       [](const TempDir& d) {
         WriteRom(d);
         d.Write("smp0.bin", Pattern(1024));
         d.Write("smp1.bin", Pattern(10));
       },
       true,
       {},
       400,
       037777,
       true,
       true},
      {"short ROM skips the devices",
       [](const TempDir& d) {
         d.Write("orlan.ini", std::string("[Settings]\nCpuSpeed=7\n"));
         d.Write("rom.bin", Pattern(100));
         d.Write("smp0.bin", Pattern(1024));
       },
       false,
       {"*"},
       7,
       037777,
       false,
       false},
      {"unopenable cartridge skips the clock",
       [](const TempDir& d) {
         WriteRom(d);
         std::filesystem::create_directory(d / "smp0.bin");
       },
       false,
       {"*"},
       400,
       037777,
       false,
       false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    TempDir dir;
    c.prepare(dir);
    Machine m;
    Board board = InstallDevices(m);
    CapturingMessageSink sink;
    const StartupResult result = StartMachine(m, board, dir.path(), kNow, sink);
    EXPECT_EQ(result.ok, c.ok);
    ASSERT_EQ(sink.messages.size(), c.messages.size());
    for (std::size_t i = 0; i < c.messages.size(); ++i) {
      if (c.messages[i] == "*") {
        EXPECT_NE(sink.messages[i].find(".bin"), std::string::npos) << sink.messages[i];
      } else {
        EXPECT_EQ(sink.messages[i], c.messages[i]);
      }
    }
    EXPECT_EQ(m.run.steps_per_tick, c.steps_per_tick);
    EXPECT_EQ(m.ram_top(), c.ram_top);
    EXPECT_EQ(board.rtc.reg(kRtcSeconds), c.clock_set ? 56 : 0);
    EXPECT_EQ(board.rtc.reg(kRtcHours), c.clock_set ? 12 : 0);
    EXPECT_EQ(board.cartridges.present(0), c.cartridge0);
    EXPECT_EQ(board.cartridges.present(1), c.cartridge0);
  }
}

TEST(StartMachineTest, ShowResetsTheProcessorAndRepaintsTheDisplay) {
  TempDir dir;
  Machine m;
  Board board = InstallDevices(m);
  CapturingMessageSink sink;
  StartMachine(m, board, dir.path(), kNow, sink);
  m.run.run_stopped = true;
  m.run.trace_count = 5;
  m.run.breakpoint_address = 0100;
  m.run.resume_delay = 9;
  board.keyboard.set_host_key(20);
  board.keyboard.set_mouse_key(30);
  ResetRunState(m, board);
  ResetForRun(m, board);
  EXPECT_EQ(board.keyboard.KeyMatrixRead(), 0);
  EXPECT_FALSE(m.run.run_stopped);
  EXPECT_EQ(m.run.trace_count, -1);
  EXPECT_EQ(m.run.breakpoint_address, -1);
  EXPECT_EQ(m.run.resume_delay, 0);
  EXPECT_EQ(m.cpu.pc(), kResetAddress);
  board.lcd.DrawLcd();  // blank RAM differs from the invalidated shadow everywhere
  EXPECT_TRUE(board.lcd.changed());
}

TEST(CloseMachineFilesTest, WritesTheClockAndClosesTheCartridges) {
  TempDir dir;
  WriteRom(dir);
  dir.Write("smp0.bin", Pattern(64));
  Machine m;
  Board board = InstallDevices(m);
  CapturingMessageSink sink;
  ASSERT_TRUE(StartMachine(m, board, dir.path(), kNow, sink).ok);
  ASSERT_TRUE(CloseMachineFiles(board, dir.path(), sink));
  EXPECT_TRUE(sink.messages.empty());
  const auto rtc = dir.Read("rtc.bin");
  ASSERT_EQ(rtc.size(), 64u);
  EXPECT_EQ(rtc[kRtcSeconds], 56);
  EXPECT_EQ(rtc[kRtcYear], 26);
  EXPECT_FALSE(board.cartridges.present(0));
}

TEST(CloseMachineFilesTest, ReportsAClockFileErrorAndStillCloses) {
  TempDir dir;
  dir.Write("smp0.bin", Pattern(64));
  std::filesystem::create_directory(dir / "rtc.bin");
  Machine m;
  Board board = InstallDevices(m);
  CapturingMessageSink sink;
  StartMachine(m, board, dir.path(), kNow, sink);
  sink.messages.clear();
  EXPECT_FALSE(CloseMachineFiles(board, dir.path(), sink));
  ASSERT_EQ(sink.messages.size(), 1u);
  EXPECT_NE(sink.messages[0].find("rtc.bin"), std::string::npos) << sink.messages[0];
  EXPECT_FALSE(board.cartridges.present(0));
  // Closing again (the user quits once more) reports again and never hangs.
  EXPECT_FALSE(CloseMachineFiles(board, dir.path(), sink));
}

struct OfferCase {
  const char* name;
  int32_t save_rom;
  bool modified;
  std::optional<std::string> chosen;  // relative to the folder; nullopt: cancelled
  bool asked;
  bool written;
  std::vector<std::string> messages;
};

TEST(OfferRomSaveTest, OffersOnlyAChangedRomWhenAllowed) {
  const OfferCase cases[] = {
      {"not allowed", 0, true, "rom.bin", false, false, {}},
      {"not changed", 1, false, "rom.bin", false, false, {}},
      {"saved", 1, true, "rom.bin", true, true, {}},
      {"any non-zero allows", -1, true, "other.bin", true, true, {}},
      {"cancelled", 1, true, std::nullopt, true, false, {}},
      {"cannot save", 1, true, "none/rom.bin", true, false, {"Failed to save the file "}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    TempDir dir;
    Machine m;
    m.run.rom_modified = c.modified;
    Settings settings;
    settings.save_rom = c.save_rom;
    bool asked = false;
    CapturingMessageSink sink;
    const bool written = OfferRomSave(
        m, settings,
        [&]() -> std::optional<std::filesystem::path> {
          asked = true;
          if (!c.chosen) return std::nullopt;
          return dir / *c.chosen;
        },
        sink);
    EXPECT_EQ(asked, c.asked);
    EXPECT_EQ(written, c.written);
    EXPECT_EQ(sink.messages, c.messages);
    if (c.written) {
      EXPECT_EQ(dir.Read(*c.chosen).size(), 32512u);
    }
  }
}

}  // namespace
}  // namespace orlan
