#include "debugger/edit_text.h"

#include <gtest/gtest.h>

#include "debugger/key_codes.h"
#include "debugger/scroll_bar.h"

namespace orlan {
namespace {

TEST(FilterDigits, MovesCaretAndShrinksSelectionWithTheRemovedCharacters) {
  struct Case {
    const char* text;
    int caret, selection, base;
    const char* want_text;
    int want_caret, want_selection;
  } cases[] = {
      {"12", 2, 0, 16, "12", 2, 0},   {"1G", 2, 0, 16, "1", 1, 0},  // typed a non-digit at the end
      {"G1", 1, 0, 16, "1", 0, 0},                                  // typed before the digits
      {"1x2", 2, 0, 16, "12", 1, 0},   // caret right after the removed character
      {"1x2", 1, 0, 16, "12", 1, 0},   // removed character after the caret
      {"a1b2", 3, 0, 8, "12", 1, 0},   // positions count in the text as it shrinks
      {"18", 0, 2, 8, "1", 0, 1},      // a selected character removed
      {"1z9", 1, 1, 10, "19", 1, 0},   // the whole selection removed
      {"1z9q", 0, 4, 10, "19", 0, 2},  // selection from the start
      {"12z", 0, 1, 10, "12", 0, 1},   // removed after the selection: nothing moves
      {"fF", 2, 0, 16, "fF", 2, 0},    // lower-case letters are digits too
      {"ab", 2, 0, 10, "", 0, 0},     {"", 0, 0, 16, "", 0, 0},
      {" 7", 2, 0, 16, "7", 1, 0},  // blanks are no digits
  };
  for (const Case& c : cases) {
    EditText e{c.text, c.caret, c.selection, true};
    FilterDigits(e, c.base);
    SCOPED_TRACE(c.text);
    EXPECT_EQ(e, (EditText{c.want_text, c.want_caret, c.want_selection, true}));
  }
}

TEST(FilterDigits, LeavesATextTheUserDidNotModify) {
  EditText e{"xyz", 3, 0, false};
  FilterDigits(e, 16);
  EXPECT_EQ(e.text, "xyz");
}

TEST(ScrollTarget, NavigationKeysClampedToTheRange) {
  // Bar 0..100, large change 10.
  struct Case {
    int key, position, want;
  } cases[] = {
      {kKeyPageUp, 50, 40},    {kKeyPageUp, 5, 0},      {kKeyPageUp, 0, -1}, {kKeyPageDown, 50, 60},
      {kKeyPageDown, 95, 100}, {kKeyPageDown, 100, -1}, {kKeyEnd, 50, 100},  {kKeyEnd, 100, -1},
      {kKeyHome, 50, 0},       {kKeyHome, 0, -1},       {kKeyUp, 50, 49},    {kKeyUp, 0, -1},
      {kKeyDown, 50, 51},      {kKeyDown, 100, -1},     {kKeyLeft, 50, -1},  {kKeyRight, 50, -1},
      {kKeyEnter, 50, -1},     {'A', 50, -1},
  };
  for (const Case& c : cases) {
    ScrollBarState bar;
    bar.SetRange(0, 100);
    bar.SetPosition(c.position);
    bar.large_change = 10;
    EXPECT_EQ(ScrollTarget(c.key, bar), c.want) << "key " << c.key << " at " << c.position;
  }
}

}  // namespace
}  // namespace orlan
