#include "debugger/memory_editor.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "tests/debugger/window_test_util.h"

namespace orlan {
namespace {

using testing::Window;

// Bytes 0-15: 1F, 'B'..'O', 7F, so both ends of the character column are dots.
void FillFirstLine(Machine& m) {
  for (int j = 0; j < 16; ++j) m.ram()[j] = static_cast<uint8_t>('A' + j);
  m.ram()[0] = 0x1F;
  m.ram()[15] = 0x7F;
}

TEST(MemoryEditor, LineLayoutInBothBasesAndCellSizes) {
  struct Case {
    int radix, unit;
    const char* line;
  } cases[] = {
      {16, 1, "0000: 1F 42 43 44 45 46 47 48 49 4A 4B 4C 4D 4E 4F 7F .BCDEFGHIJKLMNO."},
      // Word cells sit over the even bytes; the higher byte gives the high digits.
      {16, 2, "0000: 421F  4443  4645  4847  4A49  4C4B  4E4D  7F4F  .BCDEFGHIJKLMNO."},
      {8, 1,
       "000000: 037 102 103 104 105 106 107 110 111 112 113 114 115 116 117 177 "
       ".BCDEFGHIJKLMNO."},
      {8, 2,
       "000000: 041037  042103  043105  044107  045111  046113  047115  077517  "
       ".BCDEFGHIJKLMNO."},
  };
  for (const Case& c : cases) {
    Machine m;
    FillFirstLine(m);
    MemoryEditor editor;
    editor.set_bin_unit(c.unit);
    const NumberFormat f = NumberFormat::ForRadix(c.radix);
    EXPECT_EQ(testing::PaneRows(editor.Paint({90, 1}, m, f)), std::vector<std::string>{c.line})
        << "base " << c.radix << " unit " << c.unit;
    EXPECT_EQ(std::string(c.line).find('.'), static_cast<std::size_t>(BinCharColumn(f)));
  }
}

TEST(MemoryEditor, PaintingStopsAtTheEndOfRamAndSetsTheBar) {
  Machine m;  // RamTop 3FFF
  MemoryEditor editor;
  editor.ScrollTo(2000, {70, 10}, m.ram_top());  // past the end: clamped
  EXPECT_EQ(editor.bin_top(), 0x3F60);
  const auto rows = testing::PaneRows(editor.Paint({70, 10}, m, NumberFormat()));
  ASSERT_EQ(rows.size(), 10u);
  EXPECT_EQ(rows.back().substr(0, 9), "3FF0: 00 ");
  EXPECT_EQ(editor.scroll_bar(), (ScrollBarState{0, 1014, 1014, 1, 10}));
  // A taller pane shows fewer lines than rows rather than memory past RAM.
  EXPECT_EQ(editor.Paint({70, 12}, m, NumberFormat()).back().row, 9);
}

TEST(MemoryEditor, ClicksOpenCellEdits) {
  struct Case {
    int unit;
    uint16_t bin_top;
    Cell cell;
    std::optional<EditRequest> want;
  } cases[] = {
      {1, 0, {0, 0}, EditRequest{EditMode::kBinAddress, 0, 0, 4, 0, true}},
      {1, 0, {0, 1}, std::nullopt},  // a later line's address
      {1, 0, {6, 0}, EditRequest{EditMode::kBinCell, 0, 6, 2, 0, true}},
      {1, 0, {7, 0}, EditRequest{EditMode::kBinCell, 0, 6, 2, 0, true}},
      {1, 0, {8, 0}, std::nullopt},  // the blank after a cell
      {1, 0, {9, 1}, EditRequest{EditMode::kBinCell, 0x11, 9, 2, 1, true}},
      {1, 0, {52, 0}, EditRequest{EditMode::kBinCell, 0x0F, 51, 2, 0, true}},
      {1, 0, {53, 0}, std::nullopt},
      {1, 0, {54, 0}, EditRequest{EditMode::kBinChar, 0, 54, 1, 0, false}},
      {1, 0x100, {69, 2}, EditRequest{EditMode::kBinChar, 0x12F, 69, 1, 2, false}},
      {1, 0, {6, 10}, std::nullopt},  // below the pane
      {2, 0, {9, 0}, EditRequest{EditMode::kBinCell, 0, 6, 4, 0, true}},
      {2, 0, {10, 0}, std::nullopt},
      {2, 0, {12, 3}, EditRequest{EditMode::kBinCell, 0x32, 12, 4, 3, true}},
      {2, 0, {54, 0}, EditRequest{EditMode::kBinChar, 0, 54, 1, 0, false}},
  };
  for (const Case& c : cases) {
    MemoryEditor editor;
    editor.set_bin_unit(c.unit);
    editor.AcceptStart(c.bin_top, {70, 10}, 0x3FFF);
    EXPECT_EQ(editor.Click(c.cell, {70, 10}, 0x3FFF, NumberFormat()), c.want)
        << "unit " << c.unit << " cell " << c.cell.column << "," << c.cell.row;
  }
}

TEST(MemoryEditor, CellsPastRamOpenNothing) {
  MemoryEditor editor;
  editor.ScrollTo(1014, {70, 10}, 0x3FFF);  // last page: 3F60 to 3FF0
  // The pane grew by two rows since: those rows lie past RAM.
  EXPECT_TRUE(editor.Click({6, 9}, {70, 12}, 0x3FFF, NumberFormat()));
  EXPECT_FALSE(editor.Click({6, 10}, {70, 12}, 0x3FFF, NumberFormat()));
  EXPECT_FALSE(editor.Click({54, 11}, {70, 12}, 0x3FFF, NumberFormat()));
}

TEST(MemoryEditor, StartAddressOnlyWhenAWholePageFits) {
  struct Case {
    uint32_t value;
    int rows;
    bool taken;
    uint16_t bin_top;
  } cases[] = {
      {0x3F60, 10, true, 0x3F60}, {0x3F70, 10, false, 0}, {0x3F6F, 10, true, 0x3F60},
      {0x3F70, 9, true, 0x3F70},  {0x4000, 10, false, 0}, {0x13F50, 10, true, 0x3F50},
      {0xFFF0, 10, false, 0},     {0, 10, true, 0},       {0x3FF0, 1, true, 0x3FF0},
  };
  for (const Case& c : cases) {
    MemoryEditor editor;
    EXPECT_EQ(editor.AcceptStart(c.value, {70, c.rows}, 0x3FFF), c.taken) << std::hex << c.value;
    EXPECT_EQ(editor.bin_top(), c.bin_top) << std::hex << c.value;
  }
}

// Every page the scroll bar reaches can also be typed as the start address.
TEST(MemoryEditor, StartAddressReachesEveryPageOfTheScrollBar) {
  for (uint16_t ram_top : {0x0FFF, 0x3FFF, 0x7FFF}) {
    for (int rows : {1, 10, 11, 40}) {
      MemoryEditor scrolled;
      scrolled.ScrollTo(0xFFFF, {70, rows}, ram_top);
      MemoryEditor typed;
      EXPECT_TRUE(typed.AcceptStart(scrolled.bin_top(), {70, rows}, ram_top))
          << std::hex << ram_top << " rows " << std::dec << rows;
    }
  }
}

TEST(MemoryEditor, CellStoresKeepTheCellSize) {
  struct Case {
    int unit;
    uint16_t address;
    uint32_t value;
    uint8_t lo, hi;  // bytes at address and address + 1 afterwards (both start 0x55)
  } cases[] = {
      {1, 0x10, 0xAB, 0xAB, 0x55},
      {1, 0x10, 999, 0xE7, 0x55},  // 999 in a byte cell: modulo 256
      {2, 0x10, 0xABCD, 0xCD, 0xAB},
      {2, 0x10, 0x12345, 0x45, 0x23},
  };
  for (const Case& c : cases) {
    Machine m;
    m.ram()[c.address] = 0x55;
    m.ram()[c.address + 1] = 0x55;
    MemoryEditor editor;
    editor.set_bin_unit(c.unit);
    editor.StoreCell(m, c.address, c.value);
    EXPECT_EQ(m.ram()[c.address], c.lo);
    EXPECT_EQ(m.ram()[c.address + 1], c.hi);
  }
}

}  // namespace
}  // namespace orlan
