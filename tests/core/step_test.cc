// The processor step as a whole: reset, interrupts, WAIT, the trace trap, the
// delayed device commit, and the run tick.
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

constexpr uint16_t kNop = 0000240;
constexpr uint16_t kWait = 0000001;

void Load(Machine& m, std::initializer_list<uint16_t> words, uint16_t psw) {
  Prepare(m);
  Deposit(m, kProgram, words);
  m.cpu.set_pc(kProgram);
  m.cpu.psw = psw;
}

StubDevice& Lcd(Machine& m) { return static_cast<StubDevice&>(m.device(DeviceWindow::kLcd)); }

TEST(CpuReset, StartsTheRomWithInterruptsMasked) {
  Machine m;
  Prepare(m);
  m.cpu.psw = 0177777;
  m.cpu.cpc = 0123457;
  m.cpu.trace_suppress = m.cpu.wait = m.cpu.irq_clock = m.cpu.irq_channel = true;
  const Snapshot before(m);
  m.CpuReset();
  EXPECT_EQ(m.cpu.pc(), 0173000);
  EXPECT_EQ(m.cpu.psw, 0340);
  EXPECT_EQ(m.cpu.cpc, 0123456) << "only bit 0 of CPC cleared";
  EXPECT_EQ(m.cpu.cps, before.cps);
  EXPECT_FALSE(m.cpu.trace_suppress || m.cpu.wait || m.cpu.irq_clock || m.cpu.irq_channel);
  for (int r = 0; r < 7; ++r) EXPECT_EQ(m.cpu.R(r), before.R(r)) << "R" << r;
  EXPECT_TRUE(Snapshot(m).ram == before.ram);

  // The first step fetches at 173000: BPT there pushes 173002.
  Deposit(m, 0173000, {0000003});
  m.CpuStep();
  EXPECT_EQ(m.cpu.pc(), testing::VectorPc(kVectorBpt));
  EXPECT_EQ(m.PeekWord(kStackTop - 4), 0173002);
  EXPECT_EQ(m.PeekWord(kStackTop - 2), 0340);
}

