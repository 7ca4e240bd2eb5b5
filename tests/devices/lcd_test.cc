#include "devices/lcd.h"

#include <gtest/gtest.h>

#include <vector>

#include "tests/devices/device_bench.h"

namespace orlan {
namespace {

using testing::Bench;

// The dark dots of display byte j in the picture; each dot must be one colour over
// its whole 3 x 3 square.
std::vector<int> DarkDots(const Lcd& lcd, int j) {
  const int x0 = (j / 2 % 15) * 24, y0 = (j / 30 + (j % 2 ? 32 : 0)) * 3;
  std::vector<int> dark;
  for (int dot = 0; dot < 8; ++dot) {
    const uint32_t colour = lcd.Pixel(x0 + 3 * dot, y0);
    for (int d = 0; d < 9; ++d) EXPECT_EQ(lcd.Pixel(x0 + 3 * dot + d % 3, y0 + d / 3), colour);
    if (colour == kLcdDark) dark.push_back(dot);
  }
  return dark;
}

TEST(LcdRegisters, StoresReachTheRegisterAtTheNextStep) {
  struct Case {
    uint16_t address;
    bool byte;
    uint16_t value, reg0, reg1;
  } cases[] = {
      {0164000, false, 0123456, 0123456, 0},
      {0164002, false, 0070707, 0, 0070707},
      {0164001, false, 01000, 01000, 0},
      {0164003, false, 0177777, 0, 0177777},
      // A byte goes into the latch's low byte; the high byte is 0252 from the read
      // before, and the whole latch is committed.
      {0164000, true, 0012, 0125012, 0},
      {0164001, true, 0345, 0125345, 0},
      {0164002, true, 0001, 0, 0125001},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.address);
    Bench b;
    const int reg = (c.address >> 1) & 1;
    b.board.lcd.set_reg(reg, 0125252);
    b.ReadWord(c.address);
    b.board.lcd.set_reg(reg, 0);
    c.byte ? b.WriteByte(c.address, static_cast<uint8_t>(c.value))
           : b.WriteWord(c.address, c.value);
    EXPECT_EQ(b.board.lcd.reg(reg), 0) << "not before the next step";
    b.Step();
    EXPECT_EQ(b.board.lcd.reg(0), c.reg0);
    EXPECT_EQ(b.board.lcd.reg(1), c.reg1);
    EXPECT_EQ(b.ReadWord(c.address), reg ? c.reg1 : c.reg0);
  }
}

TEST(LcdRegisters, PendingStoreIsDroppedByResetAndInit) {
  Bench b;
  b.WriteWord(0164000, 03000);
  b.machine.CpuReset();
  b.Step();
  EXPECT_EQ(b.board.lcd.lcd_start(), 0);
  b.WriteWord(0164002, 4);
  b.board.lcd.LcdInit();
  b.board.lcd.Commit();
  EXPECT_EQ(b.board.lcd.reg(1), 0);
}

TEST(LcdDraw, DisplayBytesLandOnTheirDots) {
  struct Case {
    int j;  // display byte, LcdStart = 0
    uint8_t value;
    std::vector<int> dark;
  } cases[] = {
      {0, 0200, {0}},      // row 0, dots 0-7
      {1, 0001, {7}},      // row 32
      {28, 0101, {1, 7}},  // word 14: last column of row 0
      {29, 0377, {0, 1, 2, 3, 4, 5, 6, 7}},
      {30, 0360, {0, 1, 2, 3}},   // word 15 starts row 1
      {31, 0017, {4, 5, 6, 7}},   // and row 33
      {959, 0252, {0, 2, 4, 6}},  // row 63, column 14
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.j);
    Bench b;
    b.board.lcd.InvalidateLcd();
    b.machine.ram()[c.j] = c.value;
    b.board.lcd.DrawLcd();
    EXPECT_TRUE(b.board.lcd.changed());
    EXPECT_EQ(DarkDots(b.board.lcd, c.j), c.dark);
  }
  // Bytes 0 and 1 = 200, 001: the squares at (0, 0) and (21, 96) and nothing else.
  Bench b;
  b.board.lcd.InvalidateLcd();
  b.machine.ram()[0] = 0200;
  b.machine.ram()[1] = 0001;
  b.board.lcd.DrawLcd();
  for (int y = 0; y < kLcdPictureHeight; ++y) {
    for (int x = 0; x < kLcdPictureWidth; ++x) {
      const bool dark = (x < 3 && y < 3) || (x >= 21 && x < 24 && y >= 96 && y < 99);
      ASSERT_EQ(b.board.lcd.Pixel(x, y), dark ? kLcdDark : kLcdLight) << x << "," << y;
    }
  }
}

