// The window's four timers as one deterministic schedule of emulated milliseconds, for
// the headless monitor and the tests: run ticks, the clock's periodic tick with the
// display refresh, and the clock's second tick, as fast as the host can run them.
#ifndef ORLAN_FRONTEND_EMULATED_TIME_H_
#define ORLAN_FRONTEND_EMULATED_TIME_H_

#include <algorithm>
#include <cstdint>

namespace orlan {

// The timers' intervals, in milliseconds; the window's timers use them too.
inline constexpr int kRunIntervalMs = 10;
inline constexpr int kRtcIntervalMs = 32;
inline constexpr int kRefreshIntervalMs = 32;
inline constexpr int kSecIntervalMs = 1000;

// The four kinds of tick, in the order ticks due in the same millisecond come.
enum class TickKind : uint8_t {
  kRun,      // RunSlice
  kClock,    // the clock's periodic tick
  kRefresh,  // DrawLcd
  kSecond,   // the clock's second tick
};

struct TimerTicks {
  uint64_t run = 0;
  uint64_t rtc = 0;  // periodic
  uint64_t refresh = 0;
  uint64_t second = 0;
  bool operator==(const TimerTicks&) const = default;
};

class EmulatedTime {
 public:
  // Time starts at 0 with every timer just enabled: the first run tick comes at 10 ms,
  // the first periodic tick and refresh at 32 ms, the first second tick at 1000 ms.
  EmulatedTime() = default;

  // Runs `ms` more milliseconds, calling on_tick(TickKind) for each tick due. The
  // phases carry over between calls, so two calls of 5 ms tick exactly as one of
  // 10 ms.
  template <typename OnTick>
  void Advance(uint64_t ms, OnTick&& on_tick) {
    const uint64_t end = now_ms_ + ms;
    // From one due tick to the next, so that idle stretches cost nothing.
    for (;;) {
      const uint64_t next =
          std::min({NextDue(now_ms_, kRunIntervalMs), NextDue(now_ms_, kRtcIntervalMs),
                    NextDue(now_ms_, kRefreshIntervalMs), NextDue(now_ms_, kSecIntervalMs)});
      if (next > end) break;
      now_ms_ = next;
      if (Due(now_ms_, kRunIntervalMs)) on_tick(TickKind::kRun);
      if (Due(now_ms_, kRtcIntervalMs)) on_tick(TickKind::kClock);
      if (Due(now_ms_, kRefreshIntervalMs)) on_tick(TickKind::kRefresh);
      if (Due(now_ms_, kSecIntervalMs)) on_tick(TickKind::kSecond);
    }
    now_ms_ = end;
  }

  uint64_t now_ms() const { return now_ms_; }
  // Where a saved state left the schedule.
  void set_now_ms(uint64_t ms) { now_ms_ = ms; }

 private:
  // The first multiple of `interval` after `t`.
  static uint64_t NextDue(uint64_t t, uint64_t interval) { return (t / interval + 1) * interval; }
  static bool Due(uint64_t t, uint64_t interval) { return t % interval == 0; }

  uint64_t now_ms_ = 0;
};

}  // namespace orlan

#endif  // ORLAN_FRONTEND_EMULATED_TIME_H_
