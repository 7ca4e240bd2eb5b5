#include "debugger/scroll_bar.h"

#include <algorithm>

#include "debugger/key_codes.h"

namespace orlan {

void ScrollBarState::SetRange(int new_min, int new_max) {
  min = new_min;
  max = std::max(new_min, new_max);
  position = std::clamp(position, min, max);
}

void ScrollBarState::SetPosition(int new_position) {
  position = std::clamp(new_position, min, max);
}

int ScrollTarget(int key, const ScrollBarState& bar) {
  const int p = bar.position;
  // Wide arithmetic: a large change near the ends must not overflow before clamping.
  long long t = p;
  switch (key) {
    case kKeyPageUp:
      t = static_cast<long long>(p) - bar.large_change;
      break;
    case kKeyPageDown:
      t = static_cast<long long>(p) + bar.large_change;
      break;
    case kKeyEnd:
      t = bar.max;
      break;
    case kKeyHome:
      t = bar.min;
      break;
    case kKeyUp:
      t = static_cast<long long>(p) - bar.small_change;
      break;
    case kKeyDown:
      t = static_cast<long long>(p) + bar.small_change;
      break;
    default:
      break;
  }
  const int target = static_cast<int>(std::clamp<long long>(t, bar.min, bar.max));
  return target == p ? -1 : target;
}

}  // namespace orlan
