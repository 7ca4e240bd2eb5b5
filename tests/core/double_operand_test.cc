#include <gtest/gtest.h>

#include "core/machine.h"
#include "tests/core/instruction_runner.h"

namespace orlan::testing {
namespace {

// One double-operand instruction (opcode with both fields 0) on a source and a
// destination value; `result` is the destination afterwards.
struct Case {
  uint16_t op, src, dst, psw_in, result, psw_out;
};

constexpr uint16_t kMovb = 0110000;
constexpr uint16_t N = 010, Z = 04, V = 02, C = 01;

// Runs the case as OP R0,R1 and as OP (R2),(R3). Byte operands carry a high byte in the
// register that must be ignored and kept, and sit at odd addresses in memory.
void Check(const Case& c, bool byte) {
  SCOPED_TRACE(::testing::Message()
               << "op " << std::oct << c.op << " src " << c.src << " dst " << c.dst);
  const uint16_t high = byte ? 0125000 : 0;
  {
    Machine m;
    m.cpu.SetR(0, high | c.src);
    m.cpu.SetR(1, high | c.dst);
    Execute(m, {static_cast<uint16_t>(c.op | 0001)}, kOtherPsw | c.psw_in);
    uint16_t want = high | c.result;
    if (c.op == kMovb) want = static_cast<uint16_t>(static_cast<int8_t>(c.result));
    EXPECT_EQ(m.cpu.R(1), want) << "register form";
    EXPECT_EQ(m.cpu.R(0), high | c.src);
    EXPECT_EQ(m.cpu.psw, kOtherPsw | c.psw_out) << "register form";
  }
  {
    Machine m;
    Deposit(m, kData, {0125252, 0125252});
    const uint16_t s = byte ? kData + 1 : kData;
    const uint16_t d = byte ? kData + 3 : kData + 2;
    if (byte) {
      m.PokeByte(s, static_cast<uint8_t>(c.src));
      m.PokeByte(d, static_cast<uint8_t>(c.dst));
    } else {
      Deposit(m, s, {c.src});
      Deposit(m, d, {c.dst});
    }
    m.cpu.SetR(2, s);
    m.cpu.SetR(3, d);
    Execute(m, {static_cast<uint16_t>(c.op | 01213)}, kOtherPsw | c.psw_in);
    if (byte) {
      EXPECT_EQ(ByteAt(m, d), c.result) << "memory form";
      EXPECT_EQ(ByteAt(m, d - 1), 0252) << "neighbouring byte";
      EXPECT_EQ(ByteAt(m, s), c.src);
    } else {
      EXPECT_EQ(WordAt(m, d), c.result) << "memory form";
      EXPECT_EQ(WordAt(m, s), c.src);
    }
    EXPECT_EQ(m.cpu.psw, kOtherPsw | c.psw_out) << "memory form";
  }
}

TEST(DoubleOperand, WordForms) {
  const Case cases[] = {
      // MOV: V cleared, C kept.
      {0010000, 0, 0123, V | C, 0, Z | C},
      {0010000, 0100000, 0, 0, 0100000, N},
      // CMP computes src - dst and stores nothing.
      {0020000, 0100000, 1, C | N, 1, V},
      {0020000, 1, 2, 0, 2, N | C},
      {0020000, 0177777, 0177777, N | V | C, 0177777, Z},
      {0020000, 0, 0100000, 0, 0100000, N | V | C},
      // BIT, BIC, BIS: V cleared, C kept.
      {0030000, 0100001, 0100000, V | C, 0100000, N | C},
      {0030000, 0125252, 0052525, V, 0052525, Z},
      {0040000, 0177400, 0123456, C | V, 0000056, C},
      {0040000, 0177777, 0123456, N, 0, Z},
      {0050000, 0100000, 1, V, 0100001, N},
      {0050000, 0, 0, C, 0, Z | C},
      // ADD: carry and overflow.
      {0060000, 1, 077777, C, 0100000, N | V},
      {0060000, 1, 0177777, 0, 0, Z | C},
      {0060000, 0100000, 0100000, 0, 0, Z | V | C},
      {0060000, 0177777, 0177777, 0, 0177776, N | C},
      {0060000, 2, 3, N | Z | V | C, 5, 0},
      // SUB computes dst - src.
      {0160000, 1, 0, 0, 0177777, N | C},
      {0160000, 1, 0100000, 0, 077777, V},
      {0160000, 0177777, 077777, 0, 0100000, N | V | C},
      {0160000, 3, 5, N | Z | V | C, 2, 0},
      {0160000, 0123, 0123, 0, 0, Z},
  };
  for (const Case& c : cases) Check(c, false);
}

TEST(DoubleOperand, ByteForms) {
  const Case cases[] = {
      // MOVB: a register receives the byte sign-extended.
      {kMovb, 0200, 0, V | C, 0200, N | C},
      {kMovb, 0177, 0377, N, 0177, 0},
      {kMovb, 0, 0377, 0, 0, Z},
      // CMPB: flags from bits 7 and 6 of the borrow vector.
      {0120000, 0200, 1, 0, 1, V},
      {0120000, 0, 1, 0, 1, N | C},
      {0120000, 0377, 0377, N | C, 0377, Z},
      {0120000, 1, 0200, 0, 0200, N | V | C},
      {0130000, 0200, 0377, V | C, 0377, N | C},
      {0130000, 0125, 0252, 0, 0252, Z},
      {0140000, 017, 0377, V, 0360, N},
      {0140000, 0377, 0125, C, 0, Z | C},
      {0150000, 0200, 0, 0, 0200, N},
      {0150000, 0, 0, V, 0, Z},
      {0150000, 0101, 0030, 0, 0131, 0},
  };
  for (const Case& c : cases) Check(c, true);
}

}  // namespace
}  // namespace orlan::testing
