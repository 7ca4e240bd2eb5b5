#include "core/decoder.h"

#include <gtest/gtest.h>

#include <array>

#include "core/instructions.h"
#include "test_machine.h"

namespace orlan {
namespace {

struct Range {
  uint16_t first;
  uint16_t last;
  Handler handler;
  const char* name;
};

// The instruction set as ranges of words, listed from the machine's opcode charts;
// every word in no range is reserved.
constexpr Range kInstructionRanges[] = {
    {0000000, 0000000, &OpHalt, "HALT"},    {0000001, 0000001, &OpWait, "WAIT"},
    {0000002, 0000002, &OpRti, "RTI"},      {0000003, 0000003, &OpBpt, "BPT"},
    {0000004, 0000004, &OpIot, "IOT"},      {0000005, 0000005, &OpReset, "RESET"},
    {0000006, 0000006, &OpRtt, "RTT"},      {0000010, 0000013, &OpGo, "GO"},
    {0000014, 0000017, &OpGo, "STEP"},      {0000020, 0000020, &OpRsel, "RSEL"},
    {0000021, 0000021, &OpMfus, "MFUS"},    {0000022, 0000023, &OpRcpc, "RCPC"},
    {0000024, 0000027, &OpRcps, "RCPS"},    {0000030, 0000030, &OpRsel, "RSEL"},
    {0000031, 0000031, &OpMtus, "MTUS"},    {0000032, 0000033, &OpWcpc, "WCPC"},
    {0000034, 0000037, &OpWcps, "WCPS"},    {0000100, 0000177, &OpJmp, "JMP"},
    {0000200, 0000207, &OpRts, "RTS"},      {0000240, 0000257, &OpClearCc, "clear cc"},
    {0000260, 0000277, &OpSetCc, "set cc"}, {0000300, 0000377, &OpSwab, "SWAB"},
    {0000400, 0000777, &OpBr, "BR"},        {0001000, 0001377, &OpBne, "BNE"},
    {0001400, 0001777, &OpBeq, "BEQ"},      {0002000, 0002377, &OpBge, "BGE"},
    {0002400, 0002777, &OpBlt, "BLT"},      {0003000, 0003377, &OpBgt, "BGT"},
    {0003400, 0003777, &OpBle, "BLE"},      {0004000, 0004777, &OpJsr, "JSR"},
    {0005000, 0005077, &OpClr, "CLR"},      {0005100, 0005177, &OpCom, "COM"},
    {0005200, 0005277, &OpInc, "INC"},      {0005300, 0005377, &OpDec, "DEC"},
    {0005400, 0005477, &OpNeg, "NEG"},      {0005500, 0005577, &OpAdc, "ADC"},
    {0005600, 0005677, &OpSbc, "SBC"},      {0005700, 0005777, &OpTst, "TST"},
    {0006000, 0006077, &OpRor, "ROR"},      {0006100, 0006177, &OpRol, "ROL"},
    {0006200, 0006277, &OpAsr, "ASR"},      {0006300, 0006377, &OpAsl, "ASL"},
    {0006400, 0006477, &OpMark, "MARK"},    {0006700, 0006777, &OpSxt, "SXT"},
    {0010000, 0017777, &OpMov, "MOV"},      {0020000, 0027777, &OpCmp, "CMP"},
    {0030000, 0037777, &OpBit, "BIT"},      {0040000, 0047777, &OpBic, "BIC"},
    {0050000, 0057777, &OpBis, "BIS"},      {0060000, 0067777, &OpAdd, "ADD"},
    {0070000, 0070777, &OpMul, "MUL"},      {0071000, 0071777, &OpDiv, "DIV"},
    {0072000, 0072777, &OpAsh, "ASH"},      {0073000, 0073777, &OpAshc, "ASHC"},
    {0074000, 0074777, &OpXor, "XOR"},      {0075000, 0075377, &OpFloatingPoint, "floating point"},
    {0077000, 0077777, &OpSob, "SOB"},      {0100000, 0100377, &OpBpl, "BPL"},
    {0100400, 0100777, &OpBmi, "BMI"},      {0101000, 0101377, &OpBhi, "BHI"},
    {0101400, 0101777, &OpBlos, "BLOS"},    {0102000, 0102377, &OpBvc, "BVC"},
    {0102400, 0102777, &OpBvs, "BVS"},      {0103000, 0103377, &OpBcc, "BCC"},
    {0103400, 0103777, &OpBcs, "BCS"},      {0104000, 0104377, &OpEmt, "EMT"},
    {0104400, 0104777, &OpTrap, "TRAP"},    {0105000, 0105077, &OpClrb, "CLRB"},
    {0105100, 0105177, &OpComb, "COMB"},    {0105200, 0105277, &OpIncb, "INCB"},
    {0105300, 0105377, &OpDecb, "DECB"},    {0105400, 0105477, &OpNegb, "NEGB"},
    {0105500, 0105577, &OpAdcb, "ADCB"},    {0105600, 0105677, &OpSbcb, "SBCB"},
    {0105700, 0105777, &OpTstb, "TSTB"},    {0106000, 0106077, &OpRorb, "RORB"},
    {0106100, 0106177, &OpRolb, "ROLB"},    {0106200, 0106277, &OpAsrb, "ASRB"},
    {0106300, 0106377, &OpAslb, "ASLB"},    {0106400, 0106477, &OpMtps, "MTPS"},
    {0106700, 0106777, &OpMfps, "MFPS"},    {0110000, 0117777, &OpMovb, "MOVB"},
    {0120000, 0127777, &OpCmpb, "CMPB"},    {0130000, 0137777, &OpBitb, "BITB"},
    {0140000, 0147777, &OpBicb, "BICB"},    {0150000, 0157777, &OpBisb, "BISB"},
    {0160000, 0167777, &OpSub, "SUB"},
};

TEST(Decoder, EveryWordReachesItsHandler) {
  std::array<const Range*, 0200000> expected{};
  for (const Range& r : kInstructionRanges) {
    for (uint32_t w = r.first; w <= r.last; ++w) {
      ASSERT_EQ(expected[w], nullptr) << "ranges overlap at " << std::oct << w;
      expected[w] = &r;
    }
  }
  int reserved = 0;
  for (uint32_t w = 0; w < expected.size(); ++w) {
    const Handler want = expected[w] ? expected[w]->handler : &OpReserved;
    if (!expected[w]) ++reserved;
    ASSERT_EQ(HandlerFor(static_cast<uint16_t>(w)), want)
        << std::oct << w << " should be " << (expected[w] ? expected[w]->name : "reserved");
  }
  // 000007, 000040-000077 and 000210-000237 in page zero, MFPI/MTPI/MFPD/MTPD 4 x 100, 007xxx and
  // 107xxx, 075400-076777 and 170000-177777.
  EXPECT_EQ(reserved, 1 + 040 + 030 + 4 * 0100 + 2 * 01000 + 01400 + 010000);
}

// Reserved words, the register forms of JMP and JSR, and the halt-mode instructions
// outside halt mode trap and change nothing but the stack and PC/PSW.
TEST(Decoder, RejectedWordsTrapAndChangeNothingElse) {
  struct Case {
    uint16_t first;
    uint16_t last;
    uint16_t vector;
  } cases[] = {
      {0000007, 0000007, kVectorReserved}, {0000010, 0000037, kVectorReserved},
      {0000040, 0000077, kVectorReserved}, {0000210, 0000237, kVectorReserved},
      {0006500, 0006677, kVectorReserved}, {0007000, 0007777, kVectorReserved},
      {0075040, 0076777, kVectorReserved}, {0106500, 0106677, kVectorReserved},
      {0107000, 0107777, kVectorReserved}, {0170000, 0177777, kVectorReserved},
      {0000100, 0000107, kVectorBusError},
  };
  // 004R00-004R07 for every R: JSR with a register destination.
  std::vector<Case> all(std::begin(cases), std::end(cases));
  for (uint16_t r = 0; r < 8; ++r) {
    const uint16_t base = static_cast<uint16_t>(0004000 | (r << 6));
    all.push_back({base, static_cast<uint16_t>(base + 7), kVectorBusError});
  }
  for (const Case& c : all) {
    for (uint32_t w = c.first; w <= c.last; ++w) {
      SCOPED_TRACE(::testing::Message() << "word " << std::oct << w);
      Machine m;
      testing::Prepare(m);
      testing::Deposit(m, testing::kProgram, {static_cast<uint16_t>(w)});
      m.cpu.set_pc(testing::kProgram);
      m.cpu.psw = 0357;  // condition codes and priority set, T and halt clear
      const testing::Snapshot before(m);
      m.CpuStep();
      testing::ExpectTrapEntry(m, before, c.vector, testing::kProgram + 2, 0357);
    }
  }
}

}  // namespace
}  // namespace orlan
