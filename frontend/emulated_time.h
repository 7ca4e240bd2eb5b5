// The window's four timers as one deterministic schedule of emulated milliseconds, for
// the headless monitor and the tests: run ticks, the clock's periodic tick with the
// display refresh, and the clock's second tick, as fast as the host can run them.
#ifndef ORLAN_FRONTEND_EMULATED_TIME_H_
#define ORLAN_FRONTEND_EMULATED_TIME_H_

#include <cstdint>

namespace orlan {

class Machine;
struct Board;

// The timers' intervals, in milliseconds; the window's timers use them too.
inline constexpr int kRunIntervalMs = 10;
inline constexpr int kRtcIntervalMs = 32;
inline constexpr int kRefreshIntervalMs = 32;
inline constexpr int kSecIntervalMs = 1000;

struct TimerTicks {
  uint64_t run = 0;      // RunSlice
  uint64_t rtc = 0;      // the clock's periodic tick
  uint64_t refresh = 0;  // DrawLcd
  uint64_t second = 0;   // the clock's second tick
  bool operator==(const TimerTicks&) const = default;
};

class EmulatedTime {
 public:
  // Time starts at 0 with every timer just enabled: the first run tick comes at 10 ms,
  // the first periodic tick and refresh at 32 ms, the first second tick at 1000 ms.
  EmulatedTime(Machine& machine, Board& board) : machine_(machine), board_(board) {}
  EmulatedTime(const EmulatedTime&) = delete;
  EmulatedTime& operator=(const EmulatedTime&) = delete;

  // Runs `ms` more milliseconds. The phases carry over between calls, so two calls of
  // 5 ms tick exactly as one of 10 ms. Timers due in the same millisecond tick in the
  // order run, periodic, refresh, second.
  void Advance(uint64_t ms);

  uint64_t now_ms() const { return now_ms_; }
  const TimerTicks& ticks() const { return ticks_; }

 private:
  Machine& machine_;
  Board& board_;
  uint64_t now_ms_ = 0;
  TimerTicks ticks_;
};

}  // namespace orlan

#endif  // ORLAN_FRONTEND_EMULATED_TIME_H_
