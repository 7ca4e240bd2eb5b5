#include "frontend/emulated_time.h"

#include <algorithm>

#include "core/machine.h"
#include "devices/board.h"

namespace orlan {
namespace {

// The first multiple of `interval` after `t`.
uint64_t NextDue(uint64_t t, uint64_t interval) { return (t / interval + 1) * interval; }

bool Due(uint64_t t, uint64_t interval) { return t % interval == 0; }

}  // namespace

void EmulatedTime::Advance(uint64_t ms) {
  const uint64_t end = now_ms_ + ms;
  // From one due tick to the next, so that idle stretches cost nothing.
  for (;;) {
    const uint64_t next =
        std::min({NextDue(now_ms_, kRunIntervalMs), NextDue(now_ms_, kRtcIntervalMs),
                  NextDue(now_ms_, kRefreshIntervalMs), NextDue(now_ms_, kSecIntervalMs)});
    if (next > end) break;
    now_ms_ = next;
    if (Due(now_ms_, kRunIntervalMs)) {
      machine_.RunSlice();
      ++ticks_.run;
    }
    if (Due(now_ms_, kRtcIntervalMs)) {
      board_.rtc.RtcPeriodicTick();
      ++ticks_.rtc;
    }
    if (Due(now_ms_, kRefreshIntervalMs)) {
      board_.lcd.DrawLcd();
      board_.lcd.set_changed(false);
      ++ticks_.refresh;
    }
    if (Due(now_ms_, kSecIntervalMs)) {
      board_.rtc.RtcSecondTick();
      ++ticks_.second;
    }
  }
  now_ms_ = end;
}

}  // namespace orlan
