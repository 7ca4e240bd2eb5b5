#include "devices/rtc.h"

#include <gtest/gtest.h>

#include <array>
#include <filesystem>

#include "tests/devices/device_bench.h"

namespace orlan {
namespace {

using testing::Bench;
using testing::ScratchDir;

constexpr uint16_t RegisterAddress(int i) { return static_cast<uint16_t>(0165000 + 2 * i); }

// 12:34:56 on Wednesday 18 March 2026.
constexpr LocalTime kNoonish{2026, 3, 18, 3, 12, 34, 56};

TEST(RtcInit, SetsTheTimeAndClearsControl) {
  Bench b;
  Rtc& rtc = b.board.rtc;
  for (int i = 0; i < kRtcRegisterCount; ++i) rtc.set_reg(i, 0x55);
  rtc.RtcInit(kNoonish);
  const std::array<int, 14> expected = {56, 0x55, 34, 0x55, 12, 0x55, 3, 18, 3, 26, 0, 0, 0, 0};
  for (int i = 0; i < 14; ++i) EXPECT_EQ(rtc.reg(i), expected[i]) << "register " << i;
  EXPECT_EQ(rtc.reg(14), 0x55);
  EXPECT_EQ(b.ReadWord(RegisterAddress(0)), 0160) << "56 in bits 1-8";
  rtc.RtcInit({1999, 12, 31, 5, 23, 59, 59});
  EXPECT_EQ(rtc.reg(kRtcYear), 99);
}

TEST(RtcRegisters, ReadsGiveTheValueTimesTwoWithSideEffectsOf12And13) {
  Bench b;
  Rtc& rtc = b.board.rtc;
  rtc.RtcInit(kNoonish);
  EXPECT_EQ(b.ReadWord(RegisterAddress(13)), 0) << "first read of the status register";
  EXPECT_EQ(b.ReadWord(RegisterAddress(13)), 0400);
  EXPECT_EQ(b.ReadWord(RegisterAddress(13) + 1), 0400) << "odd address, same register";

  b.Store(RegisterAddress(kRtcControl), 0040);  // 0x10 in bits 1-8
  rtc.RtcSecondTick();
  EXPECT_EQ(rtc.reg(kRtcFlags), 0x90);
  rtc.RtcPeriodicTick();
  EXPECT_EQ(rtc.reg(kRtcFlags), 0xD0) << "periodic flag without bit 7";
  EXPECT_EQ(b.ReadWord(RegisterAddress(kRtcFlags)), 0640);
  EXPECT_EQ(b.ReadWord(RegisterAddress(kRtcFlags)), 0) << "cleared by the read";

  rtc.set_reg(kRtcControl, 0x40);
  rtc.RtcPeriodicTick();
  EXPECT_EQ(rtc.reg(kRtcFlags), 0xC0) << "periodic tick with its enable bit";
  EXPECT_FALSE(b.machine.cpu.irq_clock) << "bit 3 clear: no request";
}

TEST(RtcRegisters, LatchedWriteCommitsAtTheNextClockEvent) {
  struct Case {
    const char* what;
    void (*event)(Bench&);
  } cases[] = {
      {"read of another register", [](Bench& b) { b.ReadWord(RegisterAddress(40)); }},
      {"write of another register", [](Bench& b) { b.WriteWord(RegisterAddress(40), 0); }},
      {"second tick", [](Bench& b) { b.board.rtc.RtcSecondTick(); }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    Bench b;
    Rtc& rtc = b.board.rtc;
    b.WriteWord(RegisterAddress(kRtcControl), 0020);  // bits 1-8 give 0x08
    EXPECT_EQ(b.machine.cpu.pending_write, nullptr) << "the clock does not use the step hook";
    b.Step();
    EXPECT_EQ(rtc.reg(kRtcControl), 0) << "a step does not commit the clock";
    rtc.RtcPeriodicTick();
    EXPECT_FALSE(b.machine.cpu.irq_clock) << "the periodic tick does not commit first";
    c.event(b);
    EXPECT_EQ(rtc.reg(kRtcControl), 0x08);
    EXPECT_NE(rtc.pending_index(), kRtcControl);
    rtc.RtcPeriodicTick();
    EXPECT_TRUE(b.machine.cpu.irq_clock);
    b.machine.cpu.irq_clock = false;
    b.machine.run.run_stopped = true;
    rtc.RtcPeriodicTick();
    EXPECT_FALSE(b.machine.cpu.irq_clock) << "no request while the run is stopped";
    EXPECT_EQ(rtc.reg(kRtcFlags) & 0x40, 0x40) << "the flag still ticks";
  }
}

TEST(RtcRegisters, StoresTakeBitsOneToEight) {
  struct Case {
    const char* what;
    uint16_t address;
    bool byte;
    uint16_t value;
    int reg;
    uint8_t expected;
  } cases[] = {
      {"word", RegisterAddress(20), false, 0x1FE, 20, 0xFF},
      {"word, bit 0 and bits 9-15 dropped", RegisterAddress(21), false, 0xFE03, 21, 0x01},
      {"MOVB 001 to 165000, latch high byte 0", RegisterAddress(0), true, 001, 0, 0},
      {"MOVB 0376 at the odd address", RegisterAddress(30) + 1, true, 0376, 30, 0x7F},
      {"register 12 is not written", RegisterAddress(12), false, 0776, 12, 0x33},
      {"register 13 is not written", RegisterAddress(13), false, 0776, 13, 0x33},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    Bench b;
    b.board.rtc.set_reg(c.reg, 0x33);
    b.ReadWord(RegisterAddress(63));  // leaves 0 in the latch
    if (c.byte) {
      b.WriteByte(c.address, static_cast<uint8_t>(c.value));
    } else {
      b.WriteWord(c.address, c.value);
    }
    b.ReadWord(RegisterAddress(63));
    EXPECT_EQ(b.board.rtc.reg(c.reg), c.expected);
    EXPECT_EQ(b.board.rtc.pending_index(), Rtc::kNone);
  }
  // The latch's high byte is kept by a byte store: 0x80 read from register 40
  // leaves 0x01 in the high byte, so MOVB 0 commits 0x80.
  Bench b;
  b.board.rtc.set_reg(40, 0x80);
  b.ReadWord(RegisterAddress(40));
  b.WriteByte(RegisterAddress(41), 0);
  b.board.rtc.Commit();
  EXPECT_EQ(b.board.rtc.reg(41), 0x80);
}

struct Clock {
  uint8_t year, month, day, weekday, hour, minute, second;
};

Clock ReadClock(const Rtc& r) {
  return {r.reg(kRtcYear),  r.reg(kRtcMonth),   r.reg(kRtcDay),    r.reg(kRtcWeekday),
          r.reg(kRtcHours), r.reg(kRtcMinutes), r.reg(kRtcSeconds)};
}

void SetClock(Rtc& r, const Clock& c) {
  r.set_reg(kRtcYear, c.year);
  r.set_reg(kRtcMonth, c.month);
  r.set_reg(kRtcDay, c.day);
  r.set_reg(kRtcWeekday, c.weekday);
  r.set_reg(kRtcHours, c.hour);
  r.set_reg(kRtcMinutes, c.minute);
  r.set_reg(kRtcSeconds, c.second);
}

TEST(RtcSecondTick, CalendarRollsOver) {
  struct Case {
    const char* what;
    Clock before;
    Clock after;
  } cases[] = {
      {"plain second", {26, 3, 18, 3, 12, 34, 56}, {26, 3, 18, 3, 12, 34, 57}},
      {"minute", {26, 3, 18, 3, 12, 34, 59}, {26, 3, 18, 3, 12, 35, 0}},
      {"hour", {26, 3, 18, 3, 12, 59, 59}, {26, 3, 18, 3, 13, 0, 0}},
      {"day, Sunday to Monday", {26, 3, 22, 7, 23, 59, 59}, {26, 3, 23, 1, 0, 0, 0}},
      {"28 February: no leap years", {24, 2, 28, 3, 23, 59, 59}, {24, 3, 1, 4, 0, 0, 0}},
      {"30 April", {26, 4, 30, 4, 23, 59, 59}, {26, 5, 1, 5, 0, 0, 0}},
      {"30 January is not the end", {26, 1, 30, 5, 23, 59, 59}, {26, 1, 31, 6, 0, 0, 0}},
      {"31 December of year 99", {99, 12, 31, 5, 23, 59, 59}, {0, 1, 1, 6, 0, 0, 0}},
      {"31 December of year 26", {26, 12, 31, 4, 23, 59, 59}, {27, 1, 1, 5, 0, 0, 0}},
      {"seconds 60 roll over", {26, 3, 18, 3, 12, 34, 60}, {26, 3, 18, 3, 12, 35, 0}},
      {"seconds 255 wrap to 0", {26, 3, 18, 3, 12, 34, 255}, {26, 3, 18, 3, 12, 34, 0}},
      {"weekday 0 becomes 1 at midnight", {26, 3, 18, 0, 23, 59, 59}, {26, 3, 19, 1, 0, 0, 0}},
      {"month 0 counts as December, day 30", {26, 0, 30, 1, 23, 59, 59}, {26, 0, 31, 2, 0, 0, 0}},
      {"month 0 counts as December, day 31", {26, 0, 31, 1, 23, 59, 59}, {26, 1, 1, 2, 0, 0, 0}},
      {"month 13 rolls into a new year", {26, 13, 31, 1, 23, 59, 59}, {27, 1, 1, 2, 0, 0, 0}},
      {"month 255 does not leave the table",
       {26, 255, 30, 1, 23, 59, 59},
       {26, 255, 31, 2, 0, 0, 0}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    Bench b;
    SetClock(b.board.rtc, c.before);
    b.board.rtc.RtcSecondTick();
    const Clock got = ReadClock(b.board.rtc);
    EXPECT_EQ(got.year, c.after.year);
    EXPECT_EQ(got.month, c.after.month);
    EXPECT_EQ(got.day, c.after.day);
    EXPECT_EQ(got.weekday, c.after.weekday);
    EXPECT_EQ(got.hour, c.after.hour);
    EXPECT_EQ(got.minute, c.after.minute);
    EXPECT_EQ(got.second, c.after.second);
    EXPECT_FALSE(b.machine.cpu.irq_clock) << "the second tick never requests";
  }
}

TEST(RtcSave, WritesTheCommittedRegisters) {
  ScratchDir dir;
  Bench b;
  Rtc& rtc = b.board.rtc;
  for (int i = 0; i < kRtcRegisterCount; ++i) rtc.set_reg(i, static_cast<uint8_t>(i * 3));
  dir.WriteFile("rtc.bin", std::vector<uint8_t>(200, 0xEE));  // an older, longer file
  b.WriteWord(RegisterAddress(50), 0252 << 1);                // still latched at close
  ASSERT_TRUE(rtc.RtcSave(dir.path()).ok());
  std::vector<uint8_t> expected(kRtcRegisterCount);
  for (int i = 0; i < kRtcRegisterCount; ++i) expected[i] = static_cast<uint8_t>(i * 3);
  expected[50] = 0252;
  EXPECT_EQ(dir.ReadFile("rtc.bin"), expected);
  EXPECT_FALSE(std::filesystem::exists(dir.path() / "rtc.bin.tmp"));
}

TEST(RtcSave, FailureIsReportedAndLeavesTheOldFileWhole) {
  ScratchDir dir;
  Bench b;
  const IoResult missing_dir = b.board.rtc.RtcSave(dir.path() / "no such directory");
  EXPECT_FALSE(missing_dir.ok());
  EXPECT_NE(missing_dir.error.find("rtc.bin"), std::string::npos) << missing_dir.error;

  // The temporary file cannot be created: the existing file stays as it was.
  const std::vector<uint8_t> old(64, 0x11);
  dir.WriteFile("rtc.bin", old);
  std::filesystem::create_directory(dir.path() / "rtc.bin.tmp");
  EXPECT_FALSE(b.board.rtc.RtcSave(dir.path()).ok());
  EXPECT_EQ(dir.ReadFile("rtc.bin"), old);

  // The file to replace is a directory: the rename fails and the temporary goes.
  ScratchDir other("other");
  std::filesystem::create_directory(other.path() / "rtc.bin");
  std::filesystem::create_directory(other.path() / "rtc.bin" / "keep");
  EXPECT_FALSE(b.board.rtc.RtcSave(other.path()).ok());
  EXPECT_FALSE(std::filesystem::exists(other.path() / "rtc.bin.tmp"));
}

TEST(HostLocalTime, GivesFieldsInRange) {
  const LocalTime t = HostLocalTime();
  EXPECT_GE(t.year, 2000);
  EXPECT_TRUE(t.month >= 1 && t.month <= 12);
  EXPECT_TRUE(t.day >= 1 && t.day <= 31);
  EXPECT_TRUE(t.weekday >= 1 && t.weekday <= 7);
  EXPECT_TRUE(t.hour >= 0 && t.hour <= 23);
  EXPECT_TRUE(t.second >= 0 && t.second <= 59);
}

}  // namespace
}  // namespace orlan
