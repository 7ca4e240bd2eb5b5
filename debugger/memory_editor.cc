#include "debugger/memory_editor.h"

#include <algorithm>

#include "core/word.h"

namespace orlan {

void MemoryEditor::UpdateRange(PaneSize size, uint16_t ram_top) {
  bar_.SetRange(0, (ram_top + 1) / kBytesPerLine - std::max(size.rows, 0));
}

void MemoryEditor::UpdateBar(PaneSize size, uint16_t ram_top) {
  UpdateRange(size, ram_top);
  bar_.SetPosition(bin_top_ / kBytesPerLine);
}

PaneText MemoryEditor::Paint(PaneSize size, const Machine& machine, const NumberFormat& format) {
  const auto ram = machine.ram();
  const uint16_t ram_top = machine.ram_top();
  PaneText runs;
  unsigned a = bin_top_;
  for (int r = 0; r < size.rows && a <= ram_top; ++r, a += kBytesPerLine) {
    runs.push_back({0, r, format.WordToText(static_cast<uint16_t>(a), '0') + ":"});
    for (int d = 0; d < kBytesPerLine; d += bin_unit_) {
      const uint8_t* cell = &ram[a + static_cast<unsigned>(d)];
      runs.push_back({BinCellColumn(format, d), r,
                      bin_unit_ == 2 ? format.WordToText(LoadWord(cell), '0')
                                     : format.ByteToText(*cell, '0')});
    }
    std::string chars;
    for (int j = 0; j < kBytesPerLine; ++j) {
      const uint8_t b = ram[a + static_cast<unsigned>(j)];
      chars += b >= 0x20 && b <= 0x7E ? static_cast<char>(b) : '.';
    }
    runs.push_back({BinCharColumn(format), r, chars});
  }
  UpdateBar(size, ram_top);
  bar_.large_change = std::max(size.rows, 1);
  return runs;
}

std::optional<EditRequest> MemoryEditor::Click(Cell cell, PaneSize size, uint16_t ram_top,
                                               const NumberFormat& format) {
  const int c = cell.column;
  const int r = cell.row;
  if (r < 0 || r >= size.rows || c < 0) return std::nullopt;
  const int w = format.word_digits;
  const int width = bin_unit_ == 2 ? w : format.byte_digits;
  const int pitch = (format.byte_digits + 1) * bin_unit_;
  const int chars = BinCharColumn(format);
  const auto line = static_cast<uint16_t>(bin_top_ + kBytesPerLine * r);
  if (r == 0 && c < w) return EditRequest{EditMode::kBinAddress, 0, 0, w, 0, true};
  if (c >= w + 2 && c < chars && (c - w - 2) % pitch < width) {
    const int k = (c - w - 2) / pitch;
    const auto address = static_cast<uint16_t>(line + bin_unit_ * k);
    if (address > ram_top) return std::nullopt;
    return EditRequest{EditMode::kBinCell, address, k * pitch + w + 2, width, r, true};
  }
  if (c >= chars && c < chars + kBytesPerLine) {
    const auto address = static_cast<uint16_t>(line + (c - chars));
    if (address > ram_top) return std::nullopt;
    return EditRequest{EditMode::kBinChar, address, c, 1, r, false};
  }
  return std::nullopt;
}

void MemoryEditor::ScrollTo(int position, PaneSize size, uint16_t ram_top) {
  UpdateRange(size, ram_top);
  bar_.SetPosition(position);
  bin_top_ = static_cast<uint16_t>(kBytesPerLine * bar_.position);
}

bool MemoryEditor::AcceptStart(uint32_t value, PaneSize size, uint16_t ram_top) {
  const uint16_t v = static_cast<uint16_t>(value) & 0177760;
  // Counted without wrapping, so a huge pane can never make a page look short. The
  // page may end exactly at the end of RAM: the scroll bar's last page does.
  const long long page_end = static_cast<long long>(v) + kBytesPerLine * std::max(size.rows, 0);
  if (v > ram_top || page_end > ram_top + 1) return false;
  bin_top_ = v;
  return true;
}

void MemoryEditor::StoreCell(Machine& machine, uint16_t address, uint32_t value) const {
  const unsigned last = address + (bin_unit_ == 2 ? 1u : 0u);
  if (last > machine.ram_top()) return;
  uint8_t* cell = &machine.ram()[address];
  if (bin_unit_ == 2) {
    StoreWord(cell, static_cast<uint16_t>(value));
  } else {
    StoreByte(cell, static_cast<uint8_t>(value));
  }
}

}  // namespace orlan
