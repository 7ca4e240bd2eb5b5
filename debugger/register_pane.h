// The register pane: R0 to R7 and the PSW, one per row from RegTop on, and a last
// row with the PSW's flags T, N, Z, V, C, and "WAIT" while the processor waits.
#ifndef ORLAN_DEBUGGER_REGISTER_PANE_H_
#define ORLAN_DEBUGGER_REGISTER_PANE_H_

#include <cstdint>
#include <optional>

#include "core/cpu_state.h"
#include "debugger/number_text.h"
#include "debugger/pane_text.h"
#include "debugger/scroll_bar.h"

namespace orlan {

inline constexpr int kRegisterRows = 10;  // R0-R7, PSW and the flag row
inline constexpr int kPswIndex = 8;
inline constexpr int kRegisterValueColumn = 4;

class RegisterPane {
 public:
  int reg_top() const { return reg_top_; }
  const ScrollBarState& scroll_bar() const { return bar_; }

  // The rows that fit `size`, at most all ten. Sets the scroll bar.
  PaneText Paint(PaneSize size, const CpuState& cpu, const NumberFormat& format);

  // The edit that a click on a register's value opens; labels and the flag row
  // open nothing.
  std::optional<EditRequest> Click(Cell cell, PaneSize size, const NumberFormat& format);

  // Makes `position` (clamped to what `size` can scroll) the first shown register.
  void ScrollTo(int position, PaneSize size);

  // Stores a typed value: the low 16 bits; SP and PC are kept even; the PSW takes
  // all sixteen bits.
  static void Store(CpuState& cpu, int index, uint32_t value);

  // Brings the scroll bar up to date for `size`, keeping RegTop where every shown
  // row is a register (also after the pane grew).
  void Fit(PaneSize size);

 private:
  // Rows used: the pane's rows, at most ten.
  static int UsedRows(PaneSize size);

  int reg_top_ = 0;
  ScrollBarState bar_;
};

}  // namespace orlan

#endif  // ORLAN_DEBUGGER_REGISTER_PANE_H_
