#include "devices/channel.h"

#include <gtest/gtest.h>

#include <vector>

#include "tests/devices/device_bench.h"

namespace orlan {
namespace {

using testing::Bench;
using testing::PatternBytes;
using testing::TempDir;

constexpr uint16_t kData = 0164020;    // register 0
constexpr uint16_t kReg1 = 0164022;    // register 1
constexpr uint16_t kSelect = 0164024;  // register 2
constexpr uint16_t kEnd = 0164026;     // register 3
constexpr uint16_t kAlias = 010;       // 164030-164037 repeat the registers

// A channel conversation, step by step through the bus: a store is committed by the
// next step, a read happens at once.
struct Op {
  enum Kind { kStore, kRead, kKeyDown, kKeyUp } kind;
  uint16_t address = 0;
  uint16_t value = 0;  // the word stored, or the word the read must give
};

Op Store(uint16_t address, uint16_t value) { return {Op::kStore, address, value}; }
Op Read(uint16_t address, uint16_t expected) { return {Op::kRead, address, expected}; }
Op KeyDown(char ch) { return {Op::kKeyDown, 0, static_cast<uint16_t>(ch)}; }
Op KeyUp() { return {Op::kKeyUp}; }

void RunOps(Bench& b, const std::vector<Op>& ops, uint16_t alias = 0) {
  for (std::size_t i = 0; i < ops.size(); ++i) {
    const Op& op = ops[i];
    SCOPED_TRACE(i);
    switch (op.kind) {
      case Op::kStore:
        b.Store(static_cast<uint16_t>(op.address + alias), op.value);
        break;
      case Op::kRead:
        EXPECT_EQ(b.ReadWord(static_cast<uint16_t>(op.address + alias)), op.value);
        break;
      case Op::kKeyDown:
        b.board.keyboard.HostCharacter(static_cast<char32_t>(op.value));
        break;
      case Op::kKeyUp:
        b.board.keyboard.HostKeyUp();
        break;
    }
  }
}

TEST(Channel, Conversations) {
  struct Case {
    const char* what;
    std::vector<Op> ops;
  } cases[] = {
      {"idle: nothing received", {Read(kData, 0177777), Read(kData, 0177777)}},
      {"register 2 always reads 177777", {Store(kSelect, 3), Read(kSelect, 0177777)}},
      {"register 1 reads back",
       {Store(kReg1, 0123456), Read(kReg1, 0123456), Read(kReg1, 0123456)}},
      {"keyboard: the code taken at the previous selection or transfer",
       {KeyDown('1'), Store(kSelect, 2), Read(kData, 043), KeyUp(), Read(kData, 043),
        Read(kData, 0)}},
      {"keyboard: a key pressed after the selection is seen one read later",
       {Store(kSelect, 2), KeyDown('q'), Read(kData, 0), Read(kData, 0367), Read(kEnd, 0367),
        Read(kData, 0367), Read(kData, 0177777)}},
      {"keyboard: writing register 1 takes the code again",
       {Store(kSelect, 2), KeyDown('2'), Store(kReg1, 5), Read(kData, 0103)}},
      {"keyboard: writing register 0 takes the code again",
       {Store(kSelect, 2), KeyDown('2'), Store(kData, 5), Read(kData, 0103)}},
      {"code 3 selects nothing", {Store(kSelect, 3), Read(kData, 3), Read(kData, 0177777)}},
      {"only bits 0-3 select: 0362 is the keyboard",
       {KeyDown('1'), Store(kSelect, 0362), Read(kData, 043)}},
      {"a write of register 0 while idle is read back once",
       {Store(kData, 0112233), Read(kData, 0112233), Read(kData, 0177777)}},
      {"reading register 3 ends the transfer",
       {KeyDown('1'), Store(kSelect, 2), Read(kEnd, 043), Read(kData, 043), Read(kData, 0177777)}},
      {"cartridge 1 absent: presence probe",
       {Store(kSelect, 1), Read(kData, 0), Read(kData, 0377), Read(kData, 0377)}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    for (uint16_t alias : {uint16_t{0}, kAlias}) {
      SCOPED_TRACE(alias);
      TempDir dir;
      Bench b;
      ASSERT_TRUE(b.board.channel.ChannelInit(dir.path()).ok());
      RunOps(b, c.ops, alias);
    }
  }
}

TEST(Channel, ByteStoreAtTheOddAddressOfRegister2CommandsCartridge0) {
  TempDir dir;
  dir.Write("smp0.bin", PatternBytes(1024));
  Bench b;
  ASSERT_TRUE(b.board.channel.ChannelInit(dir.path()).ok());
  b.ReadWord(kReg1);  // leaves 0 in the latch
  b.WriteByte(kSelect + 1, 010);
  b.Step();
  EXPECT_EQ(b.board.channel.device_code(), 8);
  EXPECT_EQ(b.board.cartridges.cartridge(0).command, 010);
  EXPECT_EQ(b.board.channel.received(), 010);
}

TEST(Channel, CartridgeBytesReachTheFileWithoutClosing) {
  TempDir dir;
  dir.Write("smp1.bin", PatternBytes(1024));
  Bench b;
  ASSERT_TRUE(b.board.channel.ChannelInit(dir.path()).ok());
  // Load address 0x0123 into cartridge 1, then write three bytes upwards.
  b.Store(kSelect, 0xA0 | 9);
  b.Store(kData, 0x01);
  b.Store(kData, 0x23);
  EXPECT_EQ(b.ReadWord(kData), 0x23) << "the word last written";
  EXPECT_EQ(b.ReadWord(kData), 0177777);
  b.Store(kSelect, 0xC0 | 9);
  for (uint16_t data : {0xFF11, 0xFF22, 0xFF33}) b.Store(kData, data);
  b.Store(kReg1, 0x44);  // register 1 sends nothing under codes 8 and 9
  std::vector<uint8_t> expected = PatternBytes(1024);
  expected[0x123] = 0x11;
  expected[0x124] = 0x22;
  expected[0x125] = 0x33;
  EXPECT_EQ(dir.Read("smp1.bin"), expected);
  EXPECT_EQ(dir.Read("smp0.bin"), std::vector<uint8_t>()) << "no file made for cartridge 0";

  // While idle a register 0 write reaches no cartridge.
  b.ReadWord(kEnd);
  b.Store(kData, 0x55);
  EXPECT_EQ(dir.Read("smp1.bin"), expected);

  // Re-selecting with code 1 clears the command: the probe answers 0, no byte moves.
  b.Store(kSelect, 1);
  EXPECT_EQ(b.board.cartridges.cartridge(1).command, 0);
  EXPECT_EQ(b.ReadWord(kData), 0);
  EXPECT_EQ(b.ReadWord(kData), 0);
  EXPECT_EQ(b.board.cartridges.cartridge(1).address, 0x126u);

  EXPECT_TRUE(b.board.channel.ChannelClose().ok());
  EXPECT_FALSE(b.board.cartridges.present(1));
}

TEST(Channel, SelectingACartridgeKeepsOnlyAReadCommand) {
  TempDir dir;
  dir.Write("smp0.bin", std::vector<uint8_t>{0x10, 0x20, 0x30, 0x40, 0x50});
  Bench b;
  ASSERT_TRUE(b.board.channel.ChannelInit(dir.path()).ok());
  b.Store(kSelect, 0xA0 | 8);  // load address 0x0001
  b.Store(kData, 0x00);
  b.Store(kData, 0x01);
  struct Case {
    uint16_t select;
    std::vector<uint16_t> reads;
  } cases[] = {
      // Read upwards from 1: the selection answers 0, then each read brings the next byte.
      {0xD0, {0, 0x20, 0x30, 0x40}},
      // Read downwards from where the upward reads stopped: address 5, past the end.
      {0x10, {0, 0377, 0x50}},
      // A plain selection is the presence probe and moves nothing.
      {0x00, {0, 0, 0}},
      // Any other command in the selecting byte is cleared: no read stores a zero byte
      // or loads an address.
      {0xC0, {0, 0, 0}},
      {0x20, {0, 0, 0}},
      {0xE0, {0, 0, 0}},
      {0xA0, {0, 0, 0}},
      {0xF0, {0, 0, 0}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.select);
    b.Store(kSelect, c.select);
    for (uint16_t expected : c.reads) EXPECT_EQ(b.ReadWord(kData), expected);
  }
  EXPECT_EQ(dir.Read("smp0.bin"), (std::vector<uint8_t>{0x10, 0x20, 0x30, 0x40, 0x50}));
  EXPECT_EQ(b.board.cartridges.cartridge(0).address, 2u);
}

TEST(Channel, InitReportsACartridgeThatCannotBeOpened) {
  TempDir dir;
  std::filesystem::create_directory(dir.path() / "smp0.bin");
  dir.Write("smp1.bin", PatternBytes(8));
  Bench b;
  const IoResult result = b.board.channel.ChannelInit(dir.path());
  EXPECT_FALSE(result.ok());
  EXPECT_NE(result.error.find("smp0.bin"), std::string::npos) << result.error;
  EXPECT_EQ(b.ReadWord(kData), 0177777) << "the channel itself is ready";
}

}  // namespace
}  // namespace orlan
