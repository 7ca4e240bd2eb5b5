#include <gtest/gtest.h>

#include "core/machine.h"
#include "tests/core/instruction_runner.h"

namespace orlan::testing {
namespace {

constexpr uint16_t N = 010, Z = 04, V = 02, C = 01;

// An instruction on the pair R2:R3 (or on R3 alone for an odd register) with the
// source in R0. All four condition codes start set: these instructions define them all.
struct Case {
  uint16_t op, r2, r3, src, want_r2, want_r3, psw_out;
};

void Check(const Case* begin, const Case* end) {
  for (const Case* c = begin; c != end; ++c) {
    SCOPED_TRACE(::testing::Message() << "case " << (c - begin) << ": op " << std::oct << c->op
                                      << " " << c->r2 << ":" << c->r3 << " src " << c->src);
    Machine m;
    m.cpu.SetR(0, c->src);
    m.cpu.SetR(2, c->r2);
    m.cpu.SetR(3, c->r3);
    Execute(m, {c->op}, kOtherPsw | N | Z | V | C);
    EXPECT_EQ(m.cpu.R(2), c->want_r2);
    EXPECT_EQ(m.cpu.R(3), c->want_r3);
    EXPECT_EQ(m.cpu.R(0), c->src);
    EXPECT_EQ(m.cpu.psw, kOtherPsw | c->psw_out);
  }
}

constexpr uint16_t kMul = 070200, kMulOdd = 070300;  // MUL R0,R2 / MUL R0,R3
constexpr uint16_t kDiv = 071200, kDivOdd = 071300;
constexpr uint16_t kAsh = 072200;
constexpr uint16_t kAshc = 073200, kAshcOdd = 073300;

TEST(RegisterOperand, Multiply) {
  const Case cases[] = {
      {kMul, 040000, 0, 2, 0, 0100000, C},
      {kMul, 0177777, 0, 0177777, 0, 1, 0},
      {kMul, 0, 7, 5, 0, 0, Z},
      {kMul, 0177776, 0, 3, 0177777, 0177772, N},
      {kMul, 0100000, 0, 0100000, 040000, 0, C},
      {kMul, 0100000, 0, 1, 0177777, 0100000, N},
      {kMul, 0377, 0, 0200, 0, 077600, 0},
      {kMulOdd, 0123, 040000, 2, 0123, 0100000, C},  // R3 keeps only the low word
  };
  Check(std::begin(cases), std::end(cases));
}

TEST(RegisterOperand, Divide) {
  const Case cases[] = {
      {kDiv, 0, 7, 2, 3, 1, 0},
      {kDiv, 0177777, 0177771, 2, 0177775, 0177777, N},  // -7 / 2: -3 remainder -1
      {kDiv, 0, 7, 0177776, 0177775, 1, N},              // 7 / -2: -3 remainder 1
      {kDiv, 0123, 0456, 0, 0123, 0456, V | C},          // by zero: registers kept
      {kDiv, 1, 0, 1, 0, 0, V},                          // 65536: overflow, registers written
      {kDiv, 1, 0, 2, 0100000, 0, V},                    // 32768 is out of range
      {kDiv, 0177777, 0, 2, 0100000, 0, N},              // -32768 is not
      {kDiv, 0, 0100000, 0177777, 0100000, 0, N},
      {kDiv, 0, 0, 5, 0, 0, Z},
      // -2147483648 / -1: overflow without a host fault; N and Z from the true
      // quotient 2147483648, its low word 0 in R2 and the remainder 0 in R3.
      {kDiv, 0100000, 0, 0177777, 0, 0, V},
      {kDivOdd, 0123, 1, 4, 0123, 040000, 0},  // 1:1 / 4: R3 ends with the quotient
  };
  Check(std::begin(cases), std::end(cases));
}

TEST(RegisterOperand, ArithmeticShift) {
  const Case cases[] = {
      {kAsh, 0100001, 7, 077, 0140000, 7, N | C},  // 63: right by one
      {kAsh, 1, 7, 020, 0, 7, Z | V | C},          // 16: C from bit 0
      {kAsh, 2, 7, 020, 0, 7, Z | V},
      {kAsh, 1, 7, 021, 0, 7, Z | V},
      {kAsh, 0, 7, 025, 0, 7, Z},
      {kAsh, 1, 7, 0, 1, 7, 0},
      {kAsh, 1, 7, 0177701, 2, 7, 0},  // only the low six bits count
      {kAsh, 040000, 7, 1, 0100000, 7, N | V},
      {kAsh, 0100000, 7, 1, 0, 7, Z | V | C},
      {kAsh, 3, 7, 017, 0100000, 7, N | V | C},
      {kAsh, 0177777, 7, 017, 0100000, 7, N | C},  // the sign never changed
      {kAsh, 0177777, 7, 077, 0177777, 7, N | C},
      {kAsh, 0100000, 7, 040, 0177777, 7, N | C},  // right by 32, limited to 16
      {kAsh, 070000, 7, 060, 0, 7, Z},
      {kAsh, 040000, 7, 040, 0, 7, Z},
      {kAsh, 040000, 7, 061, 0, 7, Z | C},  // right by 15
  };
  Check(std::begin(cases), std::end(cases));
}

TEST(RegisterOperand, ArithmeticShiftCombined) {
  const Case cases[] = {
      {kAshc, 0, 1, 1, 0, 2, 0},
      {kAshc, 0, 0100000, 1, 1, 0, 0},
      {kAshc, 040000, 0, 1, 0100000, 0, N | V},
      {kAshc, 0100000, 0, 1, 0, 0, Z | V | C},
      {kAshc, 0, 1, 037, 0100000, 0, N | V},
      {kAshc, 0, 3, 037, 0100000, 0, N | V | C},
      {kAshc, 0, 1, 077, 0, 0, Z | C},
      {kAshc, 0100000, 0, 077, 0140000, 0, N},
      {kAshc, 077777, 0177777, 040, 0, 0, Z},  // right by 32
      {kAshc, 0100000, 1, 040, 0177777, 0177777, N | C},
      {kAshc, 1, 0, 060, 0, 1, 0},
      {kAshc, 0, 0140000, 061, 0, 1, C},
      {kAshc, 0, 0, 0, 0, 0, Z},
      {kAshcOdd, 0123, 0100000, 1, 0123, 0, V | C},  // R3 ends with the low word
  };
  Check(std::begin(cases), std::end(cases));
}

TEST(RegisterOperand, ExclusiveOr) {
  const struct {
    uint16_t r2, dst, psw_in, result, psw_out;
  } cases[] = {
      {0125252, 0177777, V | C, 052525, C},
      {0100000, 0, 0, 0100000, N},
      {0123, 0123, N, 0, Z},
  };
  for (const auto& c : cases) {
    Machine m;
    m.cpu.SetR(2, c.r2);
    m.cpu.SetR(1, c.dst);
    Execute(m, {074201}, kOtherPsw | c.psw_in);  // XOR R2,R1
    EXPECT_EQ(m.cpu.R(1), c.result);
    EXPECT_EQ(m.cpu.R(2), c.r2);
    EXPECT_EQ(m.cpu.psw, kOtherPsw | c.psw_out);
  }
}

// When the other operand's mode changes the register, the order of the reads shows:
// MUL, DIV and XOR locate the operand first, ASH and ASHC read the register first.
TEST(RegisterOperand, RegisterAndOperandOrder) {
  const struct {
    const char* what;
    uint16_t op, r2, r3, memory;
    uint16_t want_r2, want_r3, want_memory;
  } cases[] = {
      {"MUL (R2)+,R2", 070222, kData, 0, 3, 0, 06006, 3},
      {"DIV (R3)+,R2", 071223, 0, kData, 2, 01001, 0, 2},
      {"ASH (R2)+,R2", 072222, kData, 0, 1, 04000, 0, 1},
      {"ASHC (R3)+,R2", 073223, 0, kData, 1, 0, 04000, 1},
      {"XOR R2,(R2)+", 074222, kData, 0, 0177777, kData + 2, 0, 0177777 ^ (kData + 2)},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    Machine m;
    Deposit(m, kData, {c.memory});
    m.cpu.SetR(2, c.r2);
    m.cpu.SetR(3, c.r3);
    Execute(m, {c.op}, 0);
    EXPECT_EQ(m.cpu.R(2), c.want_r2);
    EXPECT_EQ(m.cpu.R(3), c.want_r3);
    EXPECT_EQ(WordAt(m, kData), c.want_memory);
  }
}

}  // namespace
}  // namespace orlan::testing