TEST(Interrupts, TakenByPriorityAndMaskedByBit7Alone) {
  struct Case {
    const char* what;
    uint16_t psw;
    bool clock, channel;
    uint16_t vector;  // 0: the instruction runs instead
  } cases[] = {
      {"clock", 0, true, false, kVectorClock},
      {"channel", 0, false, true, kVectorChannel},
      {"clock before channel", 0, true, true, kVectorClock},
      {"priority 3 accepts", 0140, true, true, kVectorClock},
      {"priority 4 masks", 0200, true, true, 0},
      {"priority 7 masks", 0340, false, true, 0},
      {"halt mode masks nothing", 0400, false, true, kVectorChannel},
      {"every bit but 7 and T", 0177557, true, false, kVectorClock},
      {"nothing pending", 0, false, false, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    Machine m;
    Load(m, {kNop}, c.psw);
    m.cpu.irq_clock = c.clock;
    m.cpu.irq_channel = c.channel;
    const Snapshot before(m);
    EXPECT_EQ(m.CpuStep(), 1);
    if (c.vector != 0) {
      // No instruction ran: the pushed PC is that of the NOP, not past it.
      ExpectTrapEntry(m, before, c.vector, kProgram, c.psw);
      EXPECT_EQ(m.cpu.irq_clock, c.clock && c.vector != kVectorClock);
      EXPECT_EQ(m.cpu.irq_channel, c.channel && c.vector != kVectorChannel);
    } else {
      EXPECT_EQ(m.cpu.pc(), kProgram + 2);
      EXPECT_EQ(m.cpu.sp(), kStackTop);
      EXPECT_EQ(m.cpu.irq_clock, c.clock) << "a masked request stays pending";
      EXPECT_EQ(m.cpu.irq_channel, c.channel);
    }
  }
}

TEST(Interrupts, SoftwareOpensAndClosesTheMaskAfterReset) {
  Machine m;
  Prepare(m);
  // MTPS #200; MTPS #140; NOP at the reset address.
  Deposit(m, 0173000, {0106427, 0000200, 0106427, 0000140, kNop});
  m.CpuReset();
  m.cpu.irq_clock = true;
  m.CpuStep();
  m.CpuStep();
  EXPECT_EQ(m.cpu.psw, 0140);
  EXPECT_TRUE(m.cpu.irq_clock) << "masked until bit 7 clears";
  m.CpuStep();
  EXPECT_EQ(m.cpu.pc(), testing::VectorPc(kVectorClock));
  EXPECT_EQ(m.PeekWord(m.cpu.sp()), 0173010);
}

TEST(Interrupts, ChannelFollowsOnceTheClockHandlerAllowsIt) {
  struct Case {
    uint16_t clock_psw;  // PSW loaded from 102
    bool channel_next;
  } cases[] = {{0, true}, {0140, true}, {0200, false}, {0340, false}};
  for (const Case& c : cases) {
    Machine m;
    Load(m, {kNop}, 0);
    Deposit(m, 0100, {002000, c.clock_psw});
    Deposit(m, 002000, {kNop});
    m.cpu.irq_clock = m.cpu.irq_channel = true;
    m.CpuStep();
    EXPECT_EQ(m.cpu.pc(), 002000);
    m.CpuStep();
    if (c.channel_next) {
      EXPECT_EQ(m.cpu.pc(), testing::VectorPc(kVectorChannel)) << std::oct << c.clock_psw;
      EXPECT_EQ(m.PeekWord(m.cpu.sp()), 002000);
    } else {
      EXPECT_EQ(m.cpu.pc(), 002002) << std::oct << c.clock_psw;
      EXPECT_TRUE(m.cpu.irq_channel);
    }
  }
}

TEST(Interrupts, WaitWakesOnAnyRequestMaskedOrNot) {
  struct Case {
    const char* what;
    uint16_t psw;
    bool clock, channel;
    uint16_t want_pc;  // after the step following WAIT
    bool want_wait;
  } cases[] = {
      {"no request: idle", 0, false, false, kProgram + 2, true},
      {"masked clock: runs the next instruction", 0200, true, false, kProgram + 4, false},
      {"masked channel: runs the next instruction", 0340, false, true, kProgram + 4, false},
      {"clock taken", 0, true, false, testing::VectorPc(kVectorClock), false},
      {"channel taken", 0, false, true, testing::VectorPc(kVectorChannel), false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    Machine m;
    Load(m, {kWait, kNop}, c.psw);
    m.CpuStep();
    ASSERT_TRUE(m.cpu.wait);
    m.cpu.irq_clock = c.clock;
    m.cpu.irq_channel = c.channel;
    EXPECT_EQ(m.CpuStep(), 1);
    EXPECT_EQ(m.cpu.pc(), c.want_pc);
    EXPECT_EQ(m.cpu.wait, c.want_wait);
    if (c.want_pc == kProgram + 4) {
      EXPECT_TRUE(m.cpu.irq_clock || m.cpu.irq_channel) << "request still pending";
    }
    if (c.want_pc > 003000) {
      EXPECT_EQ(m.PeekWord(m.cpu.sp()), kProgram + 2) << "returns after the WAIT";
    }
  }
}

TEST(Interrupts, IdleStepLeavesTraceSuppressAlone) {
  Machine m;
  Load(m, {kWait}, 0);
  m.CpuStep();
  m.cpu.trace_suppress = true;
  m.CpuStep();
  EXPECT_TRUE(m.cpu.trace_suppress);
  m.cpu.irq_clock = true;
  m.CpuStep();  // interrupt taken
  EXPECT_FALSE(m.cpu.trace_suppress);
}

TEST(TraceTrap, FollowsOnlyAnInstructionThatDidNotTrap) {
  struct Case {
    const char* what;
    uint16_t word;
    uint16_t vector;
  } cases[] = {
      {"NOP", kNop, kVectorBpt},
      {"BPT traps once", 0000003, kVectorBpt},
      {"EMT enters only its own trap", 0104000, kVectorEmt},
      {"TRAP", 0104777, kVectorTrap},
      {"reserved", 0000007, kVectorReserved},
      {"JMP register", 0000101, kVectorBusError},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    Machine m;
    Load(m, {c.word}, kPswT | 017);
    const Snapshot before(m);
    m.CpuStep();
    ExpectTrapEntry(m, before, c.vector, kProgram + 2, kPswT | 017);
  }
}

TEST(TraceTrap, NotAfterAnInterruptEntry) {
  Machine m;
  Load(m, {kNop}, kPswT);
  Deposit(m, 0100, {002000, kPswT});
  m.cpu.irq_clock = true;
  m.CpuStep();
  EXPECT_EQ(m.cpu.pc(), 002000);
  EXPECT_EQ(m.cpu.sp(), kStackTop - 4);
}

TEST(TraceTrap, ClearingTInTheInstructionPreventsIt) {
  // RTI popping a PSW without T: T is read after the instruction.
  Machine m;
  Load(m, {0000002}, kPswT);
  Deposit(m, kStackTop, {002000, 0});
  m.CpuStep();
  EXPECT_EQ(m.cpu.pc(), 002000);
  EXPECT_EQ(m.cpu.sp(), kStackTop + 4);
}

TEST(DeviceCommit, WriteReachesTheDeviceWhenTheNextStepBegins) {
  struct Case {
    const char* what;
    bool reset_between;
    uint16_t want_register;
  } cases[] = {{"next step commits", false, 012345}, {"reset drops it", true, 0}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    Machine m;
    // MTUS in halt mode stores R0 at -(R5): LCD register 1.
    Load(m, {0000031, kNop}, 0400);
    m.cpu.SetR(0, 012345);
    m.cpu.SetR(5, 0164004);
    m.CpuStep();
    EXPECT_EQ(Lcd(m).reg(1), 0) << "not yet committed";
    EXPECT_EQ(m.cpu.pending_write, &Lcd(m));
    if (c.reset_between) {
      m.CpuReset();
      Deposit(m, 0173000, {kNop});
    }
    m.CpuStep();
    EXPECT_EQ(Lcd(m).reg(1), c.want_register);
    EXPECT_EQ(m.cpu.pending_write, nullptr);
  }
}

TEST(DeviceCommit, NextInstructionReadsTheNewValue) {
  Machine m;
  Load(m, {0000031, 0000021}, 0400);  // MTUS; MFUS
  m.cpu.SetR(0, 012345);
  m.cpu.SetR(5, 0164004);
  m.CpuStep();
  m.cpu.SetR(0, 0);
  m.CpuStep();  // MFUS (R5)+ reads LCD register 1
  EXPECT_EQ(m.cpu.R(0), 012345);
  EXPECT_EQ(m.cpu.R(5), 0164004);
}

TEST(DeviceCommit, MovToARegisterIsReadBackByTheNextInstruction) {
  Machine m;
  // MOV R0,@#164002; MOV @#164002,R1
  Load(m, {0010037, 0164002, 0013701, 0164002}, 0);
  m.cpu.SetR(0, 0054321);
  m.CpuStep();
  m.CpuStep();
  EXPECT_EQ(m.cpu.R(1), 0054321);
  EXPECT_EQ(Lcd(m).reg(1), 0054321);
}

// A loop of SOB R0,. counts its steps in R0.
void LoadCountingLoop(Machine& m) {
  Load(m, {0077001}, 0340);
  m.cpu.SetR(0, 0);
}
int StepsRun(const Machine& m) { return static_cast<uint16_t>(0 - m.cpu.R(0)); }

TEST(RunSlice, StopsOnBudgetTraceAndBreakpoint) {
  struct Case {
    const char* what;
    int32_t budget, trace_count, breakpoint;
    bool run_stopped;
    int want_steps;
    bool want_stop;
  } cases[] = {
      {"whole budget", 400, -1, -1, false, 400, false},
      {"budget 0", 0, -1, -1, false, 0, false},
      {"negative budget", -3, 5, -1, false, 0, false},
      {"trace count 1", 400, 1, -1, false, 1, true},
      {"trace count 7", 400, 7, -1, false, 7, true},
      {"trace count beyond the budget", 5, 7, -1, false, 5, false},
      {"trace count 0 is off", 5, 0, -1, false, 5, false},
      {"breakpoint on the next instruction", 400, -1, kProgram, false, 1, true},
      {"breakpoint elsewhere", 10, -1, 002000, false, 10, false},
      {"stopped", 400, -1, -1, true, 0, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    Machine m;
    LoadCountingLoop(m);
    m.run.set_steps_per_tick(c.budget);
    if (c.trace_count != -1) m.run.Trace(c.trace_count);
    if (c.breakpoint >= 0) m.run.RunTo(static_cast<uint16_t>(c.breakpoint));
    if (c.run_stopped) m.run.Stop();
    int stops = 0;
    m.on_debug_stop = [&] { ++stops, m.run.Stop(); };
    m.RunSlice();
    EXPECT_EQ(StepsRun(m), c.want_steps);
    EXPECT_EQ(stops, c.want_stop ? 1 : 0);
  }
}

TEST(RunSlice, DefaultStopSetsTheRunControlAsTheDebuggerWould) {
  Machine m;
  LoadCountingLoop(m);
  m.run.Trace(2);
  m.RunSlice();
  EXPECT_EQ(StepsRun(m), 2);
  EXPECT_TRUE(m.run.run_stopped());
  EXPECT_EQ(m.run.trace_count(), -1);
  EXPECT_EQ(m.run.breakpoint_address(), -1);
  m.RunSlice();
  EXPECT_EQ(StepsRun(m), 2) << "a stopped run runs nothing";
}

TEST(RunSlice, ResumeDelaySkipsExactlyThatManyTicks) {
  Machine m;
  LoadCountingLoop(m);
  m.run.set_steps_per_tick(3);
  m.run.Resume(30);
  for (int tick = 0; tick < 30; ++tick) m.RunSlice();
  EXPECT_EQ(StepsRun(m), 0);
  EXPECT_EQ(m.run.resume_delay(), 0);
  m.RunSlice();
  EXPECT_EQ(StepsRun(m), 3);
}

TEST(RunSlice, WaitingUsesTheBudgetAndWakesAtTheFirstStepAfterARequest) {
  Machine m;
  Load(m, {kWait, kNop}, 0);
  m.run.set_steps_per_tick(50);
  m.RunSlice();
  EXPECT_TRUE(m.cpu.wait);
  EXPECT_EQ(m.cpu.pc(), kProgram + 2);
  m.cpu.irq_channel = true;
  m.run.Trace(1);
  m.RunSlice();
  EXPECT_FALSE(m.cpu.wait);
  EXPECT_EQ(m.cpu.pc(), testing::VectorPc(kVectorChannel));
}

}  // namespace
}  // namespace orlan
