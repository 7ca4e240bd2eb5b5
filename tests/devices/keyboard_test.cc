#include "devices/keyboard.h"

#include <gtest/gtest.h>

#include <set>

#include "devices/key_tables.h"
#include "tests/devices/device_bench.h"

namespace orlan {
namespace {

using testing::Bench;

TEST(Keyboard, MouseMachineKeyWinsOverTheHostKey) {
  struct Case {
    int host_key, mouse_key;
    uint16_t code;
  } cases[] = {{0, 0, 0},     {3, 0, 043},  {3, 60, 0177}, {3, 1, 043},
               {63, 2, 0377}, {0, 17, 013}, {64, -5, 0}};  // out of range: no key
  for (const Case& c : cases) {
    Bench b;
    b.board.keyboard.set_host_key(c.host_key);
    b.board.keyboard.set_mouse_key(c.mouse_key);
    EXPECT_EQ(b.board.keyboard.KeyMatrixRead(), c.code) << c.host_key << " " << c.mouse_key;
  }
}

TEST(Keyboard, HostCharactersAndKeysSelectKeysAndInterrupt) {
  struct Case {
    bool character;
    char32_t input;  // a character or a virtual-key code
    int key_index;   // 0: not mapped, nothing changes
  } cases[] = {
      {true, U'1', 3},      {true, U';', 9},   {true, U'-', 16},  {true, U'a', 17},
      {true, U'q', 48},     {true, U'Q', 48},  {true, U'\\', 46}, {true, U'@', 47},
      {true, U',', 52},     {true, U'.', 53},  {true, U'!', 0},   {true, U' ', 0},
      {true, U'\u00e9', 0}, {true, 0x141, 0},  {false, 0x08, 55}, {false, 0x0D, 56},
      {false, 0x20, 60},    {false, 0x21, 61}, {false, 0x22, 59}, {false, 0x25, 51},
      {false, 0x26, 50},    {false, 0x27, 54}, {false, 0x28, 58}, {false, 0x75, 49},
      {false, 0x76, 57},    {false, 0x77, 62}, {false, 0x78, 63}, {false, 0x71, 0},
      {false, 0x72, 0},     {false, 0x10, 0},  {false, 0x41, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(static_cast<uint32_t>(c.input));
    Bench b;
    Keyboard& k = b.board.keyboard;
    k.set_host_key(10);
    EXPECT_EQ(c.character ? k.HostCharacter(c.input) : k.HostKeyDown(static_cast<int>(c.input)),
              c.key_index != 0);
    EXPECT_EQ(k.host_key(), c.key_index != 0 ? c.key_index : 10);
    EXPECT_EQ(b.machine.cpu.irq_channel, c.key_index != 0);
    k.HostKeyUp();  // any key-up releases the host key
    EXPECT_EQ(k.KeyMatrixRead(), 0);
  }
}

TEST(Keyboard, StoppedRunKeepsTheKeyButRaisesNothing) {
  Bench b;
  Keyboard& k = b.board.keyboard;
  b.machine.run.Stop();
  EXPECT_TRUE(k.HostCharacter(U'1'));
  k.PressHostKey(20);
  EXPECT_EQ(k.host_key(), 20);
  EXPECT_FALSE(b.machine.cpu.irq_channel);
  b.machine.run.Resume(0);
  k.PressHostKey(2);
  EXPECT_EQ(k.host_key(), 0) << "only machine keys are pressed";
  EXPECT_FALSE(b.machine.cpu.irq_channel);
}

TEST(KeyTables, EveryMachineKeyHasItsOwnRowAndColumnCode) {
  std::set<uint16_t> codes;
  for (int k = kFirstMachineKey; k < kKeyIndexCount; ++k) {
    EXPECT_EQ(kKeyScanTable[k] & 0177403, 3) << k;  // bits 0-1 set, 8-15 clear
    codes.insert(kKeyScanTable[k]);
  }
  EXPECT_EQ(codes.size(), 61u);
  for (uint16_t missing : {3, 7, 3 + 4 * 7 + 32 * 4}) EXPECT_EQ(codes.count(missing), 0u);
  EXPECT_EQ(kKeyCharTable.size(), 51u);
}

TEST(KeyTables, HitTestAndKeyRectangles) {
  struct Case {
    int x, y, key_index;
  } cases[] = {
      {491, 37, 1},   {518, 37, 0},  {491, 55, 0},   {492, 71, 2},   {526, 68, 10},  {553, 68, 0},
      {762, 56, 9},   {771, 35, 0},  {491, 103, 17}, {736, 227, 56}, {561, 258, 59}, {596, 258, 60},
      {657, 258, 60}, {659, 258, 0}, {736, 258, 63}, {771, 258, 0},  {762, 276, 0},  {-1, -1, 0},
  };
  for (const Case& c : cases) EXPECT_EQ(KeyIndexAt(c.x, c.y), c.key_index) << c.x << "," << c.y;
  for (int k = 1; k < kKeyIndexCount; ++k) {
    const auto r = KeyRectOf(k);
    ASSERT_TRUE(r.has_value()) << k;
    EXPECT_EQ(KeyIndexAt(r->x, r->y), k);
    EXPECT_EQ(KeyIndexAt(r->x + r->width - 1, r->y + r->height - 1), k);
    EXPECT_NE(KeyIndexAt(r->x + r->width, r->y), k);
    EXPECT_NE(KeyIndexAt(r->x, r->y + r->height), k);
  }
  const auto wide = KeyRectOf(60);
  EXPECT_EQ(wide->area, 4);
  EXPECT_EQ(wide->width, 62);
  EXPECT_FALSE(KeyRectOf(0).has_value());
  EXPECT_FALSE(KeyRectOf(64).has_value());
}

}  // namespace
}  // namespace orlan