TEST(LcdDraw, DisplayMemoryOutsideRamIsDark) {
  struct Case {
    uint16_t start;
    int first_ram, end_ram;  // display bytes [first_ram, end_ram) are RAM
  } cases[] = {{037600, 0, 128}, {0177700, 64, 960}, {0100000, 0, 0}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.start);
    Bench b;
    b.board.lcd.set_reg(0, c.start);
    b.board.lcd.DrawLcd();
    for (int j = 0; j < kLcdBytes; ++j) {
      const bool ram = j >= c.first_ram && j < c.end_ram;
      ASSERT_EQ(b.board.lcd.shadow()[j], ram ? 0 : 0377) << j;
      ASSERT_EQ(DarkDots(b.board.lcd, j).size(), ram ? 0u : 8u) << j;
    }
  }
  Bench b;
  b.board.lcd.set_reg(0, 0177700);
  b.machine.ram()[895] = 0123;
  EXPECT_EQ(b.board.lcd.DisplayByte(959), 0123) << "wrapped to RAM address 895";
}

TEST(LcdDraw, OnlyChangedBytesArePainted) {
  Bench b;
  Lcd& lcd = b.board.lcd;
  lcd.InvalidateLcd();
  lcd.DrawLcd();
  lcd.set_changed(false);
  const std::vector<uint32_t> before(lcd.pixels(),
                                     lcd.pixels() + kLcdPictureWidth * kLcdPictureHeight);
  lcd.DrawLcd();
  EXPECT_FALSE(lcd.changed());
  EXPECT_TRUE(std::equal(before.begin(), before.end(), lcd.pixels()));
  // After a new start each byte is compared with the shadow at its position.
  b.machine.ram()[02000] = 0377;
  lcd.set_reg(0, 02000);
  lcd.DrawLcd();
  EXPECT_TRUE(lcd.changed());
  EXPECT_EQ(DarkDots(lcd, 0).size(), 8u);
  EXPECT_EQ(DarkDots(lcd, 2).size(), 0u);
}

TEST(LcdDraw, BytesEqualToTheInvalidatedShadowShowRight) {
  // Display bytes that already equal their new shadow are not repainted by the
  // first draw, so the picture must show the shadow from the start.
  Bench b;
  Lcd& lcd = b.board.lcd;
  b.machine.ram()[01000] = 0x0F;   // shadow of byte 0 becomes 0xF0
  b.machine.ram()[037600] = 0xF0;  // and so does display byte 0
  lcd.set_reg(0, 037600);          // bytes 128 on lie past RAM and read 377
  lcd.InvalidateLcd();
  lcd.DrawLcd();
  for (int y = 0; y < kLcdHeight; ++y) {
    for (int x = 0; x < kLcdWidth; ++x) {
      ASSERT_EQ(lcd.Pixel(3 * x + 1, 3 * y + 2), lcd.DotDark(x, y) ? kLcdDark : kLcdLight)
          << x << "," << y;
    }
  }
  const std::string text = lcd.DotsText();
  ASSERT_EQ(text.size(), 121u * 64);
  EXPECT_EQ(text.substr(0, 9), "####.....");
  EXPECT_EQ(text.substr(121 * 64 - 2), "#\n");
}

}  // namespace
}  // namespace orlan
