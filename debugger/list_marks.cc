#include "debugger/list_marks.h"

#include <algorithm>

namespace orlan {

std::vector<RowMark> ListMarks(std::span<const std::optional<uint16_t>> row_addresses, uint16_t pc,
                               std::span<const uint16_t> breakpoints) {
  std::vector<RowMark> marks;
  for (std::size_t row = 0; row < row_addresses.size(); ++row) {
    const std::optional<uint16_t> line = row_addresses[row];
    if (!line) continue;
    const int r = static_cast<int>(row);
    if (std::binary_search(breakpoints.begin(), breakpoints.end(), *line)) {
      marks.push_back({r, ListMark::kBreakpoint});
    }
    if (*line == pc) marks.push_back({r, ListMark::kPc});
  }
  return marks;
}

}  // namespace orlan
