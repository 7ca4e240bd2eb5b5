// A fresh machine with a debug window model in a given number base, with the pane
// sizes of the window's layout, and helpers that act like a user at the window.
#ifndef ORLAN_TESTS_DEBUGGER_WINDOW_TEST_UTIL_H_
#define ORLAN_TESTS_DEBUGGER_WINDOW_TEST_UTIL_H_

#include <algorithm>
#include <string>
#include <vector>

#include "core/machine.h"
#include "debugger/debug_window_model.h"
#include "debugger/key_codes.h"

namespace orlan::testing {

// Panes of the standard layout in an 8 x 13 pixel cell.
inline constexpr PaneSize kListSize{34, 10};
inline constexpr PaneSize kRegSize{10, 10};
inline constexpr PaneSize kBinSize{70, 10};

// The pane as the user sees it: each row's runs drawn into one line of text.
inline std::vector<std::string> PaneRows(const PaneText& runs) {
  std::vector<std::string> rows;
  for (const TextRun& run : runs) {
    if (static_cast<int>(rows.size()) <= run.row)
      rows.resize(static_cast<std::size_t>(run.row) + 1);
    std::string& line = rows[static_cast<std::size_t>(run.row)];
    line.resize(std::max(line.size(), static_cast<std::size_t>(run.column) + run.text.size()), ' ');
    line.replace(static_cast<std::size_t>(run.column), run.text.size(), run.text);
  }
  return rows;
}

struct Window {
  explicit Window(int radix = 16) : model(machine) {
    model.DebugCreate(radix);
    model.SetPaneSize(Pane::kList, kListSize);
    model.SetPaneSize(Pane::kRegisters, kRegSize);
    model.SetPaneSize(Pane::kBinary, kBinSize);
  }

  // Types `text` into an edit as the user would: the whole text, caret at its end.
  void Type(EditId edit, const std::string& text) {
    model.EditChange(edit, EditText{text, static_cast<int>(text.size()), 0, true});
  }
  void Key(EditId edit, int key) { model.EditKeyDown(edit, key); }
  const std::string& Text(EditId edit) const { return model.edit(edit).state.text; }

  Machine machine;
  DebugWindowModel model;
};

}  // namespace orlan::testing

#endif  // ORLAN_TESTS_DEBUGGER_WINDOW_TEST_UTIL_H_
