// The disassembly pane: instructions from ListTop on, one per line, inside an
// address window (all of RAM, or the ROM area), with a scroll bar of one word per
// step.
#ifndef ORLAN_DEBUGGER_DISASSEMBLY_PANE_H_
#define ORLAN_DEBUGGER_DISASSEMBLY_PANE_H_

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "debugger/disassembler.h"
#include "debugger/number_text.h"
#include "debugger/pane_text.h"
#include "debugger/scroll_bar.h"

namespace orlan {

class DisassemblyPane {
 public:
  uint16_t list_top() const { return list_top_; }
  uint16_t list_low() const { return list_low_; }
  uint16_t list_high() const { return list_high_; }
  const ScrollBarState& scroll_bar() const { return bar_; }
  // The address of each line that the last Paint showed, by row; none on a label
  // row.
  std::span<const std::optional<uint16_t>> row_addresses() const { return row_addresses_; }

  // Shows the listing from `address` (made even) in the window that holds it. An
  // address in the gap between RAM and ROM shows the ROM from its start; one past
  // the ROM's end keeps the ROM window and shows nothing.
  void SetListStart(uint16_t address, uint16_t ram_top);

  // The lines that fit `size`. Disassembling reads through the bus (device windows
  // perform their read actions). Sets the scroll bar, whose large change becomes
  // the words on the page unless the page reaches the window's end.
  PaneText Paint(PaneSize size, Disassembler& disassembler, const NumberFormat& format);

  // The edit that a click opens: the first line's address gives the start-address
  // edit, the mnemonic or operands of a shown line the assembly edit for that
  // instruction's address.
  std::optional<EditRequest> Click(Cell cell, PaneSize size, Disassembler& disassembler,
                                   const NumberFormat& format);

  // Moves ListTop to scroll position `position` (words from ListLow), clamped to
  // the bar's range.
  void ScrollTo(int position);

 private:
  // Whether a line starting at `address` is still inside the window (and, for a
  // listing in the upper half, has not wrapped past 177777).
  bool Shows(uint16_t address) const;
  void UpdateBar();

  uint16_t list_top_ = kRomBase;
  uint16_t list_low_ = kRomBase;
  uint16_t list_high_ = kRomLast;
  ScrollBarState bar_;
  std::vector<std::optional<uint16_t>> row_addresses_;
};

}  // namespace orlan

#endif  // ORLAN_DEBUGGER_DISASSEMBLY_PANE_H_
