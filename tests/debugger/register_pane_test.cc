#include "debugger/register_pane.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "tests/debugger/window_test_util.h"

namespace orlan {
namespace {

CpuState SampleCpu() {
  CpuState cpu;
  for (int i = 0; i < 8; ++i) cpu.SetR(i, static_cast<uint16_t>(0x1111 * i));
  cpu.psw = 0x1A;  // T, N and V
  return cpu;
}

TEST(RegisterPane, RowsWithLabelsValuesAndFlags) {
  using Rows = std::vector<std::string>;
  struct Case {
    int radix;
    PaneSize size;
    int reg_top;  // asked for by scrolling
    Rows rows;
  } cases[] = {
      {16,
       {10, 10},
       0,
       {"R0: 0000", "R1: 1111", "R2: 2222", "R3: 3333", "R4: 4444", "R5: 5555", "SP: 6666",
        "PC: 7777", "PSW:001A", "TN-V-"}},
      // A taller pane still shows ten rows.
      {8,
       {10, 12},
       0,
       {"R0: 000000", "R1: 010421", "R2: 021042", "R3: 031463", "R4: 042104", "R5: 052525",
        "SP: 063146", "PC: 073567", "PSW:000032", "TN-V-"}},
      {16, {10, 4}, 6, {"SP: 6666", "PC: 7777", "PSW:001A", "TN-V-"}},
  };
  for (const Case& c : cases) {
    RegisterPane pane;
    pane.ScrollTo(c.reg_top, c.size);
    EXPECT_EQ(testing::PaneRows(pane.Paint(c.size, SampleCpu(), NumberFormat::ForRadix(c.radix))),
              c.rows)
        << "base " << c.radix;
  }
}

TEST(RegisterPane, ScrollBarCoversTheRowsThatDoNotFit) {
  struct Case {
    int rows;
    int max, large_change;
  } cases[] = {{10, 0, 9}, {14, 0, 9}, {8, 2, 7}, {4, 6, 3}};
  for (const Case& c : cases) {
    RegisterPane pane;
    pane.Paint({10, c.rows}, CpuState(), NumberFormat());
    EXPECT_EQ(pane.scroll_bar().max, c.max) << c.rows;
    EXPECT_EQ(pane.scroll_bar().large_change, c.large_change) << c.rows;
  }
}

TEST(RegisterPane, ScrolledPaneThatGrowsNeverShowsARowPastThePsw) {
  RegisterPane pane;
  pane.ScrollTo(2, {10, 8});
  EXPECT_EQ(pane.reg_top(), 2);
  const auto rows = testing::PaneRows(pane.Paint({10, 10}, SampleCpu(), NumberFormat()));
  EXPECT_EQ(pane.reg_top(), 0);
  EXPECT_EQ(rows.front(), "R0: 0000");
  EXPECT_EQ(rows[8], "PSW:001A");
  // A click on the last register row edits the PSW, not a register that is not there.
  const auto edit = pane.Click({4, 8}, {10, 10}, NumberFormat());
  ASSERT_TRUE(edit);
  EXPECT_EQ(edit->target, kPswIndex);
}

TEST(RegisterPane, OnlyValueFieldsOpenAnEdit) {
  struct Case {
    int radix;
    int rows, reg_top;
    Cell cell;
    std::optional<EditRequest> want;
  } cases[] = {
      {16, 10, 0, {4, 0}, EditRequest{EditMode::kRegister, 0, 4, 4, 0, true}},
      {16, 10, 0, {7, 7}, EditRequest{EditMode::kRegister, 7, 4, 4, 7, true}},
      {16, 10, 0, {4, 8}, EditRequest{EditMode::kRegister, 8, 4, 4, 8, true}},
      {16, 10, 0, {8, 0}, std::nullopt},  // past the digits
      {16, 10, 0, {3, 0}, std::nullopt},  // the label
      {16, 10, 0, {4, 9}, std::nullopt},  // the flag row
      {8, 10, 0, {9, 1}, EditRequest{EditMode::kRegister, 1, 4, 6, 1, true}},
      {8, 10, 0, {10, 1}, std::nullopt},
      {16, 6, 3, {4, 0}, EditRequest{EditMode::kRegister, 3, 4, 4, 0, true}},
      {16, 6, 3, {4, 4}, EditRequest{EditMode::kRegister, 7, 4, 4, 4, true}},
      {16, 6, 3, {4, 5}, std::nullopt},  // flag row of the short pane
  };
  for (const Case& c : cases) {
    RegisterPane pane;
    pane.ScrollTo(c.reg_top, {10, c.rows});
    EXPECT_EQ(pane.Click(c.cell, {10, c.rows}, NumberFormat::ForRadix(c.radix)), c.want)
        << "base " << c.radix << " cell " << c.cell.column << "," << c.cell.row;
  }
}

TEST(RegisterPane, StoredValuesKeepSpAndPcEven) {
  struct Case {
    int index;
    uint32_t value;
    uint16_t want;
  } cases[] = {
      {0, 0x12345, 0x2345}, {5, 0x0001, 0x0001}, {6, 0x1001, 0x1000},
      {7, 0xF603, 0xF602},  {8, 0xFFFF, 0xFFFF}, {8, 0x10101, 0x0101},
  };
  for (const Case& c : cases) {
    CpuState cpu;
    RegisterPane::Store(cpu, c.index, c.value);
    EXPECT_EQ(c.index == kPswIndex ? cpu.psw : cpu.R(c.index), c.want) << c.index;
  }
}

}  // namespace
}  // namespace orlan
