// Commands of the debugger's watch over runs: breakpoints, watchpoints, step over,
// step out, run to an address, the instruction history and the trace file.
#include <string>

#include "debugger/disassembly_line.h"
#include "tools/cli/command_table.h"
#include "tools/cli/watched_run.h"

namespace orlan::cli {

namespace {

// How long a stepping command lets emulated time run at most, by default.
constexpr uint64_t kGoalMs = 10000;
constexpr std::size_t kHistoryDefault = 20;

void ExpectOpen(const Session& session) {
  if (session.system.closed()) throw UsageError("the machine is closed");
}

// An address with the first of its names, if any.
std::string NamedAddress(const Session& s, uint16_t address) {
  std::string text = s.format.WordToText(address, '0');
  const auto names = s.symbols.NamesAt(address);
  if (!names.empty()) text += " " + names.front();
  return text;
}

Action ParseBreak(const Args& args, const Session& session) {
  args.ExpectCount(0, 2);
  if (args.size() == 0) {
    return [](Session& s) {
      for (uint16_t a : s.watch.breakpoints()) s.out << NamedAddress(s, a) << '\n';
    };
  }
  if (args[0] == "clear") {
    args.ExpectCount(2, 2);
    const uint16_t address = args.Address(1, session.symbols);
    if (!session.watch.HasBreakpoint(address)) {
      throw UsageError("no breakpoint at " + std::string(args[1]));
    }
    return [address](Session& s) { s.watch.ClearBreakpoint(address); };
  }
  args.ExpectCount(1, 1);
  const uint16_t address = args.Address(0, session.symbols);
  return [address](Session& s) { s.watch.SetBreakpoint(address); };
}

Action ParseWatch(const Args& args, const Session& session) {
  args.ExpectCount(0, 3);
  if (args.size() == 0) {
    return [](Session& s) {
      for (const Watchpoint& w : s.watch.watchpoints()) {
        s.out << NamedAddress(s, w.first) << ' ' << s.format.WordToText(w.count, ' ') << ' '
              << WatchAccessText(w.access) << '\n';
      }
    };
  }
  if (args[0] == "clear") {
    args.ExpectCount(2, 2);
    const uint16_t first = args.Address(1, session.symbols);
    if (!session.watch.HasWatchpoint(first)) {
      throw UsageError("no watchpoint at " + std::string(args[1]));
    }
    return [first](Session& s) { s.watch.ClearWatchpoint(first); };
  }
  Watchpoint w;
  w.first = args.Address(0, session.symbols);
  std::size_t next = 1;
  if (next < args.size() && !WatchAccessFromText(args[next])) {
    w.count = static_cast<uint16_t>(args.Number(next, 0177777));
    if (w.count == 0) throw UsageError("number out of range: " + std::string(args[next]));
    ++next;
  }
  if (next < args.size()) {
    const std::optional<WatchAccess> access = WatchAccessFromText(args[next]);
    if (!access) throw UsageError("not r, w or rw: " + std::string(args[next]));
    w.access = *access;
    ++next;
  }
  if (next < args.size()) throw UsageError("too many arguments");
  return [w](Session& s) { s.watch.SetWatchpoint(w); };
}

// The optional time limit of a stepping command, argument `i`.
uint64_t GoalMs(const Args& args, std::size_t i) {
  return args.size() > i ? args.Number(i, 0xFFFFFFFF) : kGoalMs;
}

// Runs until the armed goal (or a breakpoint or watchpoint) stops the run.
void RunToGoal(Session& s, uint64_t ms) {
  if (!RunWatched(s, ms)) {
    s.watch.CancelGoal();
    s.out << "no stop\n";
  }
}

Action ParseOver(const Args& args, const Session& session) {
  args.ExpectCount(0, 1);
  ExpectOpen(session);
  const uint64_t ms = GoalMs(args, 0);
  return [ms](Session& s) {
    if (s.watch.ArmStepOver()) {
      RunToGoal(s, ms);
    } else {
      s.watch.Step();
    }
  };
}

Action ParseOut(const Args& args, const Session& session) {
  args.ExpectCount(0, 1);
  ExpectOpen(session);
  const uint64_t ms = GoalMs(args, 0);
  return [ms](Session& s) {
    s.watch.ArmStepOut();
    RunToGoal(s, ms);
  };
}

Action ParseUntil(const Args& args, const Session& session) {
  args.ExpectCount(1, 2);
  ExpectOpen(session);
  const uint16_t address = args.Address(0, session.symbols);
  const uint64_t ms = GoalMs(args, 1);
  return [address, ms](Session& s) {
    s.watch.ArmUntil(address);
    RunToGoal(s, ms);
  };
}

Action ParseHistory(const Args& args, const Session&) {
  args.ExpectCount(0, 1);
  if (args.size() == 1 && (args[0] == "on" || args[0] == "off")) {
    const bool on = args[0] == "on";
    return [on](Session& s) { s.watch.SetHistory(on); };
  }
  const std::size_t count =
      args.size() == 1 ? static_cast<std::size_t>(args.Number(0, kHistoryLength)) : kHistoryDefault;
  return [count](Session& s) {
    if (!s.watch.history_on()) throw UsageError("the history is off (history on)");
    const std::vector<HistoryEntry> entries = s.watch.History();
    const std::size_t from = entries.size() > count ? entries.size() - count : 0;
    for (std::size_t i = from; i < entries.size(); ++i) {
      s.out << HistoryText(s.machine(), entries[i], s.format, &s.symbols) << '\n';
    }
  };
}

Action ParseTrace(const Args& args, const Session&) {
  args.ExpectCount(1, 2);
  if (args[0] == "off") {
    args.ExpectCount(1, 1);
    return [](Session& s) { EndTrace(s); };
  }
  const std::string path(args[0]);
  const uint64_t limit = args.size() > 1 ? args.Number(1, 0xFFFFFFFF) : 0;
  return [path, limit](Session& s) {
    EndTrace(s);
    auto file = std::make_unique<std::ofstream>(path, std::ios::binary | std::ios::trunc);
    if (!*file) throw UsageError("cannot write file: " + path);
    s.trace_file = std::move(file);
    s.trace_path = path;
    s.watch.StartTrace(*s.trace_file, s.format, &s.symbols, limit);
  };
}

}  // namespace

bool RunWatched(Session& s, uint64_t ms) {
  Machine& m = s.machine();
  if (s.stopped_by_watch) {
    s.stopped_by_watch = false;
    if (m.run.run_stopped()) m.run.Free();
  }
  if (m.observer() == nullptr) {
    s.system.RunFor(ms);
    return false;
  }
  s.watch.Arm();
  // Millisecond by millisecond ticks as one run would, and a stop ends it there.
  for (uint64_t t = 0; t < ms && !s.watch.last_stop(); ++t) s.system.RunFor(1);
  s.watch.Settle();
  if (s.trace_file && !s.trace_file->flush()) {
    s.watch.StopTrace();
    s.trace_file.reset();
    throw UsageError("cannot write file: " + s.trace_path);
  }
  const std::optional<StopReason>& stop = s.watch.last_stop();
  if (!stop) return false;
  s.stopped_by_watch = true;
  s.out << "stop at " << AddressText(stop->pc, s.format) << ' ' << stop->Text(s.format) << '\n';
  return true;
}

void EndTrace(Session& s) {
  s.watch.StopTrace();
  if (!s.trace_file) return;
  const bool written = static_cast<bool>(s.trace_file->flush());
  s.trace_file->close();
  const bool closed = !s.trace_file->fail();
  s.trace_file.reset();
  if (!written || !closed) throw UsageError("cannot write file: " + s.trace_path);
}

void AddWatchCommands(CommandTable& table) {
  table.Add({"break", "break [ADDR | clear ADDR]",
             "stop a run when PC reaches ADDR; clear it; with no argument list them", ParseBreak});
  table.Add({"watch", "watch [ADDR [COUNT] [r|w|rw] | clear ADDR]",
             "stop a run after an instruction reads (r), writes (w) or either (rw, the default) "
             "one of COUNT bytes (default 1) from ADDR on; clear it; with no argument list them",
             ParseWatch});
  table.Add({"over", "over [MS]",
             "step over a call (jsr, emt, trap, iot, bpt): run until the stack is back to its "
             "depth, at most MS ms (default 10000.); elsewhere one step",
             ParseOver});
  table.Add({"out", "out [MS]", "run until the current routine returns, at most MS ms", ParseOut});
  table.Add({"until", "until ADDR [MS]", "run until PC reaches ADDR, at most MS ms", ParseUntil});
  table.Add({"history", "history [N | on | off]",
             "keep the last 1000 instructions (on, off); print the last N (default 20)",
             ParseHistory});
  table.Add({"trace", "trace FILE [N] | trace off",
             "write each instruction run from now on to FILE, at most N; end the trace",
             ParseTrace});
}

}  // namespace orlan::cli
