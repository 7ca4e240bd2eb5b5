// The listing's marker column: the blank between a line's address and its mnemonic,
// which no text uses. The view draws a mark there for the line at PC and for each
// line with a breakpoint.
#ifndef ORLAN_DEBUGGER_LIST_MARKS_H_
#define ORLAN_DEBUGGER_LIST_MARKS_H_

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "debugger/number_text.h"

namespace orlan {

enum class ListMark { kPc, kBreakpoint };

struct RowMark {
  int row = 0;
  ListMark mark = ListMark::kPc;

  bool operator==(const RowMark&) const = default;
};

inline int ListMarkColumn(const NumberFormat& format) { return format.word_digits + 1; }

// The marks of the shown lines, given each row's line address (row order; none for
// a row without an instruction): a line with a breakpoint (`breakpoints` sorted) has
// that mark first, then the line at PC its own.
std::vector<RowMark> ListMarks(std::span<const std::optional<uint16_t>> row_addresses, uint16_t pc,
                               std::span<const uint16_t> breakpoints = {});

}  // namespace orlan

#endif  // ORLAN_DEBUGGER_LIST_MARKS_H_
