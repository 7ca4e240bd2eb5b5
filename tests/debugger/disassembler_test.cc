#include "debugger/disassembler.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/stub_device.h"
#include "debugger/disassembly_line.h"
#include "debugger/mnemonic_table.h"
#include "tests/core/test_machine.h"

namespace orlan {
namespace {

using testing::Deposit;

TEST(Disassembler, KnownLines) {
  struct Case {
    std::initializer_list<uint16_t> words;
    uint16_t address;
    int radix;
    const char* address_text;
    const char* mnemonic;
    const char* operands;
    uint16_t next;
  } cases[] = {
      {{012700, 000005}, 001000, 8, "001000:", "mov", "#5,r0", 001004},
      {{012700, 000005}, 0x0200, 16, "0200:", "mov", "#5,r0", 001004},
      {{016761, 000100, 000200}, 001000, 8, "001000:", "mov", "001104,000200(r1)", 001006},
      {{013737, 0177566, 001234}, 001000, 8, "001000:", "mov", "@#177566,@#1234", 001006},
      {{000776}, 001000, 8, "001000:", "br", "000776", 001002},
      {{000777}, 001000, 8, "001000:", "br", "001000", 001002},
      {{077203}, 001000, 8, "001000:", "sob", "r2,000774", 001002},
      {{0105067, 000010}, 001000, 8, "001000:", "clrb", "001014", 001004},
      {{004767, 000020}, 001000, 8, "001000:", "jsr", "pc,001024", 001004},
      {{000257}, 001000, 8, "001000:", "clear", "cvzn", 001002},
      {{000260}, 001000, 8, "001000:", "set", "", 001002},
      {{0104777}, 0x0200, 16, "0200:", "trap", "FF", 001002},
      {{006403}, 001000, 8, "001000:", "mark", "3", 001002},
      {{000234}, 001000, 8, "001000:", "spl", "4", 001002},
      {{0170000}, 001000, 8, "001000:", "illop", "", 001002},
      {{075011}, 001000, 8, "001000:", "fsub", "r1", 001002},
      {{070327, 000012}, 001000, 8, "001000:", "mul", "#12,r3", 001004},
      {{000207}, 001000, 8, "001000:", "rts", "pc", 001002},
      {{005077, 0177774}, 001000, 8, "001000:", "clr", "@001000", 001004},
      {{005035}, 001000, 8, "001000:", "clr", "@(r5)+", 001002},
      {{005046}, 001000, 8, "001000:", "clr", "-(sp)", 001002},
      {{000012}, 001000, 8, "001000:", "go", "", 001002},
      {{000030}, 001000, 8, "001000:", "rsel", "", 001002},
      // Mode 1 has no deferred form of its own: the "@" never shows.
      {{011500}, 001000, 8, "001000:", "mov", "(r5),r0", 001002},
      {{017746, 000200}, 001000, 8, "001000:", "mov", "@001204,-(sp)", 001004},
      {{016767, 000100, 000200}, 001000, 8, "001000:", "mov", "001104,001206", 001006},
      {{0100377}, 0x0200, 16, "0200:", "bpl", "0200", 0x0202},
  };
  for (const Case& c : cases) {
    Machine m;
    Deposit(m, c.address, c.words);
    const NumberFormat f = NumberFormat::ForRadix(c.radix);
    Disassembler d(m, f);
    d.set_address(c.address);
    const DisassembledLine line = d.Next();
    SCOPED_TRACE(std::string(c.mnemonic) + " " + c.operands);
    EXPECT_EQ(AddressText(line.address, f), c.address_text);
    EXPECT_EQ(TrimTrailingBlanks(line.mnemonic), c.mnemonic);
    EXPECT_EQ(line.operands, c.operands);
    EXPECT_EQ(d.address(), c.next);
    EXPECT_EQ(line.word_count, static_cast<int>(c.words.size()));
  }
}

TEST(Disassembler, ByteFormMarkerInMnemonicColumn) {
  struct Case {
    uint16_t word;
    const char* text;
  } cases[] = {{010102, "mov "}, {0110102, "movb"}, {005001, "clr "}, {0105001, "clrb"},
               {060102, "add"},  {0160102, "sub"},  {000257, "clear"}};
  for (const Case& c : cases) EXPECT_EQ(MnemonicText(FindMnemonic(c.word), c.word), c.text);
  // A row that is not in the table reads as illop rather than past the table.
  EXPECT_EQ(MnemonicText(-1, 010102), "illop");
  Machine m;
  const NumberFormat f;
  Disassembler d(m, f);
  EXPECT_EQ(d.OperandsText(kMnemonicCount, 012700), "");
  EXPECT_EQ(d.address(), 0);
}

TEST(Disassembler, BranchTargetWrapsPastTheTop) {
  // Nothing can be stored at 177776 (the bus reads a constant there), so the word is
  // handed to the operand text after the fetch has wrapped the address to 0.
  Machine m;
  const NumberFormat f = NumberFormat::ForRadix(8);
  Disassembler d(m, f);
  d.set_address(0177776);
  EXPECT_EQ(d.FetchWord(), 0177777);
  EXPECT_EQ(d.address(), 0);
  EXPECT_EQ(d.OperandsText(FindMnemonic(001401), 001401), "000002");
}

TEST(Disassembler, ReadsThroughTheBusAndLeavesTheProcessorAlone) {
  Machine m;
  auto& lcd = static_cast<StubDevice&>(m.device(DeviceWindow::kLcd));
  lcd.set_reg(1, 012700);  // the read handler latches the register's value
  m.rom()[0164002 - kRomBase] = 0;
  m.cpu.ea = 01234;
  const NumberFormat f = NumberFormat::ForRadix(8);
  Disassembler d(m, f);
  d.set_address(0164002);
  EXPECT_EQ(d.Next().mnemonic, "mov ");
  EXPECT_EQ(m.cpu.ea, 01234);
}

TEST(Disassembler, StoreWordReachesRamRomAndLatchesOnly) {
  struct Case {
    uint16_t ram_size;
    uint16_t address;
    bool stored;
  } cases[] = {{040000, 001000, true},   {040000, 037776, true},  {040000, 040000, true},
               {0100000, 040000, true},  {040000, 0100000, true}, {040000, 0177376, true},
               {040000, 0177400, false}, {040000, 0177776, false}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.address);
    Machine m;
    m.SetRamSize(c.ram_size);
    const NumberFormat f;
    Disassembler d(m, f);
    d.set_address(c.address);
    EXPECT_EQ(d.StoreWord(0123456), c.stored);
    EXPECT_EQ(d.address(), static_cast<uint16_t>(c.address + 2));
    EXPECT_EQ(m.PeekWord(c.address), c.stored ? 0123456 : 0177777);
    if (c.address >= kRomBase && c.address > m.ram_top() && c.stored) {
      EXPECT_EQ(LoadWord(&m.rom()[c.address - kRomBase]), 0123456) << "ROM patched";
    }
  }
  // A device window gets the word in its latch only: no register changes, no commit.
  Machine m;
  auto& lcd = static_cast<StubDevice&>(m.device(DeviceWindow::kLcd));
  const NumberFormat f;
  Disassembler d(m, f);
  d.set_address(0164002);
  EXPECT_TRUE(d.StoreWord(0777));
  EXPECT_EQ(lcd.reg(1), 0);
  EXPECT_EQ(m.cpu.pending_write, nullptr);
  m.CpuStep();
  EXPECT_EQ(lcd.reg(1), 0);
}

TEST(DisassemblyLine, ColumnsFollowTheWordWidth) {
  struct Case {
    int radix;
    std::initializer_list<uint16_t> words;
    const char* text;
  } cases[] = {
      {8, {012700, 5}, "001000: mov   #5,r0"}, {16, {012700, 5}, "0200: mov   #5,r0"},
      {10, {0110102}, "00512: movb  r1,r2"},   {8, {000000}, "001000: halt"},
      {8, {000257}, "001000: clear cvzn"},
  };
  for (const Case& c : cases) {
    Machine m;
    Deposit(m, 001000, c.words);
    const NumberFormat f = NumberFormat::ForRadix(c.radix);
    Disassembler d(m, f);
    d.set_address(001000);
    const std::string text = LineText(d.Next(), f);
    EXPECT_EQ(TrimTrailingBlanks(text), c.text);
    EXPECT_GE(text.size(), static_cast<std::size_t>(OperandColumn(f)));
  }
  EXPECT_EQ(TrimTrailingBlanks("   "), "");
  EXPECT_EQ(TrimTrailingBlanks(" a b  "), " a b");
}

}  // namespace
}  // namespace orlan
