// The processor's registers and the flags that the step routine works on.
#ifndef ORLAN_CORE_CPU_STATE_H_
#define ORLAN_CORE_CPU_STATE_H_

#include <array>
#include <cstdint>

#include "core/word.h"

namespace orlan {

class BusDevice;
class StateReader;
class StateWriter;

// PSW bits.
inline constexpr uint16_t kPswC = 01;
inline constexpr uint16_t kPswV = 02;
inline constexpr uint16_t kPswZ = 04;
inline constexpr uint16_t kPswN = 010;
inline constexpr uint16_t kPswT = 020;
inline constexpr uint16_t kPswPriority7 = 0200;  // the only priority bit ever tested
inline constexpr uint16_t kPswHalt = 0400;
inline constexpr uint16_t kPswNzvc = 017;

// Access masks: a word address is forced even, a byte address is used as it is.
inline constexpr uint16_t kWordMask = 0177776;
inline constexpr uint16_t kByteMask = 0177777;

inline constexpr int kSp = 6;
inline constexpr int kPc = 7;

struct CpuState {
  // R0-R7 as eight little-endian cells, so that an operand location can point at a
  // register exactly as at memory (a byte operand is the cell's low byte).
  std::array<uint8_t, 16> cells{};
  uint16_t psw = 0;
  uint16_t ir = 0;
  uint16_t cpc = 0;  // halt mode: PC saved by HALT
  uint16_t cps = 0;  // halt mode: PSW saved by HALT
  uint16_t ea = 0;   // effective address, the bus's input
  uint16_t mask = kWordMask;
  bool trace_suppress = false;
  bool wait = false;
  bool irq_clock = false;
  bool irq_channel = false;
  // The one-slot commit hook: the device whose latched write is committed at the
  // start of the next step; null when empty.
  BusDevice* pending_write = nullptr;

  uint16_t R(int n) const { return LoadWord(&cells[2 * n]); }
  void SetR(int n, uint16_t v) { StoreWord(&cells[2 * n], v); }
  uint8_t* Cell(int n) { return &cells[2 * n]; }
  uint16_t pc() const { return R(kPc); }
  void set_pc(uint16_t v) { SetR(kPc, v); }
  uint16_t sp() const { return R(kSp); }
  void set_sp(uint16_t v) { SetR(kSp, v); }
};

// Run control, shared by the run tick, the debugger and the front end. Every change
// goes through an operation, so the run tick can rely on what each one leaves.
class RunControl {
 public:
  int32_t steps_per_tick() const { return steps_per_tick_; }
  void set_steps_per_tick(int32_t steps) { steps_per_tick_ = steps; }
  int32_t trace_count() const { return trace_count_; }
  int32_t breakpoint_address() const { return breakpoint_address_; }
  bool run_stopped() const { return run_stopped_; }
  int32_t resume_delay() const { return resume_delay_; }
  bool rom_modified() const { return rom_modified_; }
  // The user's pause: like a stop (no step, no interrupt request raised) but without
  // the debugger, and apart from it, so that the debugger's stop and resume leave it.
  bool paused() const { return paused_; }
  void set_paused(bool paused) { paused_ = paused; }
  // Whether the devices hold back their interrupt requests now.
  bool requests_held() const { return run_stopped_ || paused_; }

  // Stops the run with no trace count and no breakpoint left, as the debugger does.
  void Stop() {
    run_stopped_ = true;
    trace_count_ = -1;
    breakpoint_address_ = -1;
  }
  // Lets the run go on once `delay_ticks` more run ticks have passed.
  void Resume(int32_t delay_ticks) {
    resume_delay_ = delay_ticks;
    run_stopped_ = false;
  }
  // The run free from the next tick on: not stopped, no delay, trace or breakpoint.
  void Free() {
    Resume(0);
    trace_count_ = -1;
    breakpoint_address_ = -1;
  }
  // Stop after `steps` more steps (<= 0: never), with no breakpoint.
  void Trace(int32_t steps) {
    breakpoint_address_ = -1;
    trace_count_ = steps;
  }
  // Stop when PC reaches `address`, with no trace count.
  void RunTo(uint16_t address) {
    breakpoint_address_ = address;
    trace_count_ = -1;
  }
  void MarkRomModified() { rom_modified_ = true; }

  // For the run tick: whether this tick is one of the resume delay (and counts it).
  bool SkipDelayedTick() {
    if (resume_delay_ <= 0) return false;
    --resume_delay_;
    return true;
  }
  // For the run tick after each step: whether the trace count has just run out.
  bool TraceRunsOut() { return trace_count_ > 0 && --trace_count_ == 0; }
  bool AtBreakpoint(uint16_t pc) const { return breakpoint_address_ == pc; }

  // A saved state holds everything but the speed (a setting) and the pause (the
  // user's, like fast-forward).
  void SaveState(StateWriter& out) const;
  void LoadState(StateReader& in);

 private:
  int32_t steps_per_tick_ = 400;
  int32_t trace_count_ = -1;         // steps left before stopping; <= 0: none
  int32_t breakpoint_address_ = -1;  // PC that stops the run; < 0: none
  bool run_stopped_ = false;
  int32_t resume_delay_ = 0;   // run ticks still to skip
  bool rom_modified_ = false;  // the debugger has assembled into memory
  bool paused_ = false;
};

}  // namespace orlan

#endif  // ORLAN_CORE_CPU_STATE_H_
