#include "debugger/register_pane.h"

#include <gtest/gtest.h>

#include <optional>

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
  struct Case {
    int radix;
    PaneSize size;
    int reg_top;  // asked for by scrolling
    PaneText want;
  } cases[] = {
      {16,
       {10, 10},
       0,
       {{0, 0, "R0:"},
        {4, 0, "0000"},
        {0, 1, "R1:"},
        {4, 1, "1111"},
        {0, 2, "R2:"},
        {4, 2, "2222"},
        {0, 3, "R3:"},
        {4, 3, "3333"},
        {0, 4, "R4:"},
        {4, 4, "4444"},
        {0, 5, "R5:"},
        {4, 5, "5555"},
        {0, 6, "SP:"},
        {4, 6, "6666"},
        {0, 7, "PC:"},
        {4, 7, "7777"},
        {0, 8, "PSW:"},
        {4, 8, "001A"},
        {0, 9, "TN-V-"}}},
      {8,
       {10, 12},  // a taller pane still shows ten rows
       0,
       {{0, 0, "R0:"},
        {4, 0, "000000"},
        {0, 1, "R1:"},
        {4, 1, "010421"},
        {0, 2, "R2:"},
        {4, 2, "021042"},
        {0, 3, "R3:"},
        {4, 3, "031463"},
        {0, 4, "R4:"},
        {4, 4, "042104"},
        {0, 5, "R5:"},
        {4, 5, "052525"},
        {0, 6, "SP:"},
        {4, 6, "063146"},
        {0, 7, "PC:"},
        {4, 7, "073567"},
        {0, 8, "PSW:"},
        {4, 8, "000032"},
        {0, 9, "TN-V-"}}},
      {16,
       {10, 4},
       6,
       {{0, 0, "SP:"},
        {4, 0, "6666"},
        {0, 1, "PC:"},
        {4, 1, "7777"},
        {0, 2, "PSW:"},
        {4, 2, "001A"},
        {0, 3, "TN-V-"}}},
  };
  for (const Case& c : cases) {
    const NumberFormat f = NumberFormat::ForRadix(c.radix);
    RegisterPane pane;
    pane.ScrollTo(c.reg_top, c.size);
    EXPECT_EQ(pane.Paint(c.size, SampleCpu(), f), c.want) << "base " << c.radix;
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
  const PaneText runs = pane.Paint({10, 10}, SampleCpu(), NumberFormat());
  EXPECT_EQ(pane.reg_top(), 0);
  EXPECT_EQ(runs.front(), (TextRun{0, 0, "R0:"}));
  EXPECT_EQ(runs.back(), (TextRun{0, 9, "TN-V-"}));
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
      {16, 10, 0, {0, 8}, std::nullopt},
      {16, 10, 0, {4, 9}, std::nullopt},  // the flag row
      {16, 10, 0, {4, 10}, std::nullopt},
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
