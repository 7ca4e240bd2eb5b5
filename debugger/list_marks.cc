#include "debugger/list_marks.h"

namespace orlan {

std::vector<RowMark> ListMarks(std::span<const std::optional<uint16_t>> row_addresses,
                               uint16_t pc) {
  std::vector<RowMark> marks;
  for (std::size_t row = 0; row < row_addresses.size(); ++row) {
    if (row_addresses[row] == pc) marks.push_back({static_cast<int>(row), ListMark::kPc});
  }
  return marks;
}

}  // namespace orlan
