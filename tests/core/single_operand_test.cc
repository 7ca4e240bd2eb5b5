#include <gtest/gtest.h>

#include "core/machine.h"
#include "tests/core/instruction_runner.h"

namespace orlan::testing {
namespace {

// One single-operand instruction (opcode with field 0) on one operand value.
struct Case {
  uint16_t op, in, psw_in, out, psw_out;
};

constexpr uint16_t N = 010, Z = 04, V = 02, C = 01;

// Runs the case as OP R1 and as OP (R3). A byte operand's register keeps its high byte;
// in memory it sits at an odd address next to a byte that must not change.
void Check(const Case& c, bool byte) {
  SCOPED_TRACE(::testing::Message()
               << "op " << std::oct << c.op << " in " << c.in << " psw " << c.psw_in);
  const uint16_t high = byte ? 0125000 : 0;
  {
    Machine m;
    m.cpu.SetR(1, high | c.in);
    Execute(m, {static_cast<uint16_t>(c.op | 01)}, kOtherPsw | c.psw_in);
    EXPECT_EQ(m.cpu.R(1), high | c.out) << "register form";
    EXPECT_EQ(m.cpu.psw, kOtherPsw | c.psw_out) << "register form";
  }
  {
    Machine m;
    Deposit(m, kData, {0125252, 0125252});
    const uint16_t a = byte ? kData + 3 : kData + 2;
    if (byte) {
      m.PokeByte(a, static_cast<uint8_t>(c.in));
    } else {
      Deposit(m, a, {c.in});
    }
    m.cpu.SetR(3, a);
    Execute(m, {static_cast<uint16_t>(c.op | 013)}, kOtherPsw | c.psw_in);
    EXPECT_EQ(byte ? ByteAt(m, a) : WordAt(m, a), c.out) << "memory form";
    EXPECT_EQ(WordAt(m, kData), 0125252);
    if (byte) {
      EXPECT_EQ(ByteAt(m, a - 1), 0252);
    }
    EXPECT_EQ(m.cpu.psw, kOtherPsw | c.psw_out) << "memory form";
  }
}

TEST(SingleOperand, WordForms) {
  const Case cases[] = {
      {0005000, 0123, N | V | C, 0, Z},                // CLR
      {0005100, 0, V, 0177777, N | C},                 // COM
      {0005100, 0177777, 0, 0, Z | C},                 //
      {0005200, 077777, C, 0100000, N | V | C},        // INC keeps C
      {0005200, 0177777, 0, 0, Z},                     //
      {0005300, 0100000, 0, 077777, V},                // DEC
      {0005300, 1, C, 0, Z | C},                       //
      {0005400, 0100000, 0, 0100000, N | V | C},       // NEG
      {0005400, 0, C, 0, Z},                           //
      {0005400, 1, 0, 0177777, N | C},                 //
      {0005500, 0177777, C, 0, Z | C},                 // ADC
      {0005500, 077777, C, 0100000, N | V},            //
      {0005500, 077777, V, 077777, 0},                 // C clear: unchanged, V cleared
      {0005600, 0, C, 0177777, N | C},                 // SBC
      {0005600, 0100000, C, 077777, V},                //
      {0005600, 0100000, V, 0100000, N},               // C clear: unchanged, V cleared
      {0005700, 0100000, V | C, 0100000, N},           // TST
      {0005700, 0, N, 0, Z},                           //
      {0006000, 1, C, 0100000, N | C},                 // ROR
      {0006000, 2, 0, 1, 0},                           //
      {0006100, 0100000, 0, 0, Z | V | C},             // ROL
      {0006100, 040000, C, 0100001, N | V},            //
      {0006200, 0100001, 0, 0140000, N | C},           // ASR
      {0006200, 1, 0, 0, Z | V | C},                   //
      {0006300, 040000, 0, 0100000, N | V},            // ASL
      {0006300, 0100000, 0, 0, Z | V | C},             //
      {0000300, 0377, V | C, 0177400, Z},              // SWAB: flags from the low byte
      {0000300, 0100000, 0, 0200, N},                  //
      {0000300, 0001001, Z, 0000402, 0},               //
      {0006700, 0123, N | Z | V | C, 0177777, N | C},  // SXT keeps N and C
      {0006700, 0123, C | V, 0, Z | C},                //
  };
  for (const Case& c : cases) Check(c, false);
}

TEST(SingleOperand, ByteForms) {
  const Case cases[] = {
      {0105000, 0377, N | V | C, 0, Z},     // CLRB
      {0105100, 0, 0, 0377, N | C},         // COMB
      {0105200, 0177, C, 0200, N | V | C},  // INCB
      {0105200, 0377, 0, 0, Z},             //
      {0105300, 0200, 0, 0177, V},          // DECB
      {0105400, 0200, 0, 0200, N | V | C},  // NEGB
      {0105400, 0, 0, 0, Z},                //
      {0105500, 0377, C, 0, Z | C},         // ADCB
      {0105500, 0177, C, 0200, N | V},      //
      {0105600, 0, C, 0377, N | C},         // SBCB
      {0105600, 0200, C, 0177, V},          //
      {0105600, 0200, V, 0200, N},          //
      {0105700, 0200, V | C, 0200, N},      // TSTB
      {0106000, 1, C, 0200, N | C},         // RORB
      {0106100, 0200, 0, 0, Z | V | C},     // ROLB
      {0106100, 0100, C, 0201, N | V},      //
      {0106200, 0201, 0, 0300, N | C},      // ASRB
      {0106300, 0100, 0, 0200, N | V},      // ASLB
  };
  for (const Case& c : cases) Check(c, true);
}

// MTPS loads bits 0-3 and 5-7 from the byte; T and the high byte (with the halt-mode
// bit) stay. With T set the next trap pushes the PSW as MTPS left it.
TEST(SingleOperand, MovesToTheStatus) {
  const struct {
    uint16_t psw_in, source, psw_out;
  } cases[] = {
      {0, 0177777, 0357}, {0400, 0377, 0757}, {0177417, 0, 0177400},
      {0, 0125142, 0142}, {020, 0357, 0377},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(::testing::Message() << std::oct << c.psw_in << " " << c.source);
    Machine m;
    m.cpu.SetR(1, c.source);
    m.cpu.set_sp(0600);
    RunProgram(m, kAt, {0106401}, 1, c.psw_in);  // MTPS R1
    if (c.psw_in & 020) {
      EXPECT_EQ(WordAt(m, 0576), c.psw_out) << "PSW pushed by the trace trap";
    } else {
      EXPECT_EQ(m.cpu.psw, c.psw_out);
      EXPECT_EQ(m.cpu.pc(), kAt + 2);
    }
  }
}

// MFPS: a register receives the status byte sign-extended, memory only the byte.
TEST(SingleOperand, MovesFromTheStatus) {
  const struct {
    uint16_t psw_in, byte, psw_out;
  } cases[] = {
      {0343, 0343, 0351},  // N from the byte, V cleared, C kept
      {0104, 0104, 0100},
      {0400, 0, 0404},
      {0017, 0017, 0001},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(::testing::Message() << std::oct << c.psw_in);
    Machine m;
    m.cpu.SetR(1, 0125252);
    Execute(m, {0106701}, c.psw_in);  // MFPS R1
    EXPECT_EQ(m.cpu.R(1), static_cast<uint16_t>(static_cast<int8_t>(c.byte)));
    EXPECT_EQ(m.cpu.psw, c.psw_out);

    Machine mem;
    Deposit(mem, kData, {0125252});
    mem.cpu.SetR(3, kData + 1);
    Execute(mem, {0106713}, c.psw_in);  // MFPS (R3)
    EXPECT_EQ(WordAt(mem, kData), (c.byte << 8) | 0252);
    EXPECT_EQ(mem.cpu.psw, c.psw_out);
  }
}

}  // namespace
}  // namespace orlan::testing
