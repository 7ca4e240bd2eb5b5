// The debug window's breakpoint list, watchpoints, step over, step out, run to the
// cursor line, WAIT and history, on a program assembled by the cross-assembler and
// run by run ticks that stop into the window as the front end wires it.
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "debugger/symbol_file.h"
#include "tests/core/test_machine.h"
#include "tests/debugger/assembled_window.h"
#include "tests/support/recursion_program.h"

namespace orlan {
namespace {

const std::string kProgram = std::string(testing::kRecursionProgram) +
                             "clock:  rti\n"
                             "buf:    .word 0\n";
constexpr uint16_t kStack = 0700;

struct Session : testing::Window {
  Session() : Window(8) {
    symbols = testing::AssembleInto(*this, kProgram.c_str());
    machine.cpu.set_pc(At("start"));
    machine.cpu.set_sp(kStack);
    testing::Deposit(machine, 0100, {At("clock"), 0});
    machine.on_debug_stop = [this] {
      visible = true;
      model.DebugShow();
    };
    Show();
  }
  uint16_t At(const char* name) const { return *symbols.Find(name); }
  void Show() {
    visible = true;
    model.DebugShow();
    model.Paint(Pane::kList);
  }
  // Hides the window when the model says so; then runs ticks until it shows again
  // (at most 200 ticks after the resume delay). Gives whether it did.
  bool Run(bool hide) {
    if (!hide) return false;
    visible = false;
    model.DebugHide();
    for (int tick = 0; tick < kResumeDelayTicks + 200 && !visible; ++tick) machine.RunSlice();
    if (visible) model.Paint(Pane::kList);
    return visible;
  }
  std::string Row(Pane pane, int row) {
    const auto rows = testing::PaneRows(model.Paint(pane));
    return row < static_cast<int>(rows.size()) ? rows[static_cast<std::size_t>(row)] : "";
  }

