// The debug window with the symbols of a program assembled by the cross-assembler:
// labels as rows, operands by name, names in every address edit and in assembly.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "debugger/symbol_file.h"
#include "tests/debugger/assembled_window.h"

namespace orlan {
namespace {

using testing::AssembleInto;
using testing::Window;

constexpr char kProgram[] =
    "        . = 1000\n"
    "start:  mov #buf,r0\n"
    "loop:   jsr pc,putc\n"
    "        tst @#buf\n"
    "        dec r1\n"
    "        bne loop\n"
    "        sob r1,loop\n"
    "        br quit\n"
    "putc:\n"
    "quit:   rts pc\n"
    "buf:    .word 0\n";

// A base-8 window holding the program, with the symbols read from the file that
// the cross-assembler writes.
struct SymbolicWindow : Window {
  SymbolicWindow() : Window(8) {
    AssembleInto(*this, kProgram);
    model.SetListStart(01000);
  }
};

TEST(SymbolicWindow, ListingShowsLabelRowsAndNamedTargets) {
  SymbolicWindow w;
  w.machine.cpu.set_pc(01004);
  EXPECT_EQ(
      testing::PaneRows(w.model.Paint(Pane::kList)),
      (std::vector<std::string>{"start:",
                                "001000: mov   #1026,r0",  // immediates stay numbers
                                "loop:", "001004: jsr   pc,putc", "001010: tst   @#buf",
                                "001014: dec   r1", "001016: bne   loop", "001020: sob   r1,loop",
                                "001022: br    putc",  // the first of two names
                                "putc:"}));
  // The mark of the line at PC sits on the instruction's row, not on its label's.
  EXPECT_EQ(w.model.ListMarks(), (std::vector<RowMark>{{3, ListMark::kPc}}));
  // A page is still the words it shows: the last instruction did not fit.
  EXPECT_EQ(w.model.scroll_bar(Pane::kList).large_change, 10);
}

TEST(SymbolicWindow, ClicksOnLabelRowsOpenNothing) {
  struct Case {
    Cell cell;
    EditMode mode;
    uint16_t target;
    int width;
  } cases[] = {
      {{0, 0}, EditMode::kListAddress, 01000, testing::kListSize.cols},  // wide enough for a name
      {{10, 0}, EditMode::kNone, 0, 0},                                  // label row
      {{10, 1}, EditMode::kAssemble, 01000, 26},
      {{10, 3}, EditMode::kAssemble, 01004, 26},
      {{10, 8}, EditMode::kAssemble, 01022, 26},
      {{10, 9}, EditMode::kNone, 0, 0},  // label row at the bottom
  };
  for (const Case& c : cases) {
    SymbolicWindow w;
    w.model.PaneMouseDown(Pane::kList, c.cell);
    SCOPED_TRACE(c.cell.row);
    EXPECT_EQ(w.model.edit_mode(), c.mode);
    EXPECT_EQ(w.model.edit(EditId::kList).width, c.width);
    if (c.mode != EditMode::kNone) {
      EXPECT_EQ(w.model.edit_target(), c.target);
    }
  }
}

TEST(SymbolicWindow, AddressEditsAndAssemblyTakeNames) {
  enum Where { kListStart, kAssembleAtDec, kBreakpoint, kBinStart };
  struct Case {
    Where where;
    const char* typed;
    uint16_t result;    // list top, word stored at 001014, breakpoint or memory top
    const char* error;  // the edit's error when Enter does not take the text
    int caret;
  } cases[] = {
      {kListStart, "loop", 01004, "", 0},
      {kListStart, " putc+2 ", 01026, "", 0},
      {kListStart, "1010", 01010, "", 0},
      {kListStart, "nowhere", 01000, "unknown symbol: nowhere", 0},
      {kListStart, "loop x", 01000, "unexpected text after the address", 5},
      {kAssembleAtDec, "jsr pc,putc", 004767, "", 0},
      {kAssembleAtDec, "br nowhere", 005301, "unknown symbol: nowhere", 3},
      {kBreakpoint, "putc", 01024, "", 0},
      {kBreakpoint, "Putc", 0177777, "unknown symbol: Putc", 0},  // names keep their case
      {kBinStart, "buf", 01020, "", 0},
  };
  for (const Case& c : cases) {
    SymbolicWindow w;
    SCOPED_TRACE(c.typed);
    EditId edit = EditId::kList;
    bool taken = true;
    switch (c.where) {
      case kListStart:
      case kAssembleAtDec:
        w.model.PaneMouseDown(Pane::kList, c.where == kListStart ? Cell{0, 0} : Cell{10, 5});
        w.Type(edit, c.typed);
        w.Key(edit, kKeyEnter);
        taken = w.model.edit_mode() == EditMode::kNone;
        EXPECT_EQ(c.where == kListStart ? w.model.list().list_top() : w.machine.PeekWord(01014),
                  c.result);
        break;
      case kBreakpoint:
        edit = EditId::kBreakpoint;
        w.model.GroupClick(Group::kBreakpoint);
        w.Type(edit, c.typed);
        taken = w.model.BpButtonClick();
        EXPECT_EQ(static_cast<uint16_t>(w.machine.run.breakpoint_address()), c.result);
        break;
      case kBinStart:
        edit = EditId::kBinary;
        w.model.PaneMouseDown(Pane::kBinary, {0, 0});
        w.Type(edit, c.typed);
        w.Key(edit, kKeyEnter);
        EXPECT_EQ(w.model.memory().bin_top(), c.result);
        break;
    }
    EXPECT_EQ(taken, *c.error == '\0');
    EXPECT_EQ(w.model.edit(edit).reason, c.error);
    if (!taken) {
      EXPECT_EQ(w.model.edit(edit).state.caret, c.caret);
    }
  }
}

}  // namespace
}  // namespace orlan
