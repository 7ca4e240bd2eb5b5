// What the debug window's panes exchange with their view, in character cells: the
// texts to draw, the pane's size, a clicked cell and the in-place edit that a click
// opens.
#ifndef ORLAN_DEBUGGER_PANE_TEXT_H_
#define ORLAN_DEBUGGER_PANE_TEXT_H_

#include <cstdint>
#include <string>
#include <vector>

namespace orlan {

// A text drawn at a character cell, with an opaque background.
struct TextRun {
  int column = 0;
  int row = 0;
  std::string text;

  bool operator==(const TextRun&) const = default;
};
using PaneText = std::vector<TextRun>;

// A pane's size in whole character cells.
struct PaneSize {
  int cols = 0;
  int rows = 0;
};

// A character cell of a pane, counted from 0 at its top left.
struct Cell {
  int column = 0;
  int row = 0;
};

// Which in-place edit is open, and so what Enter does with its text.
enum class EditMode {
  kNone = 0,
  kListAddress = 1,  // start address of the disassembly
  kAssemble = 2,     // instruction typed over a disassembly line
  kRegister = 3,     // value of a register or the PSW
  kBinAddress = 5,   // start address of the memory editor
  kBinCell = 6,      // value of a byte or word cell
  kBinChar = 7,      // a character cell
};

// An in-place edit that a click opens: where it lies, how wide it is (also its
// maximum text length) and how it takes letters.
struct EditRequest {
  EditMode mode = EditMode::kNone;
  uint16_t target = 0;  // address or register index that Enter writes
  int column = 0;
  int width = 0;
  int row = 0;
  bool upper_case = true;  // digits only, upper case; false keeps the typed case

  bool operator==(const EditRequest&) const = default;
};

}  // namespace orlan

#endif  // ORLAN_DEBUGGER_PANE_TEXT_H_
