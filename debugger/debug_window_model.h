// The debug window without its toolkit: the state and every event handler of the
// window, its three panes and its run controls, working on character cells, key
// codes and edit texts. A view forwards its events here, draws the text runs that
// Paint gives and mirrors the edits, scroll bars and active group it reads back.
#ifndef ORLAN_DEBUGGER_DEBUG_WINDOW_MODEL_H_
#define ORLAN_DEBUGGER_DEBUG_WINDOW_MODEL_H_

#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "core/machine.h"
#include "debugger/disassembler.h"
#include "debugger/disassembly_pane.h"
#include "debugger/edit_text.h"
#include "debugger/line_assembler.h"
#include "debugger/list_marks.h"
#include "debugger/memory_editor.h"
#include "debugger/number_text.h"
#include "debugger/pane_text.h"
#include "debugger/register_pane.h"
#include "debugger/run_watch.h"
#include "debugger/scroll_bar.h"
#include "debugger/symbol_table.h"

namespace orlan {

// The panes that draw text and have an in-place edit and a scroll bar.
enum class Pane { kList, kRegisters, kBinary };
inline constexpr int kPaneCount = 3;

// The window's edits: the three in-place edits (one per pane, same order) and the
// run controls' step count and breakpoint address.
enum class EditId { kList, kRegisters, kBinary, kTrace, kBreakpoint };
inline constexpr int kEditCount = 5;

// The six group boxes; the active one has a highlighted caption and its input
// control (the pane's edit, the " Single step " box itself, the step count or the
// breakpoint edit) has the keyboard focus.
enum class Group { kList, kRegisters, kBinary, kStep, kTrace, kBreakpoint };

// An edit as the view should show it.
struct EditBox {
  EditText state;
  // In-place edits: cells of the pane; a width of 0 is the closed edit, which stays
  // present (and may keep the focus) but shows nothing.
  int column = 0;
  int row = 0;
  int width = 0;
  int max_length = 0;  // characters; 0: no limit
  bool upper_case = false;
  // Why the text was refused (a line that does not assemble, an address or symbol
  // that names nothing), shown beside the caret until the text changes; empty
  // otherwise.
  std::string reason;

  bool open() const { return width > 0; }
};

inline constexpr int32_t kResumeDelayTicks = 30;  // run ticks skipped after hiding
inline constexpr int kTraceDigits = 6;            // the step count is at most 999999
inline constexpr uint16_t kInitialListStart = kRomBase;
// Characters of an address edit that takes symbols.
inline constexpr int kSymbolEditLength = 64;

class DebugWindowModel {
 public:
  // The machine must outlive the model.
  explicit DebugWindowModel(Machine& machine);
  DebugWindowModel(const DebugWindowModel&) = delete;
  DebugWindowModel& operator=(const DebugWindowModel&) = delete;

  // --- window -------------------------------------------------------------------
  // Once at program start: takes the number base (the Radix setting; 16 for a value
  // outside 8 to 16) and sets the initial listing.
  void DebugCreate(int64_t radix_setting);
  // Each time the window becomes visible: stops the run and lists from PC.
  void DebugShow();
  // Each time it is hidden (Run buttons, close box): the run resumes 30 ticks later,
  // and on_release learns that the machine is the run's again.
  void DebugHide();
  std::function<void()> on_release;
  // Window width in pixels for the number base, and the memory editor group's.
  int WindowWidth() const;
  int BinGroupWidth() const { return WindowWidth() - 24; }

  // --- panes --------------------------------------------------------------------
  // The view reports each pane's size in cells whenever it changes.
  void SetPaneSize(Pane pane, PaneSize size);
  PaneSize pane_size(Pane pane) const { return sizes_[Index(pane)]; }
  // The texts to draw; also brings the pane's scroll bar up to date. Painting the
  // listing reads through the bus.
  PaneText Paint(Pane pane);
  const ScrollBarState& scroll_bar(Pane pane) const;
  // The listing's line marks (the line at PC, breakpoints) for the lines that its
  // last Paint showed, drawn in the column ListMarkColumn(format()).
  std::vector<RowMark> ListMarks() const;
  // A mouse button down on a cell: activates the pane's group and closes any edit,
  // then opens the edit that the cell asks for, if any. In the listing, a click on a
  // line's address (the first line's opens the start-address edit) or on the marker
  // column after it sets or clears a breakpoint there; any click on a line makes it
  // the cursor line.
  void PaneMouseDown(Pane pane, Cell cell);
  // The user moved the pane's scroll bar to `position`.
  void PaneScroll(Pane pane, int position);
  // "byte" (1) or "word" (2) chosen for the memory editor.
  void BinRadioButtonClick(int unit);

  // --- edits --------------------------------------------------------------------
  // A key went down in one of the in-place edits: navigation keys scroll its pane
  // while no edit is open, Enter takes the open edit's text, Escape closes it.
  void EditKeyDown(EditId edit, int key);
  // The text, caret or selection of an edit changed; the model applies upper case,
  // the length limit and the digit filter, and the view shows edit() again.
  void EditChange(EditId edit, const EditText& text);
  const EditBox& edit(EditId edit) const { return edits_[Index(edit)]; }
  EditMode edit_mode() const { return edit_mode_; }
  uint16_t edit_target() const { return edit_target_; }
  // Closes the open edit; every in-place edit is emptied and shrunk to nothing.
  void EndEdit();

