#include "debugger/disassembly_pane.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "tests/core/test_machine.h"
#include "tests/debugger/window_test_util.h"

namespace orlan {
namespace {

using testing::Deposit;
using testing::Window;

TEST(DisassemblyPane, LineColumnsInBothBases) {
  struct Case {
    int radix;
    std::vector<std::string> rows;  // the first three
  } cases[] = {
      {16, {"0200: mov   #5,r0", "0204: clr   -(sp)", "0206: halt"}},
      {8, {"001000: mov   #5,r0", "001004: clr   -(sp)", "001006: halt"}},
  };
  for (const Case& c : cases) {
    Window w(c.radix);
    Deposit(w.machine, 01000, {012700, 5, 005046});
    w.model.SetListStart(01000);
    const std::vector<std::string> rows = testing::PaneRows(w.model.Paint(Pane::kList));
    ASSERT_EQ(rows.size(), static_cast<std::size_t>(testing::kListSize.rows));
    EXPECT_EQ(std::vector<std::string>(rows.begin(), rows.begin() + 3), c.rows) << c.radix;
  }
}

TEST(DisassemblyPane, ListStartChoosesTheAddressWindow) {
  struct Case {
    uint16_t ram_size;
    uint16_t address;
    uint16_t top, low, high;
  } cases[] = {
      {040000, 0, 0, 0, 037777},
      {040000, 01001, 01000, 0, 037777},  // made even
      {040000, 037777, 037776, 0, 037777},
      {040000, 040000, 040000, 040000, 0177377},
      {040000, 0173000, 0173000, 040000, 0177377},
      {040000, 0177400, 0177400, 040000, 0177377},  // past the ROM: shows nothing
      {0100000, 050000, 050000, 040000, 0177377},   // the ROM window wins over big RAM
  };
  for (const Case& c : cases) {
    DisassemblyPane pane;
    pane.SetListStart(c.address, static_cast<uint16_t>(c.ram_size - 1));
    EXPECT_EQ(pane.list_top(), c.top) << std::oct << c.address;
    EXPECT_EQ(pane.list_low(), c.low) << std::oct << c.address;
    EXPECT_EQ(pane.list_high(), c.high) << std::oct << c.address;
  }
}

TEST(DisassemblyPane, PaintingStopsAtTheWindowEndAndSetsTheBar) {
  struct Case {
    const char* name;
    uint16_t start;
    int lines;
    int max, position, large_change;
  } cases[] = {
      // RAM is zero: one-word halts. Ten lines fit; the page is ten words.
      {"ram start", 0, 10, 017777, 0, 10},
      {"ram end", 037774, 2, 017777, 017776, 1},    // page reaches the end: large change kept
      {"rom end", 0177374, 2, 057577, 057576, 1},   // ROM words 177777 are illop
      {"past rom", 0177400, 0, 057577, 057577, 1},  // nothing shown, bar at its maximum
  };
  for (const Case& c : cases) {
    Window w;
    w.model.SetListStart(c.start);
    const PaneText runs = w.model.Paint(Pane::kList);
    SCOPED_TRACE(c.name);
    EXPECT_EQ(static_cast<int>(runs.size()), 2 * c.lines);  // halt/illop: no operands
    const ScrollBarState& bar = w.model.scroll_bar(Pane::kList);
    EXPECT_EQ(bar.min, 0);
    EXPECT_EQ(bar.max, c.max);
    EXPECT_EQ(bar.position, c.position);
    EXPECT_EQ(bar.large_change, c.large_change);
  }
}

TEST(DisassemblyPane, ClicksOpenAddressOrAssemblyEdits) {
  struct Case {
    int radix;
    uint16_t start;
    Cell cell;
    std::optional<EditRequest> want;
  } cases[] = {
      {16, 01000, {0, 0}, EditRequest{EditMode::kListAddress, 01000, 0, 4, 0, true}},
      {16, 01000, {4, 0}, std::nullopt},  // the colon
      {16, 01000, {6, 0}, EditRequest{EditMode::kAssemble, 01000, 6, 28, 0, false}},
      {16, 01000, {33, 0}, EditRequest{EditMode::kAssemble, 01000, 6, 28, 0, false}},
      {16, 01000, {34, 0}, std::nullopt},  // past the last column
      {16, 01000, {0, 1}, std::nullopt},   // a later line's address
      {16, 01000, {12, 1}, EditRequest{EditMode::kAssemble, 01004, 6, 28, 1, false}},
      {16, 01000, {6, 10}, std::nullopt},  // below the last row
      {8, 01000, {5, 0}, EditRequest{EditMode::kListAddress, 01000, 0, 6, 0, true}},
      {8, 01000, {7, 0}, std::nullopt},
      {8, 01000, {8, 1}, EditRequest{EditMode::kAssemble, 01004, 8, 26, 1, false}},
      {16, 037774, {6, 1}, EditRequest{EditMode::kAssemble, 037776, 6, 28, 1, false}},
      {16, 037774, {6, 2}, std::nullopt},   // beyond the RAM window: not shown
      {16, 0177400, {6, 0}, std::nullopt},  // an empty listing has no line to assemble over
      {16, 0177400, {0, 0}, EditRequest{EditMode::kListAddress, 0177400, 0, 4, 0, true}},
  };
  for (const Case& c : cases) {
    testing::Window w(c.radix);
    Deposit(w.machine, 01000, {012700, 5});
    DisassemblyPane pane;
    pane.SetListStart(c.start, w.machine.ram_top());
    Disassembler dis(w.machine, w.model.format());
    const auto got = pane.Click(c.cell, testing::kListSize, dis, w.model.format());
    EXPECT_EQ(got, c.want) << "base " << c.radix << " start " << std::oct << c.start << std::dec
                           << " cell " << c.cell.column << "," << c.cell.row;
  }
}

}  // namespace
}  // namespace orlan
