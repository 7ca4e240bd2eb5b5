#include "devices/rtc.h"

#include <gtest/gtest.h>

#include <array>
#include <filesystem>
#include <string>
#include <vector>

#include "tests/devices/device_bench.h"

namespace orlan {
namespace {

using testing::Bench;
using testing::TempDir;

constexpr uint16_t Reg(int i) { return static_cast<uint16_t>(0165000 + 2 * i); }

TEST(Rtc, InitAndReadSideEffects) {
  Bench b;
  Rtc& rtc = b.board.rtc;
  for (int i = 0; i < kRtcRegisterCount; ++i) rtc.set_reg(i, 0x55);
  rtc.RtcInit({2026, 3, 18, 3, 12, 34, 56});
  const std::array<int, 15> expected = {56, 0x55, 34, 0x55, 12, 0x55, 3,   18,
                                        3,  26,   0,  0,    0,  0,    0x55};
  for (int i = 0; i < 15; ++i) EXPECT_EQ(rtc.reg(i), expected[i]) << i;
  EXPECT_EQ(b.ReadWord(Reg(0)), 0160);
  EXPECT_EQ(b.ReadWord(Reg(13)), 0) << "first read of the status register";
  EXPECT_EQ(b.ReadWord(Reg(13) + 1), 0400) << "later reads, also at the odd address";

  b.WriteWord(Reg(kRtcControl), 0040);  // 0x10
  rtc.RtcSecondTick();
  EXPECT_EQ(rtc.reg(kRtcFlags), 0x90);
  rtc.RtcPeriodicTick();
  EXPECT_EQ(b.ReadWord(Reg(kRtcFlags)), 0640);
  EXPECT_EQ(b.ReadWord(Reg(kRtcFlags)), 0) << "cleared by the read";
  rtc.set_reg(kRtcControl, 0x40);
  rtc.RtcPeriodicTick();
  EXPECT_EQ(rtc.reg(kRtcFlags), 0xC0);
  EXPECT_FALSE(b.machine.cpu.irq_clock) << "bit 3 clear: no request";
}

TEST(Rtc, LatchedWriteCommitsAtTheNextClockEvent) {
  void (*events[])(Bench&) = {
      [](Bench& b) { b.ReadWord(Reg(40)); },
      [](Bench& b) { b.WriteWord(Reg(40), 0); },
      [](Bench& b) { b.board.rtc.RtcSecondTick(); },
  };
  for (auto event : events) {
    Bench b;
    Rtc& rtc = b.board.rtc;
    b.WriteWord(Reg(kRtcControl), 0020);  // bits 1-8 give 0x08
    b.Step();
    rtc.RtcPeriodicTick();
    EXPECT_EQ(rtc.reg(kRtcControl), 0) << "neither a step nor the periodic tick commits";
    EXPECT_FALSE(b.machine.cpu.irq_clock);
    event(b);
    EXPECT_EQ(rtc.reg(kRtcControl), 0x08);
    rtc.RtcPeriodicTick();
    EXPECT_TRUE(b.machine.cpu.irq_clock);
    b.machine.cpu.irq_clock = false;
    b.machine.run.Stop();
    rtc.RtcPeriodicTick();
    EXPECT_FALSE(b.machine.cpu.irq_clock) << "no request while the run is stopped";
  }
}

TEST(Rtc, StoresTakeBitsOneToEight) {
  struct Case {
    uint16_t address;
    bool byte;
    uint16_t value;
    int reg;
    uint8_t expected;
  } cases[] = {
      {Reg(20), false, 0x1FE, 20, 0xFF},   {Reg(21), false, 0xFE03, 21, 0x01},
      {Reg(0), true, 001, 0, 0},            // MOVB 001: the latch's high byte was 0
      {Reg(30) + 1, true, 0376, 30, 0x7F},  // odd address, same register
      {Reg(12), false, 0776, 12, 0x33},     // dropped
      {Reg(13), false, 0776, 13, 0x33},     // dropped
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.address);
    Bench b;
    b.board.rtc.set_reg(c.reg, 0x33);
    b.ReadWord(Reg(63));
    c.byte ? b.WriteByte(c.address, static_cast<uint8_t>(c.value))
           : b.WriteWord(c.address, c.value);
    b.ReadWord(Reg(63));
    EXPECT_EQ(b.board.rtc.reg(c.reg), c.expected);
    EXPECT_EQ(b.board.rtc.pending_index(), Rtc::kNone);
  }
}

TEST(Rtc, CalendarRollsOver) {
  // year, month, day, weekday, hour, minute, second
  using Clock = std::array<uint8_t, 7>;
  constexpr int kRegs[7] = {kRtcYear,  kRtcMonth,   kRtcDay,    kRtcWeekday,
                            kRtcHours, kRtcMinutes, kRtcSeconds};
  struct Case {
    Clock before, after;
  } cases[] = {
      {{26, 3, 18, 3, 12, 34, 56}, {26, 3, 18, 3, 12, 34, 57}},
      {{26, 3, 18, 3, 12, 59, 59}, {26, 3, 18, 3, 13, 0, 0}},
      {{26, 3, 22, 7, 23, 59, 59}, {26, 3, 23, 1, 0, 0, 0}},  // Sunday to Monday
      {{24, 2, 28, 3, 23, 59, 59}, {24, 3, 1, 4, 0, 0, 0}},   // no leap years
      {{26, 4, 30, 4, 23, 59, 59}, {26, 5, 1, 5, 0, 0, 0}},
      {{26, 1, 30, 5, 23, 59, 59}, {26, 1, 31, 6, 0, 0, 0}},
      {{99, 12, 31, 5, 23, 59, 59}, {0, 1, 1, 6, 0, 0, 0}},
      {{26, 12, 31, 4, 23, 59, 59}, {27, 1, 1, 5, 0, 0, 0}},
      {{26, 3, 18, 3, 12, 34, 60}, {26, 3, 18, 3, 12, 35, 0}},   // out of range rolls
      {{26, 3, 18, 3, 12, 34, 255}, {26, 3, 18, 3, 12, 34, 0}},  // byte wrap
      {{26, 3, 18, 0, 23, 59, 59}, {26, 3, 19, 1, 0, 0, 0}},     // weekday 0
      {{26, 0, 30, 1, 23, 59, 59}, {26, 0, 31, 2, 0, 0, 0}},     // month 0 as December
      {{26, 0, 31, 1, 23, 59, 59}, {26, 1, 1, 2, 0, 0, 0}},
      {{26, 13, 31, 1, 23, 59, 59}, {27, 1, 1, 2, 0, 0, 0}},
      {{26, 255, 30, 1, 23, 59, 59}, {26, 255, 31, 2, 0, 0, 0}},
  };
  for (const Case& c : cases) {
    Bench b;
    for (int f = 0; f < 7; ++f) b.board.rtc.set_reg(kRegs[f], c.before[f]);
    b.board.rtc.RtcSecondTick();
    Clock got;
    for (int f = 0; f < 7; ++f) got[f] = b.board.rtc.reg(kRegs[f]);
    EXPECT_EQ(got, c.after) << &c - cases;
    EXPECT_FALSE(b.machine.cpu.irq_clock);
  }
}

TEST(Rtc, SaveWritesTheCommittedRegistersOrFailsLeavingTheOldFile) {
  TempDir dir;
  Bench b;
  std::vector<uint8_t> expected(kRtcRegisterCount);
  for (int i = 0; i < kRtcRegisterCount; ++i)
    b.board.rtc.set_reg(i, expected[i] = static_cast<uint8_t>(i * 3));
  dir.Write("rtc.bin", std::vector<uint8_t>(200, 0xEE));
  b.WriteWord(Reg(50), 0252 << 1);  // still latched at close
  expected[50] = 0252;
  ASSERT_TRUE(b.board.rtc.RtcSave(dir.path()).ok());
  EXPECT_EQ(dir.Read("rtc.bin"), expected);
  EXPECT_EQ(dir.Entries(), std::vector<std::string>{"rtc.bin"});

  const IoResult no_dir = b.board.rtc.RtcSave(dir.path() / "missing");
  EXPECT_NE(no_dir.error.find("rtc.bin"), std::string::npos) << no_dir.error;
#ifndef _WIN32
  // The new contents cannot be written (a full disk): the old file stays whole.
  b.board.rtc.set_reg(0, 0);
  {
    testing::FileSizeLimit limit(10);
    EXPECT_FALSE(b.board.rtc.RtcSave(dir.path()).ok());
  }
  EXPECT_EQ(dir.Read("rtc.bin"), expected);
  EXPECT_EQ(dir.Entries(), std::vector<std::string>{"rtc.bin"});
#endif
  // The rename fails: the message blames the folder in the way, the temporary goes.
  TempDir other;
  std::filesystem::create_directories(other.path() / "rtc.bin" / "keep");
  const IoResult blocked = b.board.rtc.RtcSave(other.path());
  EXPECT_EQ(blocked.error.rfind(PathText(other.path() / "rtc.bin") + ": ", 0), 0u) << blocked.error;
  EXPECT_EQ(other.Entries(), std::vector<std::string>{"rtc.bin"});
}

// The old save wrote through a fixed "rtc.bin.tmp": a link placed there made closing
// overwrite a file outside the folder, and a folder of that name made it fail while
// the message blamed "rtc.bin".
TEST(Rtc, SaveNeverWritesThroughWhatLiesAtATemporaryName) {
  Bench b;
#ifndef _WIN32
  TempDir dir, outside;
  outside.Write("victim", std::string("keep me"));
  std::filesystem::create_symlink(outside / "victim", dir / "rtc.bin.tmp");
  ASSERT_TRUE(b.board.rtc.RtcSave(dir.path()).ok());
  EXPECT_EQ(outside.Read("victim"), std::vector<uint8_t>({'k', 'e', 'e', 'p', ' ', 'm', 'e'}));
  EXPECT_EQ(dir.Read("rtc.bin").size(), 64u);
#endif

  TempDir folder;
  std::filesystem::create_directory(folder / "rtc.bin.tmp");
  const IoResult saved = b.board.rtc.RtcSave(folder.path());
  EXPECT_TRUE(saved.ok()) << saved.error;
}

}  // namespace
}  // namespace orlan
