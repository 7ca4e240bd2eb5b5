// A pane's vertical scroll bar as the debug window model keeps it, and the scroll
// position that a navigation key asks for.
#ifndef ORLAN_DEBUGGER_SCROLL_BAR_H_
#define ORLAN_DEBUGGER_SCROLL_BAR_H_

namespace orlan {

struct ScrollBarState {
  int min = 0;
  int max = 0;
  int position = 0;  // always within min to max
  int small_change = 1;
  int large_change = 1;

  // Sets the range (a maximum below the minimum is raised to it) and keeps the
  // position inside.
  void SetRange(int new_min, int new_max);
  // Sets the position, clamped into the range.
  void SetPosition(int new_position);

  bool operator==(const ScrollBarState&) const = default;
};

// The position that a navigation key moves the bar to, clamped into the range, or
// -1 when the key is no navigation key or the position would not change.
int ScrollTarget(int key, const ScrollBarState& bar);

}  // namespace orlan

#endif  // ORLAN_DEBUGGER_SCROLL_BAR_H_
