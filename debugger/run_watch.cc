#include "debugger/run_watch.h"

#include <algorithm>

#include "core/decoder.h"
#include "core/instructions.h"
#include "debugger/disassembler.h"
#include "debugger/disassembly_line.h"
#include "debugger/mnemonic_table.h"

namespace orlan {
namespace {

// rts, rti, rtt: the instructions that leave a routine, as the decoder tells them.
bool IsReturn(uint16_t word) {
  const Handler h = HandlerFor(word);
  return h == &OpRts || h == &OpRti || h == &OpRtt;
}

// Past the address, room for an instruction's three words; past the longest
// instruction text after them, the registers.
std::size_t WordsWidth(const NumberFormat& format) {
  return 3 * static_cast<std::size_t>(format.word_digits + 1);
}
std::size_t RegistersColumn(const NumberFormat& format) { return 40 + WordsWidth(format); }

}  // namespace

std::string WatchAccessText(WatchAccess access) {
  switch (access) {
    case WatchAccess::kRead:
      return "r";
    case WatchAccess::kWrite:
      return "w";
    case WatchAccess::kReadWrite:
      break;
  }
  return "rw";
}

std::optional<WatchAccess> WatchAccessFromText(std::string_view text) {
  if (text == "r") return WatchAccess::kRead;
  if (text == "w") return WatchAccess::kWrite;
  if (text == "rw") return WatchAccess::kReadWrite;
  return std::nullopt;
}

bool Watchpoint::Covers(uint16_t address, unsigned width) const {
  for (unsigned i = 0; i < width; ++i) {
    if (static_cast<uint16_t>(address + i - first) < count) return true;
  }
  return false;
}

std::string StopReason::Text(const NumberFormat& format) const {
  switch (kind) {
    case kBreakpoint:
      return "breakpoint";
    case kWatchpoint:
      return (write ? "write of " : "read of ") + format.WordToText(address, '0');
    case kStepOver:
      return "stepped over";
    case kStepOut:
      return "stepped out";
    case kUntil:
      break;
  }
  return "reached";
}

bool IsCall(uint16_t word) {
  const Handler h = HandlerFor(word);
  return h == &OpJsr || h == &OpEmt || h == &OpTrap || h == &OpIot || h == &OpBpt;
}

std::string HistoryText(Machine& machine, const HistoryEntry& entry, const NumberFormat& format,
                        const SymbolTable* symbols) {
  const auto words_column = static_cast<std::size_t>(MnemonicColumn(format));
  std::string text = AddressText(entry.address, format);
  text.resize(words_column, ' ');
  if (entry.vector != 0) {
    text +=
        std::string(WordsWidth(format), ' ') + "interrupt " + format.WordToText(entry.vector, ' ');
  } else {
    Disassembler disassembler(machine, format);
    disassembler.set_symbols(symbols);
    disassembler.ReadFrom(entry.address, entry.words);
    const DisassembledLine line = disassembler.Next();
    std::string words;
    for (int i = 0; i < line.word_count; ++i) {
      words += format.WordToText(entry.words[static_cast<std::size_t>(i)], '0') + ' ';
    }
    words.resize(WordsWidth(format), ' ');
    const std::string listing = LineText(line, format);
    text += words + std::string(TrimTrailingBlanks(listing.substr(words_column)));
  }
  text.resize(std::max(text.size() + 1, RegistersColumn(format)), ' ');
  for (int r = 0; r < 8; ++r) {
    text += std::string(RegisterName(r)) + '=' +
            format.WordToText(entry.registers[static_cast<std::size_t>(r)], '0') + ' ';
  }
  return text + "psw=" + format.WordToText(entry.psw, '0');
}

RunWatch::~RunWatch() {
  if (machine_.observer() == this) machine_.SetObserver(nullptr, false);
}

void RunWatch::Sync() {
  const bool watch = !watchpoints_.empty() || history_on_ || trace_ != nullptr;
  const bool needed = watch || !breakpoints_.empty() || goal_ != Goal::kNone;
  if (needed) {
    machine_.SetObserver(this, watch);
  } else if (machine_.observer() == this) {
    machine_.SetObserver(nullptr, false);
  }
}

bool RunWatch::HasBreakpoint(uint16_t address) const {
  return std::binary_search(breakpoints_.begin(), breakpoints_.end(), address);
}

bool RunWatch::SetBreakpoint(uint16_t address) {
  const auto at = std::lower_bound(breakpoints_.begin(), breakpoints_.end(), address);
  if (at != breakpoints_.end() && *at == address) return false;
  breakpoints_.insert(at, address);
  Sync();
  return true;
}

bool RunWatch::ClearBreakpoint(uint16_t address) {
  const auto at = std::lower_bound(breakpoints_.begin(), breakpoints_.end(), address);
  if (at == breakpoints_.end() || *at != address) return false;
  breakpoints_.erase(at);
  Sync();
  return true;
}

void RunWatch::ToggleBreakpoint(uint16_t address) {
  if (!ClearBreakpoint(address)) SetBreakpoint(address);
}

void RunWatch::SetWatchpoint(const Watchpoint& watchpoint) {
  const auto at =
      std::lower_bound(watchpoints_.begin(), watchpoints_.end(), watchpoint.first,
                       [](const Watchpoint& w, uint16_t first) { return w.first < first; });
  if (at != watchpoints_.end() && at->first == watchpoint.first) {
    *at = watchpoint;
  } else {
    watchpoints_.insert(at, watchpoint);
  }
  Sync();
}

std::vector<Watchpoint>::const_iterator RunWatch::FindWatchpoint(uint16_t first) const {
  return std::find_if(watchpoints_.begin(), watchpoints_.end(),
                      [first](const Watchpoint& w) { return w.first == first; });
}

bool RunWatch::HasWatchpoint(uint16_t first) const {
  return FindWatchpoint(first) != watchpoints_.end();
}

bool RunWatch::ClearWatchpoint(uint16_t first) {
  const auto at = FindWatchpoint(first);
  if (at == watchpoints_.end()) return false;
  watchpoints_.erase(at);
  Sync();
  return true;
}

bool RunWatch::ArmStepOver() {
  CpuState& c = machine_.cpu;
  if (!IsCall(machine_.PeekWord(c.pc()))) return false;
  // The call is the next instruction also for a processor in WAIT.
  c.wait = false;
  goal_ = Goal::kOver;
  goal_sp_ = c.sp();
  Sync();
  return true;
}

void RunWatch::ArmStepOut() {
  goal_ = Goal::kOut;
  goal_sp_ = machine_.cpu.sp();
  Sync();
}

void RunWatch::ArmUntil(uint16_t address) {
  goal_ = Goal::kUntil;
  goal_address_ = address;
  Sync();
}

void RunWatch::CancelGoal() {
  goal_ = Goal::kNone;
  Sync();
}

void RunWatch::SetHistory(bool on) {
  history_on_ = on;
  ring_.clear();
  ring_next_ = 0;
  if (on) ring_.reserve(kHistoryLength);
  Sync();
}

std::vector<HistoryEntry> RunWatch::History() const {
  std::vector<HistoryEntry> entries(ring_.begin() + static_cast<std::ptrdiff_t>(ring_next_),
                                    ring_.end());
  entries.insert(entries.end(), ring_.begin(),
                 ring_.begin() + static_cast<std::ptrdiff_t>(ring_next_));
  return entries;
}

void RunWatch::StartTrace(std::ostream& out, const NumberFormat& format, const SymbolTable* symbols,
                          uint64_t limit) {
  trace_ = &out;
  trace_format_ = format;
  trace_symbols_ = symbols;
  trace_limit_ = limit;
  trace_lines_ = 0;
  Sync();
}

void RunWatch::StopTrace() {
  trace_ = nullptr;
  Sync();
}

void RunWatch::Arm() {
  watch_hit_ = false;
  last_stop_.reset();
  step_start_ = StepStart::kAwaiting;
}

void RunWatch::Settle() {
  Record();
  step_start_ = StepStart::kNone;
  watch_hit_ = false;
}

void RunWatch::Step() {
  // A processor in WAIT takes up the next instruction as a wake-up would leave it.
  machine_.cpu.wait = false;
  Arm();
  machine_.CpuStep();
  Settle();
}

void RunWatch::OnAccess(uint16_t address, unsigned width, bool write) {
  switch (step_start_) {
    case StepStart::kAwaiting:
      // A step begins with its fetch at PC (already advanced past it) or, entering
      // an interrupt, with the push of the PSW.
      step_start_ = StepStart::kNone;
      pending_.vector = 0;
      if (!write && width == 2 && static_cast<uint16_t>(address + 2) == machine_.cpu.pc()) {
        step_start_ = StepStart::kInstruction;
        pending_.address = address;
        for (std::size_t i = 0; i < pending_.words.size(); ++i) {
          pending_.words[i] = machine_.PeekWord(static_cast<uint16_t>(address + 2 * i));
        }
      } else if (write) {
        step_start_ = StepStart::kInterrupt;
        pending_.address = machine_.cpu.pc();
      }
      break;
    case StepStart::kInterrupt:
      // After the two pushes, the first read is the vector's new PC.
      if (!write && pending_.vector == 0) pending_.vector = address;
      break;
    default:
      break;
  }
  if (watch_hit_) return;
  const auto kind = static_cast<uint8_t>(write ? WatchAccess::kWrite : WatchAccess::kRead);
  for (const Watchpoint& w : watchpoints_) {
    if ((static_cast<uint8_t>(w.access) & kind) == 0 || !w.Covers(address, width)) continue;
    watch_hit_ = true;
    hit_write_ = write;
    hit_address_ = w.Covers(address, 1) ? address : static_cast<uint16_t>(address + 1);
    return;
  }
}

void RunWatch::Record() {
  if (step_start_ != StepStart::kInstruction && step_start_ != StepStart::kInterrupt) return;
  step_start_ = StepStart::kNone;
  if (!history_on_ && trace_ == nullptr) return;
  const CpuState& c = machine_.cpu;
  for (int r = 0; r < 8; ++r) pending_.registers[static_cast<std::size_t>(r)] = c.R(r);
  pending_.psw = c.psw;
  if (history_on_) {
    if (ring_.size() < kHistoryLength) {
      ring_.push_back(pending_);
    } else {
      ring_[ring_next_] = pending_;
      ring_next_ = (ring_next_ + 1) % kHistoryLength;
    }
  }
  if (trace_ != nullptr) {
    *trace_ << HistoryText(machine_, pending_, trace_format_, trace_symbols_) << '\n';
    if (++trace_lines_ == trace_limit_) StopTrace();
  }
}

bool RunWatch::AfterStep(Machine& machine) {
  Record();
  step_start_ = StepStart::kAwaiting;
  const CpuState& c = machine.cpu;
  std::optional<StopReason> stop;
  if (watch_hit_) {
    watch_hit_ = false;
    stop = StopReason{StopReason::kWatchpoint, c.pc(), hit_address_, hit_write_};
  } else if (HasBreakpoint(c.pc())) {
    stop = StopReason{StopReason::kBreakpoint, c.pc()};
  } else {
    switch (goal_) {
      case Goal::kOver:
        if (c.sp() >= goal_sp_) stop = StopReason{StopReason::kStepOver, c.pc()};
        break;
      case Goal::kOut:
        if (IsReturn(c.ir) && c.sp() > goal_sp_) stop = StopReason{StopReason::kStepOut, c.pc()};
        break;
      case Goal::kUntil:
        if (c.pc() == goal_address_) stop = StopReason{StopReason::kUntil, c.pc()};
        break;
      case Goal::kNone:
        break;
    }
  }
  if (!stop) return false;
  last_stop_ = stop;
  step_start_ = StepStart::kNone;
  CancelGoal();
  return true;
}

}  // namespace orlan
