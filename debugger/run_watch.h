// The debugger's watch over a run: a list of breakpoints, watchpoints on address
// ranges, step over, step out and run-to-address goals, a history of the last
// instructions and a trace of every one into a stream. It rides on the machine's
// run observer, attached only while one of these is on, so that a run without any
// of them is the plain run.
#ifndef ORLAN_DEBUGGER_RUN_WATCH_H_
#define ORLAN_DEBUGGER_RUN_WATCH_H_

#include <array>
#include <cstdint>
#include <optional>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

#include "core/machine.h"
#include "debugger/number_text.h"
#include "debugger/symbol_table.h"

namespace orlan {

// Which accesses a watchpoint stops on.
enum class WatchAccess : uint8_t { kRead = 1, kWrite = 2, kReadWrite = 3 };

// "r", "w", "rw"; and back (nullopt for any other text).
std::string WatchAccessText(WatchAccess access);
std::optional<WatchAccess> WatchAccessFromText(std::string_view text);

struct Watchpoint {
  uint16_t first = 0;
  uint16_t count = 1;  // bytes from `first` on (wrapping past 177777), at least 1
  WatchAccess access = WatchAccess::kReadWrite;

  // Whether an access of `width` bytes at `address` touches a byte of the range.
  bool Covers(uint16_t address, unsigned width) const;
  bool operator==(const Watchpoint&) const = default;
};

// Why a run stopped.
struct StopReason {
  enum Kind { kBreakpoint, kWatchpoint, kStepOver, kStepOut, kUntil };
  Kind kind = kBreakpoint;
  uint16_t pc = 0;       // after the step that stopped
  uint16_t address = 0;  // a watchpoint's: the first watched byte accessed
  bool write = false;    // a watchpoint's: the access

  // "breakpoint", "read of 002004", "write of 164000", "stepped over", "stepped
  // out", "reached", numbers in `format`.
  std::string Text(const NumberFormat& format) const;
};

inline constexpr std::size_t kHistoryLength = 1000;

// One executed instruction (or interrupt entry), with the registers after it.
struct HistoryEntry {
  uint16_t address = 0;             // of the instruction; for an interrupt, the PC it left
  std::array<uint16_t, 3> words{};  // the instruction's words as they were fetched
  uint16_t vector = 0;              // an interrupt entry's vector; 0 for an instruction
  std::array<uint16_t, 8> registers{};
  uint16_t psw = 0;
};

// The line of an entry: "001000: mov   #5,r0  r0=000005 ... pc=001004 psw=000000",
// an interrupt entry as "001000: interrupt 310 ...", numbers in `format`, names from
// `symbols` (may be null).
std::string HistoryText(Machine& machine, const HistoryEntry& entry, const NumberFormat& format,
                        const SymbolTable* symbols);

// Whether the instruction word is one that step over runs through: jsr, emt, trap,
// iot, bpt.
bool IsCall(uint16_t word);

class RunWatch final : public RunObserver {
 public:
  // The machine must outlive the watch.
  explicit RunWatch(Machine& machine) : machine_(machine) {}
  ~RunWatch() override;
  RunWatch(const RunWatch&) = delete;
  RunWatch& operator=(const RunWatch&) = delete;

  // --- breakpoints: the run stops after a step that leaves PC at one -------------
  // Gives whether the list changed.
  bool SetBreakpoint(uint16_t address);
  bool ClearBreakpoint(uint16_t address);
  void ToggleBreakpoint(uint16_t address);
  const std::vector<uint16_t>& breakpoints() const { return breakpoints_; }  // sorted
  bool HasBreakpoint(uint16_t address) const;

  // --- watchpoints: the run stops after the step that accessed a watched byte ----
  // One per first address: setting the same first address again replaces it.
  void SetWatchpoint(const Watchpoint& watchpoint);
  bool ClearWatchpoint(uint16_t first);
  bool HasWatchpoint(uint16_t first) const;
  const std::vector<Watchpoint>& watchpoints() const { return watchpoints_; }  // by address

  // --- goals of the next run, given up at any stop ------------------------------
  // Step over at PC: with a call there, arms the goal that stops once the stack is
  // back to its depth before the call (so a recursing call returns from the
  // outermost level only) and gives true; otherwise nothing is armed (false): a plain
  // step does.
  bool ArmStepOver();
  // Stops after a return (rts, rti, rtt) that leaves the stack above its depth now.
  void ArmStepOut();
  // Stops when PC reaches `address` after a step.
  void ArmUntil(uint16_t address);
  bool goal_armed() const { return goal_ != Goal::kNone; }
  void CancelGoal();

  // --- history and trace --------------------------------------------------------
  // Keeps the last kHistoryLength instructions while on; switching off empties it.
  void SetHistory(bool on);
  bool history_on() const { return history_on_; }
  // Oldest first.
  std::vector<HistoryEntry> History() const;
  // Writes every executed instruction as a HistoryText line to `out` (which must
  // outlive the trace), at most `limit` lines (0: no limit); the trace ends then or
  // at StopTrace. Names from `symbols` (may be null; must outlive the trace).
  void StartTrace(std::ostream& out, const NumberFormat& format, const SymbolTable* symbols,
                  uint64_t limit);
  void StopTrace();
  bool tracing() const { return trace_ != nullptr; }
  uint64_t trace_lines() const { return trace_lines_; }

  // --- runs -------------------------------------------------------------------
  // Before the machine runs again: forgets accesses and the stop of before, which
  // belong to the debugger's own reads.
  void Arm();
  // After the machine ran (or stopped): records a step that a stop of the run
  // control ended before this watch saw it, and ignores accesses until Arm.
  void Settle();
  // One debugger step: a processor waiting in WAIT leaves it as an interrupt would,
  // without taking one, and executes the next instruction. History and trace see it;
  // nothing stops it.
  void Step();
  // The reason of the last stop since Arm; nullopt when none.
  const std::optional<StopReason>& last_stop() const { return last_stop_; }

  void OnAccess(uint16_t address, unsigned width, bool write) override;
  bool AfterStep(Machine& machine) override;

 private:
  enum class Goal { kNone, kOver, kOut, kUntil };
  std::vector<Watchpoint>::const_iterator FindWatchpoint(uint16_t first) const;
  // Attaches or detaches the observer as what is on needs it.
  void Sync();
  // The entry of the step just done, if it executed an instruction or entered an
  // interrupt.
  void Record();

  Machine& machine_;
  std::vector<uint16_t> breakpoints_;
  std::vector<Watchpoint> watchpoints_;
  Goal goal_ = Goal::kNone;
  uint16_t goal_sp_ = 0;
  uint16_t goal_address_ = 0;
  std::optional<StopReason> last_stop_;
  // The first watched access of the step under way.
  bool watch_hit_ = false;
  uint16_t hit_address_ = 0;
  bool hit_write_ = false;
  // The step under way: what its first accesses showed.
  enum class StepStart { kAwaiting, kInstruction, kInterrupt, kNone };
  StepStart step_start_ = StepStart::kNone;
  HistoryEntry pending_;
  bool history_on_ = false;
  std::vector<HistoryEntry> ring_;
  std::size_t ring_next_ = 0;
  std::ostream* trace_ = nullptr;
  NumberFormat trace_format_;
  const SymbolTable* trace_symbols_ = nullptr;
  uint64_t trace_limit_ = 0;
  uint64_t trace_lines_ = 0;
};

}  // namespace orlan

#endif  // ORLAN_DEBUGGER_RUN_WATCH_H_
