// The emulated timers: how often each ticks, that the phases carry across calls, and
// that the system's ticks reach the processor, the clock and the display.
#include "frontend/emulated_time.h"

#include <gtest/gtest.h>

#include <vector>

#include "devices/rtc.h"
#include "frontend/system.h"

namespace orlan {
namespace {

// A schedule that counts its ticks by kind.
struct Rig {
  void Advance(uint64_t ms) {
    time.Advance(ms, [this](TickKind kind) {
      switch (kind) {
        case TickKind::kRun:
          ++ticks.run;
          break;
        case TickKind::kClock:
          ++ticks.rtc;
          break;
        case TickKind::kRefresh:
          ++ticks.refresh;
          break;
        case TickKind::kSecond:
          ++ticks.second;
          break;
      }
    });
  }
  EmulatedTime time;
  TimerTicks ticks;
};

TEST(EmulatedTimeTest, EachTimerTicksOncePerWholeInterval) {
  struct Case {
    uint64_t ms;
    TimerTicks ticks;  // run, periodic, refresh, second
  };
  const Case cases[] = {
      {0, {0, 0, 0, 0}},        {9, {0, 0, 0, 0}},        {10, {1, 0, 0, 0}},
      {31, {3, 0, 0, 0}},       {32, {3, 1, 1, 0}},       {999, {99, 31, 31, 0}},
      {1000, {100, 31, 31, 1}}, {2000, {200, 62, 62, 2}}, {3600000, {360000, 112500, 112500, 3600}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.ms);
    Rig rig;
    rig.Advance(c.ms);
    EXPECT_EQ(rig.ticks, c.ticks);
    EXPECT_EQ(rig.time.now_ms(), c.ms);
  }
}

TEST(EmulatedTimeTest, SplitAdvancesTickAsOne) {
  const std::vector<std::vector<uint64_t>> splits = {
      {5, 5}, {9, 1}, {31, 1}, {333, 333, 334}, {1, 998, 1}, {0, 1000, 0}, {16, 16, 968},
  };
  for (const std::vector<uint64_t>& parts : splits) {
    Rig whole, split;
    uint64_t total = 0;
    for (uint64_t ms : parts) {
      split.Advance(ms);
      total += ms;
    }
    whole.Advance(total);
    EXPECT_EQ(split.ticks, whole.ticks) << parts.size() << " parts of " << total;
    EXPECT_EQ(split.time.now_ms(), total);
  }
  // One millisecond at a time, the ticks fall exactly on the multiples.
  Rig rig;
  for (int ms = 1; ms <= 64; ++ms) {
    const TimerTicks before = rig.ticks;
    rig.Advance(1);
    EXPECT_EQ(rig.ticks.run - before.run, ms % 10 == 0 ? 1u : 0u) << ms;
    EXPECT_EQ(rig.ticks.rtc - before.rtc, ms % 32 == 0 ? 1u : 0u) << ms;
  }
}

TEST(EmulatedTimeTest, SystemTicksReachTheProcessorClockAndDisplay) {
  System rig;
  // inc r0 / br .-2: one increment every two steps, in RAM at 0.
  const uint8_t loop[] = {0200, 012, 0376, 001};
  for (uint16_t i = 0; i < 4; ++i) rig.machine().PokeByte(i, loop[i]);
  rig.machine().cpu.set_pc(0);
  rig.machine().cpu.psw = 0340;  // interrupts masked: a request stays pending
  rig.machine().run.set_steps_per_tick(40);
  rig.board().rtc.set_reg(kRtcControl, 010);  // periodic interrupt requests on
  rig.board().lcd.set_reg(0, 01000);
  rig.machine().PokeByte(01000, 0377);
  const bool dark = rig.board().lcd.DotDark(0, 0);
  ASSERT_TRUE(dark);
  const uint8_t seconds = rig.board().rtc.reg(kRtcSeconds);

  struct Step {
    uint64_t ms;
    uint16_t r0;  // 20 per run tick
    bool irq_clock;
    bool display_shows_dot;
    uint8_t seconds_added;
  };
  const Step steps[] = {
      {9, 0, false, false, 0}, {1, 20, false, false, 0},   {21, 60, false, false, 0},
      {1, 60, true, true, 0},  {967, 1980, true, true, 0}, {1, 2000, true, true, 1},
  };
  for (const Step& s : steps) {
    rig.RunFor(s.ms);
    SCOPED_TRACE(rig.now_ms());
    EXPECT_EQ(rig.machine().cpu.R(0), s.r0);
    EXPECT_EQ(rig.machine().cpu.irq_clock, s.irq_clock);
    EXPECT_EQ(rig.board().lcd.Pixel(0, 0) == kLcdDark, s.display_shows_dot);
    EXPECT_EQ(static_cast<uint8_t>(rig.board().rtc.reg(kRtcSeconds) - seconds), s.seconds_added);
  }
  EXPECT_EQ(rig.ticks(), (TimerTicks{100, 31, 31, 1}));
}

}  // namespace
}  // namespace orlan
