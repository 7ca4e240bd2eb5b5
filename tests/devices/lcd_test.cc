#include "devices/lcd.h"

#include <gtest/gtest.h>

#include <vector>

#include "tests/devices/device_bench.h"

namespace orlan {
namespace {

using testing::Bench;

// Dark pixels of the picture inside the 24 x 3 strip of display byte j.
std::vector<int> DarkDotsOfByte(const Lcd& lcd, int j) {
  const int k = j / 2;
  const int x0 = (k % 15) * 24;
  const int y0 = (k / 15 + (j % 2 ? 32 : 0)) * 3;
  std::vector<int> dark;
  for (int dot = 0; dot < 8; ++dot) {
    // A dot is one colour over all of its 3 x 3 square.
    const uint32_t colour = lcd.Pixel(x0 + 3 * dot, y0);
    for (int dy = 0; dy < 3; ++dy) {
      for (int dx = 0; dx < 3; ++dx) EXPECT_EQ(lcd.Pixel(x0 + 3 * dot + dx, y0 + dy), colour);
    }
    if (colour == kLcdDark) dark.push_back(dot);
  }
  return dark;
}

TEST(LcdRegisters, StoresReachTheRegisterAtTheNextStep) {
  struct Case {
    const char* what;
    uint16_t address;
    bool byte;
    uint16_t value;
    uint16_t reg0;
    uint16_t reg1;
  } cases[] = {
      {"word to register 0", 0164000, false, 0123456, 0123456, 0},
      {"word to register 1", 0164002, false, 0070707, 0, 0070707},
      {"word at the odd address of register 0", 0164001, false, 01000, 01000, 0},
      {"word at the odd address of register 1", 0164003, false, 0177777, 0, 0177777},
      // The latch's high byte is still 0252 from the read made before the store.
      {"byte to 164000", 0164000, true, 0012, 0125012, 0},
      {"byte to 164001 goes to the latch's low byte", 0164001, true, 0345, 0125345, 0},
      {"byte to 164002", 0164002, true, 0001, 0, 0125001},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    Bench b;
    b.board.lcd.set_reg(0, 0);
    b.board.lcd.set_reg(1, 0);
    // Leave 0125252 in the latch.
    b.board.lcd.set_reg(c.address & 2 ? 1 : 0, 0125252);
    b.ReadWord(c.address);
    b.board.lcd.set_reg(c.address & 2 ? 1 : 0, 0);
    if (c.byte) {
      b.WriteByte(c.address, static_cast<uint8_t>(c.value));
    } else {
      b.WriteWord(c.address, c.value);
    }
    EXPECT_EQ(b.board.lcd.reg(0), 0) << "not before the next step";
    EXPECT_EQ(b.board.lcd.reg(1), 0);
    b.Step();
    EXPECT_EQ(b.board.lcd.reg(0), c.reg0);
    EXPECT_EQ(b.board.lcd.reg(1), c.reg1);
    EXPECT_EQ(b.board.lcd.pending_index(), Lcd::kNone);
    EXPECT_EQ(b.ReadWord(c.address), c.address & 2 ? c.reg1 : c.reg0) << "reads back";
  }
}

TEST(LcdRegisters, ReadBeforeTheStoreSeesTheOldValueAndResetDropsTheStore) {
  Bench b;
  b.Store(0164000, 01000);
  // A read-modify-write: its read comes before its own store and sees the old value.
  EXPECT_EQ(b.ReadWord(0164000), 01000);
  b.WriteWord(0164000, 02000);
  EXPECT_EQ(b.board.lcd.lcd_start(), 01000);
  b.Step();
  EXPECT_EQ(b.ReadWord(0164000), 02000) << "the next instruction sees the new value";

  b.WriteWord(0164000, 03000);
  b.machine.CpuReset();
  b.Step();
  EXPECT_EQ(b.board.lcd.lcd_start(), 02000) << "a store pending at reset is dropped";

  b.WriteWord(0164002, 4);
  b.board.lcd.LcdInit();
  b.board.lcd.Commit();
  EXPECT_EQ(b.board.lcd.reg(1), 0) << "LcdInit forgets the pending register";
}

TEST(LcdDraw, DisplayBytesLandOnTheirPixels) {
  struct Case {
    const char* what;
    uint16_t offset;  // from LcdStart = 0
    uint8_t value;
    int j;
    std::vector<int> dark;
  } cases[] = {
      {"bit 7 of the first byte: row 0, dot 0", 0, 0200, 0, {0}},
      {"bit 0 of byte 1: row 32, dot 7", 1, 0001, 1, {7}},
      {"word 14 is the last column of row 0", 28, 0101, 28, {1, 7}},
      {"its high byte the last column of row 32", 29, 0377, 29, {0, 1, 2, 3, 4, 5, 6, 7}},
      {"word 15 starts row 1", 30, 0360, 30, {0, 1, 2, 3}},
      {"its high byte starts row 33", 31, 0017, 31, {4, 5, 6, 7}},
      {"the last word: row 31 and row 63, column 14", 959, 0252, 959, {0, 2, 4, 6}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    Bench b;
    b.board.lcd.InvalidateLcd();
    b.machine.ram()[c.offset] = c.value;
    b.board.lcd.DrawLcd();
    EXPECT_TRUE(b.board.lcd.changed());
    EXPECT_EQ(DarkDotsOfByte(b.board.lcd, c.j), c.dark);
  }
}

TEST(LcdDraw, NamedPixelPositions) {
  Bench b;
  b.board.lcd.InvalidateLcd();
  b.machine.ram()[0] = 0200;
  b.machine.ram()[1] = 0001;
  b.board.lcd.DrawLcd();
  const Lcd& lcd = b.board.lcd;
  for (int y = 0; y < kLcdPictureHeight; ++y) {
    for (int x = 0; x < kLcdPictureWidth; ++x) {
      const bool dark = (x < 3 && y < 3) || (x >= 21 && x < 24 && y >= 96 && y < 99);
      ASSERT_EQ(lcd.Pixel(x, y), dark ? kLcdDark : kLcdLight) << x << "," << y;
    }
  }
}

TEST(LcdDraw, DisplayMemoryOutsideRamIsDark) {
  struct Case {
    const char* what;
    uint16_t start;
    int first_ram_byte;  // display bytes [first_ram_byte, last_ram_byte) are RAM
    int last_ram_byte;
  } cases[] = {
      {"runs past RamTop 037777", 037600, 0, 128},
      {"wraps past 177777 into RAM", 0177700, 64, 960},
      {"all in ROM", 0100000, 0, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    Bench b;
    b.board.lcd.set_reg(0, c.start);
    b.board.lcd.DrawLcd();  // shadow starts zero: bytes that are not 0 are painted
    for (int j = 0; j < kLcdBytes; ++j) {
      const bool in_ram = j >= c.first_ram_byte && j < c.last_ram_byte;
      ASSERT_EQ(b.board.lcd.DisplayByte(j), in_ram ? 0 : 0377) << j;
      ASSERT_EQ(b.board.lcd.shadow()[j], in_ram ? 0 : 0377) << j;
      ASSERT_EQ(DarkDotsOfByte(b.board.lcd, j).size(), in_ram ? 0u : 8u) << j;
    }
  }
  // After the wrap, display byte 64 is RAM byte 0.
  Bench b;
  b.board.lcd.set_reg(0, 0177700);
  b.machine.ram()[895] = 0123;
  EXPECT_EQ(b.board.lcd.DisplayByte(64 + 895), 0123);
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
  EXPECT_FALSE(lcd.changed()) << "unchanged memory draws nothing";
  EXPECT_TRUE(std::equal(before.begin(), before.end(), lcd.pixels()));

  // A changed start compares each byte with the shadow at the same position: a byte
  // equal to it is left as painted before.
  b.machine.ram()[02000] = 0377;
  b.machine.ram()[02002] = 0;
  lcd.set_reg(0, 02000);
  lcd.DrawLcd();
  EXPECT_TRUE(lcd.changed());
  EXPECT_EQ(DarkDotsOfByte(lcd, 0).size(), 8u);
  EXPECT_EQ(DarkDotsOfByte(lcd, 2).size(), 0u);
}

TEST(LcdDraw, PictureAlwaysShowsTheShadow) {
  // After InvalidateLcd, bytes whose display value happens to equal the new shadow
  // are not repainted; the picture must show them right all the same.
  Bench b;
  Lcd& lcd = b.board.lcd;
  b.machine.ram()[01000] = 0x0F;  // shadow of byte 0 becomes 0xF0
  b.machine.ram()[0] = 0xF0;      // and display byte 0 is 0xF0 too
  lcd.InvalidateLcd();
  EXPECT_EQ(lcd.shadow()[0], 0xF0);
  EXPECT_EQ(lcd.shadow()[1], 0377);
  lcd.DrawLcd();
  for (int y = 0; y < kLcdHeight; ++y) {
    for (int x = 0; x < kLcdWidth; ++x) {
      ASSERT_EQ(lcd.Pixel(3 * x + 1, 3 * y + 1), lcd.DotDark(x, y) ? kLcdDark : kLcdLight)
          << x << "," << y;
    }
  }
}

TEST(LcdDraw, DotsFollowTheWordLayout) {
  Bench b;
  Lcd& lcd = b.board.lcd;
  lcd.set_reg(0, 04000);
  for (int j = 0; j < kLcdBytes; ++j)
    b.machine.ram()[04000 + j] = static_cast<uint8_t>(j * 37 + j / 7);
  lcd.DrawLcd();
  for (int y = 0; y < kLcdHeight; ++y) {
    for (int x = 0; x < kLcdWidth; ++x) {
      ASSERT_EQ(lcd.Pixel(3 * x + 2, 3 * y + 2), lcd.DotDark(x, y) ? kLcdDark : kLcdLight)
          << x << "," << y;
    }
  }
  // Dot (119, 63) is bit 0 of the last display byte.
  b.machine.ram()[04000 + 959] = 1;
  EXPECT_TRUE(lcd.DotDark(119, 63));
  EXPECT_FALSE(lcd.DotDark(118, 63));
}

}  // namespace
}  // namespace orlan
