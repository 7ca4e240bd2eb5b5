#include "core/addressing.h"

#include <gtest/gtest.h>

#include <utility>
#include <vector>

#include "core/stub_device.h"
#include "test_machine.h"

namespace orlan {
namespace {

using testing::Deposit;

constexpr uint16_t W = kWordMask;
constexpr uint16_t B = kByteMask;

// One operand field evaluated with every register preset; PC is 001002, as after
// fetching an instruction at 001000.
struct ModeCase {
  const char* what;
  unsigned field;
  uint16_t mask;
  uint16_t reg;  // value of the field's register before (ignored for PC)
  std::vector<std::pair<uint16_t, uint16_t>> words;
  uint16_t want_ea;
  uint16_t want_reg;  // the field's register afterwards
  uint16_t want_pc;
};

TEST(Addressing, ModeTable) {
  const ModeCase cases[] = {
      // R0-R5: word addresses forced even, byte steps of 1.
      {"(R0) word, odd", 010, W, 001001, {}, 001000, 001001, 001002},
      {"(R0) byte, odd", 010, B, 001001, {}, 001001, 001001, 001002},
      {"(R0)+ word, odd", 020, W, 001001, {}, 001000, 001003, 001002},
      {"(R0)+ byte, odd", 020, B, 001001, {}, 001001, 001002, 001002},
      {"-(R0) word, odd", 040, W, 001001, {}, 000776, 000777, 001002},
      {"-(R0) byte, odd", 040, B, 001001, {}, 001000, 001000, 001002},
      {"(R4)+ word wraps", 024, W, 0177776, {}, 0177776, 0, 001002},
      {"-(R4) word wraps", 044, W, 0, {}, 0177776, 0177776, 001002},
      {"-(R3) byte wraps", 043, B, 0, {}, 0177777, 0177777, 001002},
      // Pointer modes: the pointer's address is even, the pointer then masked.
      {"@(R1)+ word", 031, W, 000101, {{000100, 002003}}, 002002, 000103, 001002},
      {"@(R1)+ byte", 031, B, 000101, {{000100, 002003}}, 002003, 000103, 001002},
      {"@-(R2) word", 052, W, 000103, {{000100, 002003}}, 002002, 000101, 001002},
      {"@-(R2) byte", 052, B, 000103, {{000100, 002003}}, 002003, 000101, 001002},
      // Index modes: X fetched at PC, PC advanced, then X + Rn.
      {"X(R3) word", 063, W, 000101, {{001002, 000200}}, 000300, 000101, 001004},
      {"X(R3) byte", 063, B, 000101, {{001002, 000200}}, 000301, 000101, 001004},
      {"X(R0) wraps", 060, W, 4, {{001002, 0177776}}, 2, 4, 001004},
      {"@X(R3) word", 073, W, 000101, {{001002, 000200}, {000300, 002005}}, 002004, 000101, 001004},
      {"@X(R3) byte", 073, B, 000101, {{001002, 000200}, {000300, 002005}}, 002005, 000101, 001004},
      // SP: used unchanged, always steps by 2.
      {"(SP) word, odd", 016, W, 001001, {}, 001001, 001001, 001002},
      {"(SP)+ byte", 026, B, 001000, {}, 001000, 001002, 001002},
      {"-(SP) byte", 046, B, 001000, {}, 000776, 000776, 001002},
      {"(SP)+ word, odd", 026, W, 001001, {}, 001001, 001003, 001002},
      {"-(SP) word, odd", 046, W, 001001, {}, 000777, 000777, 001002},
      {"@(SP)+ word, odd pointer address",
       036,
       W,
       001001,
       {{001000, 0xAA00}, {001002, 0x0020}},
       0x20AA,
       001003,
       001002},
      {"@-(SP) byte", 056, B, 001002, {{001000, 002001}}, 002001, 001000, 001002},
      {"X(SP) word", 066, W, 000700, {{001002, 3}}, 000702, 000700, 001004},
      // PC: immediate, absolute, relative and relative deferred.
      {"#n word", 027, W, 0, {{001002, 012345}}, 001002, 001004, 001004},
      {"#n byte still takes a word", 027, B, 0, {{001002, 012345}}, 001002, 001004, 001004},
      {"@#a word", 037, W, 0, {{001002, 002001}}, 002000, 001004, 001004},
      {"@#a byte", 037, B, 0, {{001002, 002001}}, 002001, 001004, 001004},
      {"a (relative)", 067, W, 0, {{001002, 000100}}, 001104, 001004, 001004},
      {"@a (relative deferred)",
       077,
       W,
       0,
       {{001002, 000100}, {001104, 002006}},
       002006,
       001004,
       001004},
      {"(PC)", 017, W, 0, {}, 001002, 001002, 001002},
      {"-(PC) byte steps by 2", 047, B, 0, {}, 001000, 001000, 001000},
  };
  for (const ModeCase& c : cases) {
    SCOPED_TRACE(c.what);
    Machine m;
    const int reg = static_cast<int>(c.field & 7);
    for (int r = 0; r < 7; ++r) m.cpu.SetR(r, static_cast<uint16_t>(0100 + r));
    m.cpu.set_pc(001002);
    if (reg != kPc) m.cpu.SetR(reg, c.reg);
    for (auto [a, w] : c.words) Deposit(m, a, {w});
    m.cpu.mask = c.mask;

    uint8_t* location = OperandForRead(m, c.field);
    EXPECT_EQ(m.cpu.ea, c.want_ea);
    EXPECT_EQ(m.cpu.R(reg), c.want_reg);
    EXPECT_EQ(m.cpu.pc(), c.want_pc);
    for (int r = 0; r < 7; ++r) {
      if (r != reg) {
        EXPECT_EQ(m.cpu.R(r), 0100 + r) << "R" << r << " untouched";
      }
    }
    if (c.want_ea <= m.ram_top()) {
      EXPECT_EQ(location, &m.ram()[c.want_ea]);
    }
  }
}

TEST(Addressing, RegisterModeIsTheCellItself) {
  for (uint16_t mask : {W, B}) {
    for (unsigned field = 0; field < 010; ++field) {
      Machine m;
      m.cpu.SetR(static_cast<int>(field), 0123456);
      m.cpu.ea = 0777;
      m.cpu.mask = mask;
      uint8_t* read = OperandForRead(m, field);
      EXPECT_EQ(read, m.cpu.Cell(static_cast<int>(field)));
      EXPECT_EQ(LoadByte(read), 0123456 & 0377) << "a byte read gives the low byte";
      EXPECT_EQ(LoadWord(read), 0123456);
      EXPECT_EQ(OperandForWrite(m, field), read);
      EXPECT_EQ(m.cpu.ea, 0777) << "nothing else touched";
      ComputeEA(m, field);
      EXPECT_EQ(m.cpu.ea, 0) << "ComputeEA of mode 0 leaves EA 0";
    }
  }
}

TEST(Addressing, ReadModifyWriteEvaluatesTheModeOnce) {
  struct Case {
    unsigned field;
    uint16_t want_r2;
    uint16_t want_pc;
  } cases[] = {{022, 002002, 001002}, {042, 001776, 001002}, {062, 002000, 001004}};
  for (const Case& c : cases) {
    Machine m;
    m.cpu.SetR(2, 002000);
    m.cpu.set_pc(001002);
    Deposit(m, 001002, {0});  // index word of X(R2)
    m.cpu.mask = W;
    uint8_t* read = OperandForRead(m, c.field);
    const uint16_t ea = m.cpu.ea;
    uint8_t* write = RmwWriteLocation(m, c.field, read);
    EXPECT_EQ(write, &m.ram()[ea]) << std::oct << c.field;
    EXPECT_EQ(m.cpu.R(2), c.want_r2) << std::oct << c.field;
    EXPECT_EQ(m.cpu.pc(), c.want_pc) << std::oct << c.field;
  }
  Machine m;
  uint8_t* cell = OperandForRead(m, 3);
  EXPECT_EQ(RmwWriteLocation(m, 3, cell), cell);
}

TEST(Addressing, PointerWordsAreReadThroughDeviceWindows) {
  Machine m;
  auto& lcd = static_cast<StubDevice&>(m.device(DeviceWindow::kLcd));
  lcd.set_reg(1, 002001);
  m.cpu.SetR(1, 0164002);
  m.cpu.mask = W;
  OperandForRead(m, 031);  // @(R1)+
  EXPECT_EQ(m.cpu.ea, 002000);
  EXPECT_EQ(m.cpu.R(1), 0164004);
  // A write-only operand in a window arms the commit but reads nothing.
  m.cpu.SetR(2, 0164000);
  StoreWord(OperandForWrite(m, 012), 0777);
  EXPECT_EQ(m.cpu.pending_write, &lcd);
  EXPECT_EQ(lcd.reg(0), 0);
}

}  // namespace
}  // namespace orlan
