#include "debugger/disassembly_pane.h"

#include "debugger/disassembly_line.h"

namespace orlan {

void DisassemblyPane::SetListStart(uint16_t address, uint16_t ram_top) {
  list_top_ = address & 0177776;
  if (list_top_ >= kRomBase) {
    list_low_ = kRomBase;
    list_high_ = kRomLast;
  } else if (list_top_ <= ram_top) {
    list_low_ = 0;
    list_high_ = ram_top;
  } else {
    list_top_ = kRomBase;
    list_low_ = kRomBase;
    list_high_ = kRomLast;
  }
  UpdateBar();
}

bool DisassemblyPane::Shows(uint16_t address) const {
  if (address > list_high_) return false;
  return !(list_top_ >= 0100000 && address < 0100000);
}

void DisassemblyPane::UpdateBar() {
  bar_.SetRange(0, (list_high_ - list_low_) / 2);
  bar_.SetPosition((list_top_ - list_low_) / 2);
}

PaneText DisassemblyPane::Paint(PaneSize size, Disassembler& disassembler,
                                const NumberFormat& format) {
  PaneText runs;
  row_addresses_.clear();
  disassembler.set_address(list_top_);
  int r = 0;
  while (r < size.rows && Shows(disassembler.address())) {
    // The instruction's names come first, each on a row of its own.
    for (const std::string& name : disassembler.LabelsAt(disassembler.address())) {
      if (r >= size.rows) break;
      runs.push_back({0, r++, LabelText(name)});
      row_addresses_.push_back(std::nullopt);
    }
    if (r >= size.rows) break;
    const DisassembledLine line = disassembler.Next();
    row_addresses_.push_back(line.address);
    runs.push_back({0, r, AddressText(line.address, format)});
    runs.push_back({MnemonicColumn(format), r, line.mnemonic});
    if (!line.operands.empty()) runs.push_back({OperandColumn(format), r, line.operands});
    ++r;
  }
  UpdateBar();
  const uint16_t end = disassembler.address();
  // A page that reaches the window's end (or shows nothing) says nothing about the
  // page length; the bar keeps its last one.
  if (end < list_high_ && end > list_top_) bar_.large_change = (end - list_top_) / 2;
  return runs;
}

std::optional<EditRequest> DisassemblyPane::Click(Cell cell, PaneSize size,
                                                  Disassembler& disassembler,
                                                  const NumberFormat& format) {
  const int w = format.word_digits;
  if (cell.row < 0 || cell.row >= size.rows || cell.column < 0) return std::nullopt;
  if (cell.row == 0 && cell.column < w) {
    return EditRequest{EditMode::kListAddress, list_top_, 0, w, 0, true};
  }
  if (cell.column < w + 2 || cell.column >= size.cols) return std::nullopt;
  // Walk the rows as painting lays them out, producing every line above the clicked
  // one; the clicked line must be one that painting shows.
  disassembler.set_address(list_top_);
  for (int r = 0;; ++r) {
    if (!Shows(disassembler.address())) return std::nullopt;
    r += static_cast<int>(disassembler.LabelsAt(disassembler.address()).size());
    if (r > cell.row) return std::nullopt;  // a label row opens nothing
    if (r == cell.row) break;
    disassembler.Next();
  }
  return EditRequest{
      EditMode::kAssemble, disassembler.address(), w + 2, size.cols - w - 2, cell.row, false};
}

void DisassemblyPane::ScrollTo(int position) {
  bar_.SetPosition(position);
  list_top_ = static_cast<uint16_t>(list_low_ + 2 * bar_.position);
}

}  // namespace orlan
