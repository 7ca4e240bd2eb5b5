#include "devices/keyboard.h"

#include <gtest/gtest.h>

#include <set>

#include "devices/key_tables.h"
#include "tests/devices/device_bench.h"

namespace orlan {
namespace {

using testing::Bench;

TEST(KeyMatrixRead, MouseMachineKeyWinsOverTheHostKey) {
  struct Case {
    const char* what;
    int host_key;
    int mouse_key;
    uint16_t code;
  } cases[] = {
      {"no key", 0, 0, 0},
      {"host key 1", 3, 0, 043},
      {"the wide key under the mouse while 1 is down", 3, 60, 0177},
      {"a window button does not hide the host key", 3, 1, 043},
      {"the reset button neither", 63, 2, 0377},
      {"mouse alone", 0, 17, 013},
      {"out-of-range values count as no key", 64, -5, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    Bench b;
    b.board.keyboard.set_host_key(c.host_key);
    b.board.keyboard.set_mouse_key(c.mouse_key);
    EXPECT_EQ(b.board.keyboard.KeyMatrixRead(), c.code);
  }
}

TEST(Keyboard, HostCharacters) {
  struct Case {
    char32_t ch;
    int key_index;  // 0: not mapped, nothing changes
  } cases[] = {
      {U'1', 3},
      {U'5', 7},
      {U':', 8},
      {U';', 9},
      {U'0', 14},
      {U'-', 16},
      {U'a', 17},
      {U'A', 17},
      {U'q', 48},
      {U'Q', 48},
      {U'^', 40},
      {U'_', 45},
      {U'\\', 46},
      {U'@', 47},
      {U',', 52},
      {U'.', 53},
      {U'z', 24},
      {U'!', 0},
      {U' ', 0},
      {U'\0', 0},
      {U'\u00e9', 0},
      {U'\u0161', 0},  // lower-case letters outside a-z
                       // are not converted
      {U'{', 0},
      {0x141, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(static_cast<uint32_t>(c.ch));
    Bench b;
    b.board.keyboard.set_host_key(10);
    EXPECT_EQ(b.board.keyboard.HostCharacter(c.ch), c.key_index != 0);
    EXPECT_EQ(b.board.keyboard.host_key(), c.key_index != 0 ? c.key_index : 10);
    EXPECT_EQ(b.machine.cpu.irq_channel, c.key_index != 0);
    EXPECT_EQ(KeyIndexForCharacter(c.ch), c.key_index);
  }
}

TEST(Keyboard, HostKeyDownAndUp) {
  struct Case {
    int virtual_key;
    int key_index;
  } cases[] = {
      {0x08, 55}, {0x0D, 56}, {0x20, 60}, {0x21, 61}, {0x22, 59},
      {0x25, 51}, {0x26, 50}, {0x27, 54}, {0x28, 58}, {0x75, 49},
      {0x76, 57}, {0x77, 62}, {0x78, 63}, {0x71, 0},  // F2 and F3 have window functions
      {0x72, 0},  {0x10, 0},  {0x41, 0},  {0x74, 0},  {0x79, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.virtual_key);
    Bench b;
    EXPECT_EQ(b.board.keyboard.HostKeyDown(c.virtual_key), c.key_index != 0);
    EXPECT_EQ(b.board.keyboard.host_key(), c.key_index);
    EXPECT_EQ(b.machine.cpu.irq_channel, c.key_index != 0);
  }
  // Any key-up forgets the host key, also one of another key.
  Bench b;
  b.board.keyboard.HostCharacter(U'1');
  b.board.keyboard.HostKeyUp();
  EXPECT_EQ(b.board.keyboard.KeyMatrixRead(), 0);
}

TEST(Keyboard, StoppedRunKeepsTheKeyButRaisesNothing) {
  Bench b;
  b.machine.run.run_stopped = true;
  EXPECT_TRUE(b.board.keyboard.HostCharacter(U'1'));
  EXPECT_TRUE(b.board.keyboard.HostKeyDown(0x0D));
  b.board.keyboard.PressHostKey(20);
  b.board.keyboard.RaiseKeyInterrupt();
  EXPECT_EQ(b.board.keyboard.host_key(), 20);
  EXPECT_FALSE(b.machine.cpu.irq_channel);
  b.machine.run.run_stopped = false;
  b.board.keyboard.PressHostKey(2);
  EXPECT_EQ(b.board.keyboard.host_key(), 0) << "only machine keys are pressed";
  EXPECT_FALSE(b.machine.cpu.irq_channel);
  b.board.keyboard.PressHostKey(63);
  EXPECT_TRUE(b.machine.cpu.irq_channel);
}

TEST(KeyTables, ScanCodesAreRowAndColumn) {
  std::set<uint16_t> codes;
  for (int k = 0; k < kKeyIndexCount; ++k) {
    const uint16_t code = kKeyScanTable[k];
    if (k < kFirstMachineKey) {
      EXPECT_EQ(code, 0) << k;
      continue;
    }
    EXPECT_EQ(code & 3, 3) << k;
    EXPECT_EQ(code >> 8, 0) << k;
    codes.insert(code);
  }
  EXPECT_EQ(codes.size(), 61u) << "every machine key has its own code";
  EXPECT_EQ(codes.count(3 + 4 * 7 + 32 * 4), 0u) << "no key at row 7, column 4";
  EXPECT_EQ(codes.count(3), 0u) << "no key at row 0, column 0";
  EXPECT_EQ(codes.count(3 + 4), 0u) << "no key at row 1, column 0";
  EXPECT_EQ(kKeyScanTable[48], 0367);
  EXPECT_EQ(kKeyScanTable[60], 0177);
  EXPECT_EQ(kKeyScanTable[61], 0277);
  EXPECT_EQ(kKeyCharTable.size(), 51u);
}

TEST(KeyTables, HitTest) {
  struct Case {
    int x;
    int y;
    int key_index;
  } cases[] = {
      {491, 37, 1},   {517, 54, 1},   {518, 37, 0},   {491, 55, 0},   {492, 71, 2},
      {526, 68, 10},  {553, 68, 0},   {526, 35, 3},   {736, 35, 9},   {762, 56, 9},
      {763, 35, 0},   {771, 35, 0},   {491, 103, 17}, {736, 227, 56}, {491, 258, 57},
      {561, 258, 59}, {596, 258, 60}, {657, 258, 60}, {659, 258, 0},  {736, 258, 63},
      {771, 258, 0},  {762, 275, 63}, {762, 276, 0},  {490, 103, 0},  {491, 289, 0},
      {-1, -1, 0},    {0, 0, 0},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(KeyIndexAt(c.x, c.y), c.key_index) << c.x << "," << c.y;
  }
}

TEST(KeyTables, KeyRectanglesMatchTheHitTest) {
  struct Named {
    int key_index;
    KeyRect rect;
  } named[] = {
      {1, {0, 491, 37, 27, 18}},   {2, {0, 491, 70, 27, 18}},   {3, {1, 526, 35, 27, 22}},
      {16, {1, 736, 68, 27, 22}},  {17, {2, 491, 103, 27, 18}}, {56, {2, 736, 227, 27, 18}},
      {57, {3, 491, 258, 27, 18}}, {60, {4, 596, 258, 62, 18}}, {61, {5, 666, 258, 27, 18}},
      {63, {5, 736, 258, 27, 18}},
  };
  for (const Named& n : named) {
    SCOPED_TRACE(n.key_index);
    const auto r = KeyRectOf(n.key_index);
    ASSERT_TRUE(r.has_value());
    EXPECT_EQ(r->area, n.rect.area);
    EXPECT_EQ(r->x, n.rect.x);
    EXPECT_EQ(r->y, n.rect.y);
    EXPECT_EQ(r->width, n.rect.width);
    EXPECT_EQ(r->height, n.rect.height);
  }
  for (int k = 1; k < kKeyIndexCount; ++k) {
    SCOPED_TRACE(k);
    const auto r = KeyRectOf(k);
    ASSERT_TRUE(r.has_value());
    EXPECT_EQ(KeyIndexAt(r->x, r->y), k);
    EXPECT_EQ(KeyIndexAt(r->x + r->width - 1, r->y + r->height - 1), k);
    EXPECT_NE(KeyIndexAt(r->x + r->width, r->y), k);
    EXPECT_NE(KeyIndexAt(r->x, r->y + r->height), k);
  }
  EXPECT_FALSE(KeyRectOf(0).has_value());
  EXPECT_FALSE(KeyRectOf(64).has_value());
}

}  // namespace
}  // namespace orlan