  SymbolTable symbols;
  bool visible = false;
};

TEST(RunWatchWindow, ClicksOnAddressesToggleMarkedBreakpointsThatStopTheRun) {
  Session s;
  // Rows: start:, 001000 mov, 001004 jsr, after:, 001010 mov, ...
  struct Case {
    Cell cell;
    std::vector<uint16_t> breakpoints;
  } cases[] = {
      {{0, 2}, {01004}},          // a later line's address
      {{7, 4}, {01004, 01010}},   // the marker column
      {{0, 0}, {01004, 01010}},   // a label row; the first row opens the address edit
      {{10, 2}, {01004, 01010}},  // the mnemonic opens the assembly edit
      {{6, 1}, {01000, 01004, 01010}},
      {{3, 2}, {01000, 01010}},  // again: cleared
  };
  for (const Case& c : cases) {
    s.model.PaneMouseDown(Pane::kList, c.cell);
    EXPECT_EQ(s.model.watch().breakpoints(), c.breakpoints) << c.cell.column << "," << c.cell.row;
    s.model.EndEdit();
  }
  s.model.Paint(Pane::kList);
  EXPECT_EQ(s.model.ListMarks(),
            (std::vector<RowMark>{
                {1, ListMark::kBreakpoint}, {1, ListMark::kPc}, {4, ListMark::kBreakpoint}}));
  // The one at PC is passed at once; the next stops the run.
  ASSERT_TRUE(s.Run(true));
  EXPECT_EQ(s.machine.cpu.pc(), s.At("after"));
  EXPECT_EQ(s.machine.cpu.R(1), 4);
  EXPECT_EQ(s.model.StopText(), "001010: breakpoint");
  EXPECT_EQ(s.machine.observer(), &s.model.watch());
  s.model.watch().ClearBreakpoint(01000);
  s.model.watch().ClearBreakpoint(01010);
  EXPECT_EQ(s.machine.observer(), nullptr) << "nothing to watch: the plain run";
}

TEST(RunWatchWindow, StepOverARecursingCallAndStepOut) {
  Session s;
  const uint16_t inner_call = s.At("done") - 4;
  s.model.watch().SetBreakpoint(inner_call);
  ASSERT_TRUE(s.Run(true));
  s.model.watch().ClearBreakpoint(inner_call);
  ASSERT_EQ(s.machine.cpu.sp(), kStack - 2);  // one level deep, r0 = 3

  // Over the recursing call: the returns of the deeper levels to `done` pass by.
  ASSERT_TRUE(s.Run(s.model.StepOverClick()));
  EXPECT_EQ(s.machine.cpu.pc(), s.At("done"));
  EXPECT_EQ(s.machine.cpu.sp(), kStack - 2);
  EXPECT_EQ(s.machine.cpu.R(1), 3);
  EXPECT_EQ(s.model.StopText(), "001036: stepped over");

  // Not a call: one step, the window stays.
  EXPECT_FALSE(s.model.StepOverClick());
  EXPECT_EQ(s.machine.cpu.pc(), s.At("done") + 2);

  // Out of the outermost level, back behind the first call.
  ASSERT_TRUE(s.Run(s.model.StepOutClick()));
  EXPECT_EQ(s.machine.cpu.pc(), s.At("after"));
  EXPECT_EQ(s.machine.cpu.sp(), kStack);
  EXPECT_EQ(s.model.StopText(), "001010: stepped out");

  // From the entry of a routine that recurses, out runs the whole recursion.
  s.machine.cpu.set_pc(s.At("start"));
  s.machine.cpu.SetR(1, 0);
  s.model.StepButtonClick();
  s.model.StepButtonClick();
  ASSERT_EQ(s.machine.cpu.pc(), s.At("fact"));
  ASSERT_TRUE(s.Run(s.model.StepOutClick()));
  EXPECT_EQ(s.machine.cpu.pc(), s.At("after"));
  EXPECT_EQ(s.machine.cpu.R(1), 4);

  // To the cursor line: the line last clicked.
  EXPECT_FALSE(Session().model.RunToCursorClick());
  s.model.SetListStart(s.At("after"));
  s.model.Paint(Pane::kList);
  s.model.PaneMouseDown(Pane::kList, {12, 3});  // the wait line: opens its assembly edit
  EXPECT_EQ(s.model.cursor_line(), s.At("after") + 010);
  ASSERT_TRUE(s.Run(s.model.RunToCursorClick()));
  EXPECT_EQ(s.machine.cpu.pc(), s.At("after") + 010);
  EXPECT_EQ(s.model.StopText(), "001020: reached");
}

TEST(RunWatchWindow, AStepInWaitRunsTheNextInstructionAndThePaneSaysWaiting) {
  Session s;
  s.machine.cpu.set_pc(s.At("after") + 010);
  s.model.StepButtonClick();  // wait
  EXPECT_TRUE(s.machine.cpu.wait);
  EXPECT_EQ(s.Row(Pane::kRegisters, 9), "----- WAIT");
  s.model.StepButtonClick();  // inc r2
  EXPECT_FALSE(s.machine.cpu.wait);
  EXPECT_EQ(s.machine.cpu.R(2), 1);
  EXPECT_EQ(s.machine.cpu.pc(), s.At("after") + 014);
  EXPECT_EQ(s.Row(Pane::kRegisters, 9), "-----");
  // Over a call right after a WAIT runs the call.
  s.machine.cpu.set_pc(s.At("start") + 4);
  s.machine.cpu.SetR(0, 2);
  s.machine.cpu.wait = true;
  ASSERT_TRUE(s.Run(s.model.StepOverClick()));
  EXPECT_EQ(s.machine.cpu.pc(), s.At("after"));
}

TEST(RunWatchWindow, WatchpointsStopAfterTheAccessAndSayWhich) {
  struct Case {
    const char* first;
    int offset;
    uint16_t count;
    WatchAccess access;
    const char* stop;  // empty: no stop
  } cases[] = {
      {"buf", 0, 2, WatchAccess::kWrite, "001014: write of 001044"},
      {"buf", 1, 1, WatchAccess::kReadWrite, "001014: write of 001045"},  // a word's high byte
      {"buf", 2, 10, WatchAccess::kWrite, ""},
      {"buf", 0, 2, WatchAccess::kRead, ""},
      {"", 0164002, 1, WatchAccess::kRead, "001020: read of 164002"},  // a device register
      {"", 0164002, 2, WatchAccess::kWrite, ""},
      {"start", 0, 1, WatchAccess::kRead, "001004: read of 001000"},      // the fetch
      {"", 0700 - 2, 2, WatchAccess::kWrite, "001026: write of 000676"},  // the jsr's push
  };
  for (const Case& c : cases) {
    Session s;
    const uint16_t first = static_cast<uint16_t>((*c.first ? s.At(c.first) : 0) + c.offset);
    s.model.watch().SetWatchpoint({first, c.count, c.access});
    EXPECT_EQ(s.Run(true), *c.stop != 0) << c.stop;
    EXPECT_EQ(s.model.StopText(), c.stop);
  }
}

TEST(RunWatchWindow, HistoryHoldsTheLastInstructionsWithTheirRegisters) {
  Session s;
  s.model.SetHistoryShown(true);
  s.model.watch().SetBreakpoint(s.At("after"));
  s.machine.cpu.irq_clock = true;  // taken at the first step
  ASSERT_TRUE(s.Run(true));
  const std::vector<std::string> lines = s.model.HistoryLines();
  ASSERT_EQ(lines.size(), 23u);
  EXPECT_EQ(lines[0].substr(0, 64),
            "001000:                      interrupt 100                   r0=");
  EXPECT_EQ(lines[0].substr(lines[0].size() - 30), "sp=000674 pc=001042 psw=000000");
  EXPECT_EQ(lines[1].substr(0, 33), "001042: 000002               rti ");
  EXPECT_EQ(lines[2],
            "001000: 012700 000004        mov   #4,r0                     r0=000004 r1=000000 "
            "r2=000000 r3=000000 "
            "r4=000000 r5=000000 sp=000700 pc=001004 psw=000000");
  EXPECT_EQ(lines.back().substr(0, 41), "001040: 000207               rts   pc    ");
  s.model.SetHistoryShown(false);
  EXPECT_TRUE(s.model.HistoryLines().empty());
}

// Random code, with interrupt requests now and then: the history holds exactly the
// instructions and interrupt entries that a plain twin machine went through, and the
// watched run ends where the plain one does.
TEST(RunWatch, HistoryOfRandomRunsMatchesAPlainTwin) {
  std::mt19937 rng(11);
  for (int trial = 0; trial < 40; ++trial) {
    Machine plain, watched;
    for (uint32_t a = 0; a < 040000; a += 2) {
      const uint16_t w = static_cast<uint16_t>(rng());
      plain.PokeWord(static_cast<uint16_t>(a), w);
      watched.PokeWord(static_cast<uint16_t>(a), w);
    }
    for (Machine* m : {&plain, &watched}) {
      m->cpu.set_pc(01000);
      m->cpu.set_sp(0700);
    }
    RunWatch watch(watched);
    watch.SetHistory(true);
    watch.Arm();
    std::vector<std::pair<uint16_t, uint16_t>> want;  // address, vector
    for (int step = 0; step < 1500; ++step) {
      if (rng() % 64 == 0) {
        plain.cpu.irq_clock = watched.cpu.irq_clock = true;
        plain.cpu.psw = watched.cpu.psw = static_cast<uint16_t>(plain.cpu.psw & ~0200);
      }
      const CpuState c = plain.cpu;
      if ((c.irq_clock || c.irq_channel) && !(c.psw & 0200)) {
        want.emplace_back(c.pc(), c.irq_clock ? 0100 : 0310);
      } else if (!c.wait || c.irq_clock || c.irq_channel) {
        want.emplace_back(c.pc(), 0);
      }
      plain.CpuStep();
      watched.RunSteps(1);
    }
    ASSERT_EQ(plain.cpu.cells, watched.cpu.cells) << "trial " << trial;
    const std::vector<HistoryEntry> history = watch.History();
    ASSERT_EQ(history.size(), std::min(want.size(), kHistoryLength)) << "trial " << trial;
    const std::size_t skip = want.size() - history.size();
    for (std::size_t i = 0; i < history.size(); ++i) {
      ASSERT_EQ(std::make_pair(history[i].address, history[i].vector), want[skip + i])
          << "trial " << trial << " entry " << i;
    }
  }
}

}  // namespace
}  // namespace orlan
