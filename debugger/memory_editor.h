// The memory editor: RAM as lines of 16 bytes from BinTop on, shown as byte or word
// cells and as characters. It works on the RAM store directly, never through the
// bus, so it cannot reach a device or the ROM.
#ifndef ORLAN_DEBUGGER_MEMORY_EDITOR_H_
#define ORLAN_DEBUGGER_MEMORY_EDITOR_H_

#include <cstdint>
#include <optional>

#include "core/machine.h"
#include "debugger/number_text.h"
#include "debugger/pane_text.h"
#include "debugger/scroll_bar.h"

namespace orlan {

inline constexpr int kBytesPerLine = 16;

// Character columns of a line, from 0.
inline int BinCellColumn(const NumberFormat& f, int offset) {
  return f.word_digits + 2 + (f.byte_digits + 1) * offset;
}
inline int BinCharColumn(const NumberFormat& f) {
  return f.word_digits + kBytesPerLine * f.byte_digits + 18;
}

class MemoryEditor {
 public:
  uint16_t bin_top() const { return bin_top_; }
  // 1: byte cells, 2: word cells.
  int bin_unit() const { return bin_unit_; }
  void set_bin_unit(int unit) { bin_unit_ = unit == 2 ? 2 : 1; }
  const ScrollBarState& scroll_bar() const { return bar_; }

  // The lines that fit `size`, up to the end of RAM. Sets the scroll bar.
  PaneText Paint(PaneSize size, const Machine& machine, const NumberFormat& format);

  // The edit that a click opens: the first line's address, the digits of a cell or
  // a character, as long as the cell lies in RAM.
  std::optional<EditRequest> Click(Cell cell, PaneSize size, uint16_t ram_top,
                                   const NumberFormat& format);

  // Shows line `position` (clamped to what `size` can scroll) first.
  void ScrollTo(int position, PaneSize size, uint16_t ram_top);

  // Takes a typed start address (its low 16 bits, down to a multiple of 16) only
  // when a whole page from it lies in RAM; gives whether it was taken.
  bool AcceptStart(uint32_t value, PaneSize size, uint16_t ram_top);

  // Stores a typed value into the cell at `address`, modulo the cell size.
  void StoreCell(Machine& machine, uint16_t address, uint32_t value) const;

  // Brings the scroll bar's range and position up to date for `size`.
  void UpdateBar(PaneSize size, uint16_t ram_top);

 private:
  void UpdateRange(PaneSize size, uint16_t ram_top);

  uint16_t bin_top_ = 0;
  int bin_unit_ = 1;
  ScrollBarState bar_;
};

}  // namespace orlan

#endif  // ORLAN_DEBUGGER_MEMORY_EDITOR_H_
