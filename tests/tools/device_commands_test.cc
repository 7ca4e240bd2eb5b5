// Keys, clock ticks, the display and close from scripts.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "cli_test_util.h"
#include "devices/key_tables.h"
#include "tools/cli/options.h"

namespace orlan::cli {
namespace {

using testing::RunText;

// The display as "lcd" prints it, one string per row.
std::vector<std::string> LcdRows(System& rig, const std::string& script) {
  const auto run = RunText(rig, script + "\nlcd");
  EXPECT_EQ(run.outcome, Outcome::kContinue) << run.err;
  std::vector<std::string> rows;
  std::istringstream in(run.out);
  for (std::string row; std::getline(in, row);) rows.push_back(row);
  return rows;
}

TEST(DeviceCommands, KeyHoldsAndReleasesTheHostKey) {
  System rig;
  EXPECT_EQ(RunText(rig, "key 60.").outcome, Outcome::kContinue);
  EXPECT_EQ(rig.board().keyboard.KeyMatrixRead(), kKeyScanTable[60]);
  EXPECT_TRUE(rig.machine().cpu.irq_channel);
  RunText(rig, "key up");
  EXPECT_EQ(rig.board().keyboard.KeyMatrixRead(), 0);
}

TEST(DeviceCommands, RtcTicks) {
  System rig;
  rig.board().rtc.set_reg(kRtcControl, 010);  // periodic tick requests the interrupt
  rig.board().rtc.set_reg(kRtcSeconds, 59);
  RunText(rig, "rtc periodic");
  EXPECT_TRUE(rig.machine().cpu.irq_clock);
  RunText(rig, "rtc second");
  EXPECT_EQ(rig.board().rtc.reg(kRtcSeconds), 0);
  EXPECT_EQ(rig.board().rtc.reg(kRtcMinutes), 1);
}

TEST(DeviceCommands, LcdPrintsTheDisplayAfterARefresh) {
  System rig;
  rig.board().lcd.InvalidateLcd();
  // Display memory at 0: byte 0 is the top-left of row 0, byte 1 of row 32.
  const auto rows = LcdRows(rig, "dep 0 000600");
  ASSERT_EQ(rows.size(), 64u);
  for (const std::string& row : rows) EXPECT_EQ(row.size(), 120u);
  EXPECT_EQ(rows[0], "#" + std::string(119, '.'));
  EXPECT_EQ(rows[32], std::string(7, '.') + "#" + std::string(112, '.'));
  EXPECT_EQ(rows[1], std::string(120, '.'));
  EXPECT_EQ(LcdRows(rig, "dep 0 0")[0], std::string(120, '.'));  // redrawn each time
}

TEST(DeviceCommands, CloseWritesTheClockFileIntoTheDirectory) {
  const orlan::testing::TempDir temp;
  const std::filesystem::path& dir = temp.path();
  std::ofstream(dir / "smp0.bin", std::ios::binary) << std::string(16, '\0');
  Options options;
  options.dir = dir.string();
  System rig;
  CapturingMessageSink sink;
  ASSERT_EQ(rig.PowerOn(MachinePowerOn(options), sink), PowerOnResult::kStarted);
  EXPECT_TRUE(rig.board().cartridges.present(0));
  rig.board().rtc.set_reg(63, 0123);
  EXPECT_EQ(RunText(rig, "close").outcome, Outcome::kContinue);
  EXPECT_FALSE(rig.board().cartridges.present(0));
  std::ifstream file(dir / "rtc.bin", std::ios::binary);
  const std::string saved((std::istreambuf_iterator<char>(file)), {});
  ASSERT_EQ(saved.size(), 64u);
  EXPECT_EQ(saved[63], '\123');
}

TEST(DeviceCommands, FileErrorsAreReported) {
  {
    Options options;
    options.dir = "/nonexistent/orlan";
    System rig;
    CapturingMessageSink sink;
    ASSERT_EQ(rig.PowerOn(MachinePowerOn(options), sink), PowerOnResult::kStarted);
    const auto run = RunText(rig, "close\nregs");
    EXPECT_EQ(run.outcome, Outcome::kError);
    EXPECT_EQ(run.err.rfind("line 1: ", 0), 0u) << run.err;
    EXPECT_EQ(run.out, "");
  }
  // A cartridge read that fails (its file shrank) ends the script at that line.
  const orlan::testing::TempDir temp;
  const std::filesystem::path& dir = temp.path();
  std::ofstream(dir / "smp0.bin", std::ios::binary) << std::string(16, '\0');
  Options options;
  options.dir = dir.string();
  System rig;
  CapturingMessageSink sink;
  ASSERT_EQ(rig.PowerOn(MachinePowerOn(options), sink), PowerOnResult::kStarted);
  std::filesystem::resize_file(dir / "smp0.bin", 0);
  rig.board().cartridges.CartSetCommand(0, kCartReadUp);
  rig.board().cartridges.CartTransfer(0, 0);
  const auto run = RunText(rig, "regs\nregs");
  EXPECT_EQ(run.outcome, Outcome::kError);
  EXPECT_EQ(run.err.rfind("line 1: smp0.bin: read failed", 0), 0u) << run.err;
}

}  // namespace
}  // namespace orlan::cli