  // --- groups and run controls ---------------------------------------------------
  // A click on a group box (or on the step count or breakpoint edit).
  void GroupClick(Group group);
  Group active_group() const { return active_group_; }
  // Executes one step and lists from the new PC; the window stays. A processor in
  // WAIT leaves it (as a wake-up would, taking no interrupt) and executes the next
  // instruction.
  void StepButtonClick();
  // Step over: at a call (jsr, emt, trap, iot, bpt) runs until the stack is back to
  // its depth before it and gives true: the window must hide. Elsewhere a single
  // step (false).
  [[nodiscard]] bool StepOverClick();
  // Step out: runs until the current routine returns; gives true (hide).
  [[nodiscard]] bool StepOutClick();
  // Runs until PC reaches the cursor line and gives true (hide); false without one.
  [[nodiscard]] bool RunToCursorClick();
  // The listing line last clicked (or the one being assembled); none at first.
  const std::optional<uint16_t>& cursor_line() const { return cursor_line_; }
  // Runs the number of steps in the step count edit. Gives true when the window
  // must hide (a count above 0).
  [[nodiscard]] bool TraceButtonClick();
  // Runs until PC reaches the address in the breakpoint edit and gives true: the
  // window must hide. With symbols, a text that names no address gives false and
  // the edit's error says why.
  [[nodiscard]] bool BpButtonClick();

  // --- symbols ------------------------------------------------------------------
  // The names of addresses. With any, the listing shows labels and symbolic
  // operands, the assembler takes names, and the address edits (start addresses,
  // breakpoint) take names as typed, in any case and without the digit filter.
  // Without, every text and edit is exactly as it always was.
  void SetSymbols(SymbolTable symbols);
  const SymbolTable& symbols() const { return symbols_; }

  // --- breakpoints, watchpoints, history ----------------------------------------
  RunWatch& watch() { return watch_; }
  const RunWatch& watch() const { return watch_; }
  // What the window says about the machine: why the run stopped ("0100: breakpoint",
  // at the last show), else empty.
  std::string StopText() const;
  // The instruction history is kept while its view is shown.
  void SetHistoryShown(bool shown) { watch_.SetHistory(shown); }
  // Its lines, oldest first.
  std::vector<std::string> HistoryLines();

  // --- state --------------------------------------------------------------------
  void SetListStart(uint16_t address) { list_.SetListStart(address, machine_.ram_top()); }
  const DisassemblyPane& list() const { return list_; }
  const RegisterPane& registers() const { return registers_; }
  const MemoryEditor& memory() const { return memory_; }
  const NumberFormat& format() const { return format_; }
  Machine& machine() { return machine_; }

 private:
  template <typename E>
  static std::size_t Index(E e) {
    return static_cast<std::size_t>(e);
  }
  EditBox& box(EditId id) { return edits_[Index(id)]; }
  // Focus the group's input control, highlight it and close any edit.
  void Activate(Group group);
  // Brings a pane's scroll bar up to date with its size and the RAM size.
  void UpdateBar(Pane pane);
  // Moves a pane's first line to scroll position `position`.
  void ScrollPaneTo(Pane pane, int position);
  void BeginEdit(EditId id, const EditRequest& request);
  // A click on a shown listing line: makes it the cursor line; on its address or
  // marker column toggles its breakpoint and gives true.
  bool ListLineClick(Cell cell);
  // Enter in each pane's edit.
  void ListEnter();
  void RegisterEnter();
  void BinEnter();
  // The base that the digit filter of an edit uses now, or 0 for no filtering.
  int FilterBase(EditId id) const;
  bool TakesNames() const { return !symbols_.empty(); }
  // The breakpoint edit's case and length, which follow the symbols.
  void ConfigureBreakpointEdit();
  // Lets an address edit that a click opens take names.
  void WidenForNames(EditRequest& request, PaneSize size) const;
  // The address in an edit's text: its number, or with symbols its name. A text that
  // is neither leaves the edit's error and puts the caret at the fault.
  std::optional<uint32_t> EditAddress(EditId id);

  Machine& machine_;
  RunWatch watch_;
  std::optional<uint16_t> cursor_line_;
  NumberFormat format_;
  SymbolTable symbols_;
  Disassembler disassembler_;
  LineAssembler assembler_;
  DisassemblyPane list_;
  RegisterPane registers_;
  MemoryEditor memory_;
  std::array<PaneSize, kPaneCount> sizes_{};
  std::array<EditBox, kEditCount> edits_{};
  EditMode edit_mode_ = EditMode::kNone;
  uint16_t edit_target_ = 0;
  Group active_group_ = Group::kList;
};

}  // namespace orlan

#endif  // ORLAN_DEBUGGER_DEBUG_WINDOW_MODEL_H_
