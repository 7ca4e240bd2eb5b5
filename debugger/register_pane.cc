#include "debugger/register_pane.h"

#include <algorithm>
#include <array>
#include <string_view>

namespace orlan {
namespace {

constexpr std::array<std::string_view, kRegisterRows - 1> kRegLabels = {
    "R0:", "R1:", "R2:", "R3:", "R4:", "R5:", "SP:", "PC:", "PSW:"};

struct Flag {
  char letter;
  uint16_t mask;
};
constexpr std::array<Flag, 5> kFlags = {
    {{'T', kPswT}, {'N', kPswN}, {'Z', kPswZ}, {'V', kPswV}, {'C', kPswC}}};

}  // namespace

int RegisterPane::UsedRows(PaneSize size) { return std::clamp(size.rows, 0, kRegisterRows); }

void RegisterPane::Fit(PaneSize size) {
  const int rows = UsedRows(size);
  bar_.SetRange(0, kRegisterRows - std::max(rows, 1));
  reg_top_ = std::clamp(reg_top_, bar_.min, bar_.max);
  bar_.SetPosition(reg_top_);
}

PaneText RegisterPane::Paint(PaneSize size, const CpuState& cpu, const NumberFormat& format) {
  Fit(size);
  const int rows = UsedRows(size);
  PaneText runs;
  if (rows == 0) return runs;
  for (int r = 0; r < rows - 1; ++r) {
    const int i = reg_top_ + r;
    const uint16_t value = i == kPswIndex ? cpu.psw : cpu.R(i);
    runs.push_back({0, r, std::string(kRegLabels[static_cast<std::size_t>(i)])});
    runs.push_back({kRegisterValueColumn, r, format.WordToText(value, '0')});
  }
  std::string flags;
  for (const Flag& f : kFlags) flags += (cpu.psw & f.mask) ? f.letter : '-';
  // A processor in WAIT fetches nothing until an interrupt request: a plain step
  // would seem to do nothing.
  if (cpu.wait) flags += " WAIT";
  runs.push_back({0, rows - 1, flags});
  bar_.large_change = std::max(rows - 1, 1);
  return runs;
}

std::optional<EditRequest> RegisterPane::Click(Cell cell, PaneSize size,
                                               const NumberFormat& format) {
  Fit(size);
  const int w = format.word_digits;
  if (cell.column < kRegisterValueColumn || cell.column >= w + kRegisterValueColumn) {
    return std::nullopt;
  }
  if (cell.row < 0 || cell.row >= UsedRows(size) - 1) return std::nullopt;
  return EditRequest{EditMode::kRegister,
                     static_cast<uint16_t>(reg_top_ + cell.row),
                     kRegisterValueColumn,
                     w,
                     cell.row,
                     true};
}

void RegisterPane::ScrollTo(int position, PaneSize size) {
  Fit(size);
  bar_.SetPosition(position);
  reg_top_ = bar_.position;
}

void RegisterPane::Store(CpuState& cpu, int index, uint32_t value) {
  const auto v = static_cast<uint16_t>(value);
  if (index == kPswIndex) {
    cpu.psw = v;
  } else if (index == kSp || index == kPc) {
    cpu.SetR(index, v & 0177776);
  } else if (index >= 0 && index < kSp) {
    cpu.SetR(index, v);
  }
}

}  // namespace orlan
