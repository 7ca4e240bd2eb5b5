#include "debugger/debug_window_model.h"

#include <gtest/gtest.h>

#include "tests/core/test_machine.h"
#include "tests/debugger/window_test_util.h"

namespace orlan {
namespace {

using testing::Deposit;
using testing::Window;

TEST(DebugWindowModel, WindowWidthFollowsTheDigitWidths) {
  struct Case {
    int radix, width;
  } cases[] = {{16, 625}, {10, 761}, {15, 761}, {9, 769}, {8, 769}, {7, 625}, {17, 625}};
  for (const Case& c : cases) {
    Window w(c.radix);
    EXPECT_EQ(w.model.WindowWidth(), c.width) << c.radix;
    EXPECT_EQ(w.model.BinGroupWidth(), c.width - 24) << c.radix;
    EXPECT_EQ(w.model.edit(EditId::kBreakpoint).max_length, w.model.format().word_digits);
  }
}

TEST(DebugWindowModel, ShowStopsTheRunAndListsFromPc) {
  Window w;
  w.machine.cpu.set_pc(0173000);
  w.machine.run.Trace(7);
  w.machine.run.RunTo(01000);
  w.model.GroupClick(Group::kBinary);
  w.model.DebugShow();
  EXPECT_TRUE(w.machine.run.run_stopped());
  EXPECT_EQ(w.machine.run.trace_count(), -1);
  EXPECT_EQ(w.machine.run.breakpoint_address(), -1);
  EXPECT_EQ(w.model.list().list_top(), 0173000);
  EXPECT_EQ(w.model.active_group(), Group::kList);
}

TEST(DebugWindowModel, LineAtPcIsMarkedInTheBlankMarkerColumn) {
  struct Case {
    uint16_t top, pc;
    std::vector<RowMark> marks;
  } cases[] = {
      {01000, 01004, {{1, ListMark::kPc}}},  // after a two-word instruction
      {01004, 01004, {{0, ListMark::kPc}}},
      {01002, 01004, {{1, ListMark::kPc}}},  // a listing that starts inside one
      {01000, 01002, {}},                    // PC inside a listed instruction
      {01006, 01004, {}},                    // above the page
  };
  for (const Case& c : cases) {
    Window w;
    Deposit(w.machine, 01000, {012700, 5, 005200, 000240});  // mov #5,r0; inc r0; nop
    w.machine.cpu.set_pc(c.pc);
    w.model.SetListStart(c.top);
    const std::vector<std::string> rows = testing::PaneRows(w.model.Paint(Pane::kList));
    SCOPED_TRACE(c.top);
    EXPECT_EQ(w.model.ListMarks(), c.marks);
    const auto column = static_cast<std::size_t>(ListMarkColumn(w.model.format()));
    for (const std::string& row : rows) EXPECT_EQ(row.at(column), ' ') << row;
  }
}

// What typing does in each edit: letters made upper case where the edit asks for
// it, the length limit, and non-digits removed where digits are expected.
TEST(DebugWindowModel, TypingFiltersPerEditAndMode) {
  struct Case {
    int radix;
    Pane pane;  // clicked first to open an in-place edit (ignored for trace and bp)
    Cell cell;
    EditId edit;
    const char* typed;
    const char* shown;
  } cases[] = {
      {16, Pane::kList, {0, 0}, EditId::kList, "1g2a", "12A"},
      {8, Pane::kList, {0, 0}, EditId::kList, "1982", "12"},
      {16, Pane::kList, {0, 0}, EditId::kList, "123456", "1234"},
      {16, Pane::kList, {6, 0}, EditId::kList, "Mov R1,(r2)+", "Mov R1,(r2)+"},
      {16, Pane::kRegisters, {4, 0}, EditId::kRegisters, "x1f", "1F"},
      {16, Pane::kBinary, {0, 0}, EditId::kBinary, "3f5g", "3F5"},
      {16, Pane::kBinary, {6, 0}, EditId::kBinary, "zf", "F"},
      {10, Pane::kBinary, {7, 0}, EditId::kBinary, "9a9", "99"},
      {16, Pane::kBinary, {54, 0}, EditId::kBinary, "a", "a"},
      {16, Pane::kBinary, {54, 0}, EditId::kBinary, "ab", "a"},
      {16, Pane::kList, {0, 0}, EditId::kTrace, "12a3", "123"},
      {16, Pane::kList, {0, 0}, EditId::kTrace, "1234567", "123456"},
      {16, Pane::kList, {0, 0}, EditId::kTrace, "ff", ""},
      {16, Pane::kList, {0, 0}, EditId::kBreakpoint, "f0x", "F0"},
      {16, Pane::kList, {0, 0}, EditId::kBreakpoint, "12345", "1234"},
      {8, Pane::kList, {0, 0}, EditId::kBreakpoint, "1778", "177"},
  };
  for (const Case& c : cases) {
    Window w(c.radix);
    w.model.SetListStart(01000);
    w.model.PaneMouseDown(c.pane, c.cell);
    w.Type(c.edit, c.typed);
    EXPECT_EQ(w.Text(c.edit), c.shown) << c.typed;
  }
}

TEST(DebugWindowModel, ClosedEditsHoldTypedKeysUntilTheNextEdit) {
  Window w;
  w.Type(EditId::kList, "zz");  // typed with no edit open: kept, not filtered
  EXPECT_EQ(w.Text(EditId::kList), "zz");
  w.Key(EditId::kList, kKeyEnter);  // Enter does nothing
  EXPECT_EQ(w.Text(EditId::kList), "zz");
  w.model.PaneMouseDown(Pane::kList, {0, 0});
  EXPECT_EQ(w.Text(EditId::kList), "");
}

TEST(DebugWindowModel, EveryClickScrollOrRadioClosesTheOpenEdit) {
  using Action = void (*)(DebugWindowModel&);
  const Action actions[] = {
      [](DebugWindowModel& m) { m.GroupClick(Group::kStep); },
      [](DebugWindowModel& m) { m.GroupClick(Group::kList); },
      [](DebugWindowModel& m) { m.PaneScroll(Pane::kList, 3); },
      [](DebugWindowModel& m) { m.PaneScroll(Pane::kBinary, 3); },
      [](DebugWindowModel& m) { m.BinRadioButtonClick(2); },
      [](DebugWindowModel& m) {
        m.PaneMouseDown(Pane::kRegisters, {0, 0});
      },
      [](DebugWindowModel& m) { m.EditKeyDown(EditId::kRegisters, kKeyEscape); },
  };
  for (Action act : actions) {
    Window w;
    w.model.PaneMouseDown(Pane::kBinary, {6, 1});
    ASSERT_EQ(w.model.edit_mode(), EditMode::kBinCell);
    w.Type(EditId::kBinary, "AB");
    act(w.model);
    EXPECT_EQ(w.model.edit_mode(), EditMode::kNone);
    EXPECT_FALSE(w.model.edit(EditId::kBinary).open());
    EXPECT_EQ(w.Text(EditId::kBinary), "");
    EXPECT_EQ(w.machine.ram()[0x10], 0) << "values are stored only on Enter";
  }
}

TEST(DebugWindowModel, EnterInTheListingEdits) {
  struct Case {
    const char* name;
    Cell cell;
    const char* typed;
    uint16_t list_top;  // afterwards
  } cases[] = {
      {"empty start address shows RAM from 0", {0, 0}, "", 0},
      {"RAM address", {0, 0}, "1A1", 0x1A0},
      {"ROM address", {0, 0}, "F600", 0xF600},
      {"past the ROM", {0, 0}, "FF00", 0xFF00},
  };
  for (const Case& c : cases) {
    Window w;
    w.model.SetListStart(0x4000);
    w.model.PaneMouseDown(Pane::kList, c.cell);
    w.Type(EditId::kList, c.typed);
    w.Key(EditId::kList, kKeyEnter);
    SCOPED_TRACE(c.name);
    EXPECT_EQ(w.model.list().list_top(), c.list_top);
    EXPECT_EQ(w.model.edit_mode(), EditMode::kNone);
  }
  // Past the ROM the pane stays empty and its bar sits at the maximum.
  Window w;
  w.model.SetListStart(0xFF00);
  EXPECT_TRUE(w.model.Paint(Pane::kList).empty());
  EXPECT_EQ(w.model.scroll_bar(Pane::kList).position, w.model.scroll_bar(Pane::kList).max);
}

TEST(DebugWindowModel, AssemblyStoresOnlyTheNewWords) {
  struct Case {
    const char* name;
    const char* typed;
    std::vector<uint16_t> words;  // at 01000 afterwards
  } cases[] = {
      {"one word over three", "inc r0", {005200, 0111, 0222}},
      {"three words", "mov @#1,@#2", {013737, 1, 2}},
      {"empty line stores nothing", "", {016767, 0111, 0222}},
      {"blanks only", "   ", {016767, 0111, 0222}},
  };
  for (const Case& c : cases) {
    Window w;
    Deposit(w.machine, 01000, {016767, 0111, 0222});
    w.model.SetListStart(01000);
    w.model.PaneMouseDown(Pane::kList, {6, 0});
    w.Type(EditId::kList, c.typed);
    w.Key(EditId::kList, kKeyEnter);
    SCOPED_TRACE(c.name);
    EXPECT_EQ(w.model.edit_mode(), EditMode::kNone);
    EXPECT_TRUE(w.machine.run.rom_modified());
    for (std::size_t i = 0; i < c.words.size(); ++i) {
      EXPECT_EQ(w.machine.PeekWord(static_cast<uint16_t>(01000 + 2 * i)), c.words[i]) << i;
    }
  }
}

TEST(DebugWindowModel, FailedAssemblyKeepsTheEditWithTheCaretAndTheReason) {
  struct Case {
    const char* typed;
    int caret;
    const char* reason;
  } cases[] = {
      {"inc r0 x", 7, "end of line expected"},
      {"xyz", 0, "unknown instruction"},
      {"mov r1,", 7, "operand expected"},
      {"mov r1 r2", 7, "',' expected"},
      {"clr", 3, "blank expected"},
      {"br 7FFE", 7, "branch too far"},
      {"br", 2, "blank expected"},
      {"rts x", 4, "register expected"},
      {"mov -(q),r0", 6, "-(register) expected"},
      {"mov 2(r9),r0", 6, "(register) expected"},
      {"mov #,r0", 5, "number expected"},
      {"sob r1,1100", 11, "sob goes back at most 77 words"},
      {"spl 8", 5, "number too large"},
  };
  for (const Case& c : cases) {
    Window w;
    Deposit(w.machine, 01000, {005000});
    w.model.SetListStart(01000);
    w.model.PaneMouseDown(Pane::kList, {6, 0});
    w.Type(EditId::kList, c.typed);
    w.Key(EditId::kList, kKeyEnter);
    SCOPED_TRACE(c.typed);
    EXPECT_EQ(w.model.edit_mode(), EditMode::kAssemble);
    EXPECT_EQ(w.Text(EditId::kList), c.typed);
    EXPECT_EQ(w.model.edit(EditId::kList).state.caret, c.caret);
    EXPECT_EQ(w.model.edit(EditId::kList).state.selection, 0);
    EXPECT_EQ(w.model.edit(EditId::kList).reason, c.reason);
    EXPECT_EQ(w.machine.PeekWord(01000), 005000);
    EXPECT_FALSE(w.machine.run.rom_modified());
    // The reason goes with the next change of the text.
    w.Type(EditId::kList, "nop");
    EXPECT_EQ(w.model.edit(EditId::kList).reason, "");
  }
}

TEST(DebugWindowModel, AssemblyPatchesRom) {
  Window w;
  w.model.SetListStart(0173000);
  w.model.PaneMouseDown(Pane::kList, {6, 1});
  w.Type(EditId::kList, "nop");
  w.Key(EditId::kList, kKeyEnter);
  EXPECT_EQ(w.machine.PeekWord(0173002), 000240);
  EXPECT_EQ(w.machine.PeekWord(0173000), 0177777);
  EXPECT_TRUE(w.machine.run.rom_modified());
}

TEST(DebugWindowModel, EnterInRegisterAndMemoryEdits) {
  // Where the value lands: a register (index, 8 the PSW) or RAM bytes.
  enum Where { kRegister, kByte, kWord };
  struct Case {
    const char* name;
    int radix;
    int unit;
    Pane pane;
    Cell cell;
    const char* typed;
    Where where;
    uint16_t at;
    uint16_t want;
  } cases[] = {
      {"PC made even", 16, 1, Pane::kRegisters, {4, 7}, "F603", kRegister, 7, 0xF602},
      {"SP made even", 16, 1, Pane::kRegisters, {4, 6}, "0FFF", kRegister, 6, 0x0FFE},
      {"PSW takes all bits", 16, 1, Pane::kRegisters, {4, 8}, "FFFF", kRegister, 8, 0xFFFF},
      {"R5", 8, 1, Pane::kRegisters, {4, 5}, "177777", kRegister, 5, 0xFFFF},
      {"byte cell", 16, 1, Pane::kBinary, {9, 1}, "7E", kByte, 0x11, 0x7E},
      {"word cell", 16, 2, Pane::kBinary, {12, 1}, "BEEF", kWord, 0x12, 0xBEEF},
      {"byte cell modulo 256", 10, 1, Pane::kBinary, {7, 0}, "999", kByte, 0, 999 % 256},
      {"character cell", 16, 1, Pane::kBinary, {56, 0}, "z", kByte, 2, 'z'},
      {"empty character cell unchanged", 16, 1, Pane::kBinary, {57, 0}, "", kByte, 3, 0x33},
  };
  for (const Case& c : cases) {
    Window w(c.radix);
    w.machine.ram()[3] = 0x33;
    w.model.BinRadioButtonClick(c.unit);
    w.model.PaneMouseDown(c.pane, c.cell);
    const EditId edit = static_cast<EditId>(c.pane);
    w.Type(edit, c.typed);
    w.Key(edit, kKeyEnter);
    SCOPED_TRACE(c.name);
    EXPECT_EQ(w.model.edit_mode(), EditMode::kNone);
    const CpuState& cpu = w.machine.cpu;
    const uint16_t got = c.where == kRegister ? (c.at == kPswIndex ? cpu.psw : cpu.R(c.at))
                         : c.where == kByte   ? w.machine.ram()[c.at]
                                              : w.machine.PeekWord(c.at);
    EXPECT_EQ(got, c.want);
    EXPECT_FALSE(w.machine.run.rom_modified()) << "only assembly counts as a change of code";
  }
}

TEST(DebugWindowModel, MemoryStartAddressNeedsAWholePageOfRam) {
  for (const auto& [typed, bin_top] : {std::pair{"3F60", 0x3F60}, std::pair{"3F70", 0}}) {
    Window w;  // RamTop 3FFF, ten rows
    w.model.PaneMouseDown(Pane::kBinary, {0, 0});
    w.Type(EditId::kBinary, typed);
    w.Key(EditId::kBinary, kKeyEnter);
    EXPECT_EQ(w.model.memory().bin_top(), bin_top) << typed;
  }
  // Scrolling to the end still reaches a later page.
  Window w;
  w.Key(EditId::kBinary, kKeyEnd);
  EXPECT_EQ(w.model.memory().bin_top(), 0x3F60);
}

TEST(DebugWindowModel, NavigationKeysScrollOnlyWhileNoEditIsOpen) {
  struct Case {
    EditId edit;
    int key;
    int top;  // ListTop, RegTop or BinTop afterwards
  } cases[] = {
      {EditId::kList, kKeyDown, 01002},     {EditId::kList, kKeyUp, 0776},
      {EditId::kList, kKeyPageDown, 01024}, {EditId::kList, kKeyHome, 0},
      {EditId::kList, kKeyEnd, 037776},     {EditId::kRegisters, kKeyDown, 1},
      {EditId::kRegisters, kKeyEnd, 4},     {EditId::kBinary, kKeyPageDown, 0x1A0},
      {EditId::kBinary, kKeyUp, 0xF0},      {EditId::kBinary, kKeyLeft, 0x100},
  };
  for (const Case& c : cases) {
    for (bool open : {false, true}) {
      Window w;
      w.model.SetPaneSize(Pane::kRegisters, {10, 6});
      w.model.SetListStart(01000);
      w.model.PaneScroll(Pane::kBinary, 0x10);
      for (Pane p : {Pane::kList, Pane::kRegisters, Pane::kBinary}) w.model.Paint(p);
      if (open) {
        const Cell cell = c.edit == EditId::kRegisters ? Cell{4, 0} : Cell{0, 0};
        w.model.PaneMouseDown(static_cast<Pane>(c.edit), cell);
        ASSERT_NE(w.model.edit_mode(), EditMode::kNone);
      }
      w.Key(c.edit, c.key);
      const int top = c.edit == EditId::kList        ? w.model.list().list_top()
                      : c.edit == EditId::kRegisters ? w.model.registers().reg_top()
                                                     : w.model.memory().bin_top();
      const int before = c.edit == EditId::kList ? 01000 : c.edit == EditId::kBinary ? 0x100 : 0;
      EXPECT_EQ(top, open ? before : c.top) << "key " << c.key << (open ? " open" : " closed");
    }
  }
}

TEST(DebugWindowModel, StepRunsOneInstructionAndLeavesTheRunControls) {
  Window w;
  Deposit(w.machine, 01000, {012700, 5});  // mov #5,r0
  w.machine.cpu.set_pc(01000);
  w.model.DebugShow();
  w.machine.run.RunTo(02000);  // as if set elsewhere: stepping ignores it
  w.model.StepButtonClick();
  EXPECT_EQ(w.machine.cpu.R(0), 5);
  EXPECT_EQ(w.model.list().list_top(), 01004);
  EXPECT_EQ(w.model.active_group(), Group::kStep);
  EXPECT_TRUE(w.machine.run.run_stopped());
  EXPECT_EQ(w.machine.run.breakpoint_address(), 02000);
}

TEST(DebugWindowModel, RunButtonsSetTheStopConditions) {
  struct Case {
    const char* name;
    int radix;
    bool trace;  // the step count's button, else the breakpoint's
    const char* typed;
    bool hides;
    int32_t trace_count, breakpoint;
  } cases[] = {
      {"one step", 16, true, "1", true, 1, -1},
      {"most steps", 16, true, "999999", true, 999999, -1},
      {"zero steps keep the window", 16, true, "0", false, -1, -1},
      {"empty count keeps the window", 16, true, "", false, -1, -1},
      {"breakpoint", 16, false, "F60A", true, -1, 0xF60A},
      {"empty breakpoint is address 0", 16, false, "", true, -1, 0},
      // Six octal digits or five decimal ones reach past 16 bits: kept to an address.
      {"octal breakpoint past 16 bits", 8, false, "777776", true, -1, 0177776},
      {"decimal breakpoint past 16 bits", 10, false, "99999", true, -1, 99999 & 0xFFFF},
  };
  for (const Case& c : cases) {
    Window w(c.radix);
    w.model.DebugShow();
    const EditId edit = c.trace ? EditId::kTrace : EditId::kBreakpoint;
    w.model.GroupClick(c.trace ? Group::kTrace : Group::kBreakpoint);
    w.Type(edit, c.typed);
    SCOPED_TRACE(c.name);
    EXPECT_EQ(c.trace ? w.model.TraceButtonClick() : w.model.BpButtonClick(), c.hides);
    EXPECT_EQ(w.machine.run.trace_count(), c.trace_count);
    EXPECT_EQ(w.machine.run.breakpoint_address(), c.breakpoint);
    EXPECT_EQ(w.Text(edit), c.typed) << "the texts persist between uses";
    EXPECT_EQ(w.model.active_group(), c.trace ? Group::kTrace : Group::kBreakpoint);
  }
}

}  // namespace
}  // namespace orlan
