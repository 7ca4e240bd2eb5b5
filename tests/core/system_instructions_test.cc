// Trap instructions, condition-code operators, RTI/RTT, HALT and the halt-mode
// instructions, WAIT and RESET, each executed as a whole step.
#include <gtest/gtest.h>

#include "core/instructions.h"
#include "core/stub_device.h"
#include "test_machine.h"

namespace orlan {
namespace {

using testing::Deposit;
using testing::ExpectTrapEntry;
using testing::kProgram;
using testing::kStackTop;
using testing::Prepare;
using testing::Snapshot;

// Prepares a machine, places `words` at kProgram and sets PC and PSW.
void Load(Machine& m, std::initializer_list<uint16_t> words, uint16_t psw) {
  Prepare(m);
  Deposit(m, kProgram, words);
  m.cpu.set_pc(kProgram);
  m.cpu.psw = psw;
}

TEST(Traps, InstructionsTrapThroughTheirVectors) {
  struct Case {
    uint16_t word;
    uint16_t vector;
  } cases[] = {{0104000, kVectorEmt},     {0104377, kVectorEmt}, {0104400, kVectorTrap},
               {0104777, kVectorTrap},    {0000003, kVectorBpt}, {0000004, kVectorIot},
               {0000007, kVectorReserved}};
  for (const Case& c : cases) {
    SCOPED_TRACE(::testing::Message() << std::oct << c.word);
    Machine m;
    Load(m, {c.word}, 0177757);  // every PSW bit but T is pushed as it was
    const Snapshot before(m);
    EXPECT_EQ(m.CpuStep(), 1);
    ExpectTrapEntry(m, before, c.vector, kProgram + 2, 0177757);
  }
}

TEST(Traps, EntryForcesTheVectorPcEvenAndTheFirstPushEven) {
  Machine m;
  Load(m, {0000004}, 0140017);
  Deposit(m, kVectorIot, {002001, 0000340});
  // Odd SP: the PSW goes to 000776 (forced even), then the PC to 000775, whose
  // high byte overlays the PSW's low byte.
  m.cpu.set_sp(001001);
  m.CpuStep();
  EXPECT_EQ(m.cpu.pc(), 002000);
  EXPECT_EQ(m.cpu.psw, 0340);
  EXPECT_EQ(m.cpu.sp(), 000775);
  EXPECT_EQ(m.PeekByte(000777), 0140017 >> 8);
  EXPECT_EQ(m.PeekWord(000775), kProgram + 2);
}

TEST(Traps, StackInRomLosesThePushesButStillEnters) {
  Machine m;
  Load(m, {0104400}, 017);
  m.cpu.set_sp(0140000);
  Deposit(m, 0137774, {0111111, 0122222});  // ROM bytes under the stack
  m.CpuStep();
  EXPECT_EQ(m.cpu.pc(), testing::VectorPc(kVectorTrap));
  EXPECT_EQ(m.cpu.sp(), 0137774);
  EXPECT_EQ(m.PeekWord(0137774), 0111111);
  EXPECT_EQ(m.PeekWord(0137776), 0122222);
}

TEST(ConditionCodes, ClearAndSetByTheLowFourBits) {
  struct Case {
    uint16_t word;
    uint16_t psw;
    uint16_t want;
  } cases[] = {
      {0000240, 0177757, 0177757},
      {0000260, 0177740, 0177740},  // NOPs
      {0000257, 0000757, 0000740},
      {0000277, 0000740, 0000757},  // CCC, SCC
      {0000241, 017, 016},
      {0000242, 017, 015},
      {0000244, 017, 013},
      {0000250, 017, 007},
      {0000261, 0, 1},
      {0000262, 0, 2},
      {0000264, 0, 4},
      {0000270, 0, 010},
      {0000252, 017, 005},
      {0000265, 012, 017},
  };
  for (const Case& c : cases) {
    Machine m;
    Load(m, {c.word}, c.psw);
    m.CpuStep();
    EXPECT_EQ(m.cpu.psw, c.want) << std::oct << c.word << " from " << c.psw;
    EXPECT_EQ(m.cpu.pc(), kProgram + 2);
  }
}

TEST(ReturnFromInterrupt, PopsPcThenPswAndReentersHaltMode) {
  struct Case {
    uint16_t word;  // RTI or RTT
    uint16_t popped_pc;
    uint16_t popped_psw;
    uint16_t want_pc;
    uint16_t want_psw;
  } cases[] = {
      {0000002, 002000, 0177757, 002000, 0177757},  // all 16 bits loaded
      {0000002, 002001, 0, 002000, 0},              // PC forced even
      {0000002, 0160000, 0, 0160000, 0400},         // into the halt-mode area
      {0000002, 0177776, 017, 0177776, 0417},
      {0000002, 0157776, 0, 0157776, 0},        // just below: PSW as popped
      {0000002, 0157776, 0400, 0157776, 0400},  // stays in halt mode
      {0000006, 0160000, 0340, 0160000, 0740},
      {0000006, 002000, 0400, 002000, 0400},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(::testing::Message() << std::oct << c.word << " " << c.popped_pc);
    Machine m;
    Load(m, {c.word}, 0);
    Deposit(m, kStackTop, {c.popped_pc, c.popped_psw});
    m.CpuStep();
    EXPECT_EQ(m.cpu.pc(), c.want_pc);
    EXPECT_EQ(m.cpu.psw, c.want_psw);
    EXPECT_EQ(m.cpu.sp(), kStackTop + 4);
  }
}

TEST(ReturnFromInterrupt, TraceTrapAfterRtiButOneInstructionLaterAfterRtt) {
  struct Case {
    uint16_t word;
    int steps_before_trap;  // instructions executed after the return
  } cases[] = {{0000002, 0}, {0000006, 1}};
  for (const Case& c : cases) {
    SCOPED_TRACE(::testing::Message() << std::oct << c.word);
    Machine m;
    Load(m, {c.word}, 0);
    Deposit(m, kStackTop, {002000, kPswT | 3});
    Deposit(m, 002000, {0000240, 0000240});  // NOPs
    m.CpuStep();
    if (c.steps_before_trap == 1) {
      EXPECT_EQ(m.cpu.pc(), 002000) << "RTT: no trace trap yet";
      EXPECT_EQ(m.cpu.psw, kPswT | 3);
      m.CpuStep();
    }
    const uint16_t returned_to = static_cast<uint16_t>(002000 + 2 * c.steps_before_trap);
    EXPECT_EQ(m.cpu.pc(), testing::VectorPc(kVectorBpt));
    EXPECT_EQ(m.cpu.sp(), kStackTop);
    EXPECT_EQ(m.PeekWord(kStackTop), returned_to);
    EXPECT_EQ(m.PeekWord(kStackTop + 2), kPswT | 3);
  }
}

TEST(HaltMode, HaltEntersThroughVector170AndGoReturns) {
  Machine m;
  Load(m, {0000000}, 0345);
  Deposit(m, 0170, {0173000, 0000000});
  Deposit(m, 0173000, {0000010});  // GO, in ROM
  m.CpuStep();
  EXPECT_EQ(m.cpu.pc(), 0173000);
  EXPECT_EQ(m.cpu.psw, 0400);
  EXPECT_EQ(m.cpu.cpc, kProgram + 2);
  EXPECT_EQ(m.cpu.cps, 0345);
  EXPECT_EQ(m.cpu.sp(), kStackTop) << "nothing pushed";
  m.CpuStep();
  EXPECT_EQ(m.cpu.pc(), kProgram + 2);
  EXPECT_EQ(m.cpu.psw, 0345);
}

TEST(HaltMode, HaltForcesPcEvenAndSetsTheHaltBit) {
  Machine m;
  Load(m, {0000000}, 0);
  Deposit(m, 0170, {0173001, 0177357});
  const Snapshot before(m);
  m.CpuStep();
  EXPECT_EQ(m.cpu.pc(), 0173000);
  EXPECT_EQ(m.cpu.psw, 0177757);
  for (int r = 0; r < 7; ++r) EXPECT_EQ(m.cpu.R(r), before.R(r));
  EXPECT_TRUE(before.ram == Snapshot(m).ram);
  // HALT in halt mode saves again.
  Deposit(m, 0173000, {0000000});
  Deposit(m, 0172, {0});
  m.CpuStep();
  EXPECT_EQ(m.cpu.cpc, 0173002);
  EXPECT_EQ(m.cpu.cps, 0177757);
  EXPECT_EQ(m.cpu.psw, 0400);
}

TEST(HaltMode, GoAndStepLeaveHaltMode) {
  for (uint16_t word = 010; word <= 017; ++word) {
    Machine m;
    Load(m, {word}, 0417);
    m.cpu.cpc = 002001;
    m.cpu.cps = 0177757;
    m.CpuStep();
    EXPECT_EQ(m.cpu.pc(), 002000) << std::oct << word;
    EXPECT_EQ(m.cpu.psw, 0177357) << std::oct << word;
  }
}

TEST(HaltMode, RegisterTransfers) {
  struct Case {
    const char* what;
    uint16_t word;
    uint16_t r0, r5;
    uint16_t want_r0, want_r5, want_cpc, want_cps;
  } cases[] = {
      // Prepare leaves CPC 123456 and CPS 054321.
      {"RSEL", 0000020, 0777, 0, 0, 0, 0123456, 0054321},
      {"RSEL (030)", 0000030, 0777, 0, 0, 0, 0123456, 0054321},
      {"MFUS (R5)+, odd R5", 0000021, 0777, 002001, 0070707, 002003, 0123456, 0054321},
      {"RCPC", 0000022, 0777, 0, 0123456, 0, 0123456, 0054321},
      {"RCPC (023)", 0000023, 0777, 0, 0123456, 0, 0123456, 0054321},
      {"RCPS", 0000024, 0777, 0, 0054321, 0, 0123456, 0054321},
      {"RCPS (027)", 0000027, 0777, 0, 0054321, 0, 0123456, 0054321},
      {"MTUS -(R5)", 0000031, 0777, 002004, 0777, 002002, 0123456, 0054321},
      {"WCPC", 0000032, 0777, 0, 0777, 0, 0777, 0054321},
      {"WCPC (033)", 0000033, 0777, 0, 0777, 0, 0777, 0054321},
      {"WCPS", 0000034, 0777, 0, 0777, 0, 0123456, 0777},
      {"WCPS (037)", 0000037, 0777, 0, 0777, 0, 0123456, 0777},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    Machine m;
    Load(m, {c.word}, 0417);
    Deposit(m, 002000, {0070707});
    m.cpu.SetR(0, c.r0);
    m.cpu.SetR(5, c.r5);
    m.CpuStep();
    EXPECT_EQ(m.cpu.R(0), c.want_r0);
    EXPECT_EQ(m.cpu.R(5), c.want_r5);
    EXPECT_EQ(m.cpu.cpc, c.want_cpc);
    EXPECT_EQ(m.cpu.cps, c.want_cps);
    EXPECT_EQ(m.cpu.psw, 0417) << "no condition code changes";
    EXPECT_EQ(m.cpu.pc(), kProgram + 2);
  }
  // MTUS stored R0 at the lowered R5, forced even.
  Machine m;
  Load(m, {0000031}, 0400);
  m.cpu.SetR(0, 0012345);
  m.cpu.SetR(5, 002003);
  m.CpuStep();
  EXPECT_EQ(m.cpu.R(5), 002001);
  EXPECT_EQ(m.PeekWord(002000), 0012345);
}

TEST(HaltMode, FloatingPointWordsMarkThePushedPsw) {
  for (uint32_t word = 0075000; word <= 0075377; ++word) {
    SCOPED_TRACE(::testing::Message() << std::oct << word);
    Machine m;
    Load(m, {static_cast<uint16_t>(word)}, 017);
    const Snapshot before(m);
    m.CpuStep();
    ExpectTrapEntry(m, before, kVectorReserved, kProgram + 2, word < 0075040 ? 0417 : 017);
  }
}

TEST(WaitReset, WaitIdlesUntilARequest) {
  Machine m;
  Load(m, {0000001, 0000240}, 0);
  m.CpuStep();
  EXPECT_TRUE(m.cpu.wait);
  EXPECT_EQ(m.cpu.pc(), kProgram + 2);
  for (int i = 0; i < 5; ++i) EXPECT_EQ(m.CpuStep(), 1);
  EXPECT_EQ(m.cpu.pc(), kProgram + 2) << "idle steps fetch nothing";
  EXPECT_TRUE(m.cpu.wait);
}

TEST(WaitReset, ResetChangesNothing) {
  Machine m;
  Load(m, {0000005}, 0357);
  auto& lcd = static_cast<StubDevice&>(m.device(DeviceWindow::kLcd));
  lcd.set_reg(0, 0777);
  m.cpu.irq_clock = true;  // masked by the PSW, stays pending
  const Snapshot before(m);
  m.CpuStep();
  const Snapshot after(m);
  EXPECT_EQ(m.cpu.pc(), kProgram + 2);
  EXPECT_EQ(after.psw, before.psw);
  for (int r = 0; r < 7; ++r) EXPECT_EQ(after.R(r), before.R(r)) << r;
  EXPECT_TRUE(after.ram == before.ram);
  EXPECT_TRUE(m.cpu.irq_clock);
  EXPECT_EQ(lcd.reg(0), 0777);
}

}  // namespace
}  // namespace orlan
