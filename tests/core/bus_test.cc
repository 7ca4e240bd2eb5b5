#include <gtest/gtest.h>

#include "core/machine.h"
#include "core/stub_device.h"
#include "core/word.h"

namespace orlan {
namespace {

uint16_t BusReadWord(Machine& m, uint16_t a) { return LoadWord(m.LocateRead(a)); }

void BusWriteWord(Machine& m, uint16_t a, uint16_t v) { StoreWord(m.LocateWrite(a), v); }

TEST(RamSizeFromSetting, FollowsTheRule) {
  struct Case {
    int64_t setting;
    uint16_t size;
  } cases[] = {{16384, 040000},   {20000, 20000},   {16385, 16400}, {0, 040000},
               {65536, 040000},   {40000, 0100000}, {-1, 0100000},  {0x5000, 0x5000},
               {100000, 0100000}, {32768, 0100000}};
  for (const Case& c : cases) {
    EXPECT_EQ(RamSizeFromSetting(c.setting), c.size) << c.setting;
  }
}

TEST(Bus, RamSizeIsNormalisedWhenSet) {
  struct Case {
    uint16_t requested;
    uint16_t size;
  } cases[] = {{0, 040000}, {0177777, 0100000}, {0100001, 0100000}, {040001, 040020}};
  for (const Case& c : cases) {
    Machine m;
    m.SetRamSize(c.requested);
    EXPECT_EQ(m.ram_size(), c.size) << c.requested;
    EXPECT_EQ(m.ram_top(), c.size - 1) << c.requested;
    // The top of the address space is never RAM, whatever was asked for.
    EXPECT_EQ(BusReadWord(m, 0177776), 0177777) << c.requested;
  }
}

TEST(Bus, DecodeBoundariesForEachRamSize) {
  struct Case {
    uint16_t ram_size;
    uint16_t last_ram;
  } cases[] = {{16384, 037777}, {20000, 047037}, {32768, 077777}};
  for (const Case& c : cases) {
    Machine m;
    m.SetRamSize(c.ram_size);
    ASSERT_EQ(m.ram_top(), c.last_ram);
    m.rom()[c.last_ram + 1 - kRomBase] = 0123;
    StoreByte(m.LocateWrite(c.last_ram), 045);
    EXPECT_EQ(m.ram()[c.last_ram], 045);
    const auto rom_first = static_cast<uint16_t>(c.last_ram + 1);
    EXPECT_EQ(LoadByte(m.LocateRead(rom_first)), 0123) << "first ROM byte after RAM";
    StoreByte(m.LocateWrite(rom_first), 0);
    EXPECT_EQ(LoadByte(m.LocateRead(rom_first)), 0123) << "processor cannot write ROM";
  }
}

TEST(Bus, StoreEndsStayInsideTheStores) {
  Machine m;
  m.SetRamSize(0100000);
  // Word at the last RAM byte: the high half is not RAM.
  m.ram()[077777] = 012;
  EXPECT_EQ(BusReadWord(m, 077777), 0177412);
  BusWriteWord(m, 077777, 0123456);
  EXPECT_EQ(m.ram()[077777], 0056);
  EXPECT_EQ(BusReadWord(m, 077777), 0177456);
  // Word at the last ROM byte and in the unmapped top of the address space.
  m.rom()[kRomLast - kRomBase] = 0;
  EXPECT_EQ(BusReadWord(m, kRomLast), 0177400);
  for (uint32_t a = 0177400; a <= 0177777; ++a) {
    EXPECT_EQ(BusReadWord(m, static_cast<uint16_t>(a)), 0177777) << a;
  }
  // A store into the unmapped location (as the debugger may do) is not kept.
  StoreWord(m.LocateRead(0177400), 0);
  EXPECT_EQ(BusReadWord(m, 0177400), 0177777);
}

TEST(Bus, DeviceWindowsAndTheirLatches) {
  Machine m;
  auto& lcd = static_cast<StubDevice&>(m.device(DeviceWindow::kLcd));
  auto& channel = static_cast<StubDevice&>(m.device(DeviceWindow::kChannel));
  auto& rtc = static_cast<StubDevice&>(m.device(DeviceWindow::kRtc));

  BusWriteWord(m, 0164002, 0777);
  EXPECT_EQ(m.cpu.pending_write, &lcd);
  EXPECT_EQ(lcd.reg(1), 0) << "not committed before the next step";
  m.cpu.pending_write->Commit();
  EXPECT_EQ(lcd.reg(1), 0777);

  BusWriteWord(m, 0164032, 5);  // second image of channel register 1
  EXPECT_EQ(m.cpu.pending_write, &channel);
  channel.Commit();
  EXPECT_EQ(channel.reg(1), 5);

  m.cpu.pending_write = nullptr;
  BusWriteWord(m, 0165176, 7);  // clock: commits at its next access, not next step
  EXPECT_EQ(m.cpu.pending_write, nullptr);
  EXPECT_EQ(rtc.reg(077), 0);
  EXPECT_EQ(BusReadWord(m, 0165000), 0);
  EXPECT_EQ(rtc.reg(077), 7);

  // Just past the LCD registers: ROM for reads, a sink for writes.
  m.rom()[0164004 - kRomBase] = 042;
  BusWriteWord(m, 0164004, 0);
  EXPECT_EQ(BusReadWord(m, 0164004) & 0377, 042);
}

}  // namespace
}  // namespace orlan
