// Run ticks timed by the host clock (a fake one here): a tick ends in time whatever the
// speed, fast-forward fills its time, a chunked tick keeps the run tick's rules, and
// the pause holds steps and interrupt requests.
#include <gtest/gtest.h>

#include <cstdint>

#include "frontend/system.h"

namespace orlan {
namespace {

constexpr int32_t kChunk = 4096;  // steps between two looks at the clock

// A machine looping on one instruction (br .) with `speed` steps a tick and a clock
// that moves `us_per_look` microseconds each time it is read.
struct Looping {
  System system;
  int64_t now_us = 0;
  explicit Looping(int32_t speed, int64_t us_per_look) {
    Machine& m = system.machine();
    m.PokeByte(01000, 0377);  // 000777: br .
    m.PokeByte(01001, 0001);
    m.cpu.set_pc(01000);
    m.cpu.psw = 0;
    m.run.set_steps_per_tick(speed);
    system.set_host_clock([this, us_per_look] { return now_us += us_per_look; });
  }
  int32_t RunTick() {
    system.Tick(TickKind::kRun);
    return system.last_run_steps();
  }
};

TEST(PaceTest, ATimedRunTickEndsInTimeAndFastForwardFillsItsTime) {
  struct Case {
    const char* name;
    int32_t speed;
    bool fast_forward;
    int64_t us_per_look;
    int32_t steps;
  };
  const Case cases[] = {
      {"the budget, in time", 400, false, 10, 400},
      {"a speed the host cannot reach: 50 ms", INT32_MAX, false, 1000, 50 * kChunk},
      {"fast-forward: 8 ms", 400, true, 1000, 8 * kChunk},
      {"fast-forward: at least the budget", 100000, true, 1000, 25 * kChunk},
      {"fast-forward: no more than 50 ms", 1000000, true, 1000, 50 * kChunk},
      {"fast-forward of nothing", 0, true, 1000, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Looping looping(c.speed, c.us_per_look);
    looping.system.SetFastForward(c.fast_forward);
    EXPECT_EQ(looping.RunTick(), c.steps);
  }
  // The monitor's schedule runs whole budgets whatever the clock says.
  Looping untimed(20000, 1000000);
  untimed.system.RunFor(10);
  EXPECT_EQ(untimed.system.last_run_steps(), 20000);
}

TEST(PaceTest, AChunkedTickCountsItsResumeDelayOnceAndStopsAtTraceAndBreakpoint) {
  Looping looping(INT32_MAX, 1000);
  RunControl& run = looping.system.machine().run;
  run.Resume(2);
  EXPECT_EQ(looping.RunTick(), 0);
  EXPECT_EQ(looping.RunTick(), 0);
  EXPECT_EQ(looping.RunTick(), 50 * kChunk);
  run.Trace(3 * kChunk + 5);
  EXPECT_EQ(looping.RunTick(), 3 * kChunk + 5);
  EXPECT_TRUE(run.run_stopped());
  run.Free();
  run.RunTo(01000);
  EXPECT_EQ(looping.RunTick(), 1);
  EXPECT_TRUE(run.run_stopped());
}

TEST(PaceTest, PauseHoldsStepsAndInterruptRequestsButNotTheClock) {
  Looping looping(400, 10);
  System& s = looping.system;
  Machine& m = s.machine();
  s.board().rtc.set_reg(kRtcControl, 010);  // the periodic tick requests interrupts
  m.run.Resume(1);
  s.SetPaused(true);
  EXPECT_EQ(looping.RunTick(), 0);
  EXPECT_EQ(m.run.resume_delay(), 1);  // not even counted down
  s.Tick(TickKind::kClock);
  s.HostCharacter('a');
  s.Tick(TickKind::kSecond);
  EXPECT_FALSE(m.cpu.irq_clock);
  EXPECT_FALSE(m.cpu.irq_channel);
  EXPECT_EQ(s.board().keyboard.host_key(), 17);
  EXPECT_EQ(s.board().rtc.reg(kRtcSeconds), 1);
  s.SetPaused(false);
  EXPECT_EQ(looping.RunTick(), 0);
  EXPECT_EQ(looping.RunTick(), 400);
  s.Tick(TickKind::kClock);
  EXPECT_TRUE(m.cpu.irq_clock);
}

}  // namespace
}  // namespace orlan
