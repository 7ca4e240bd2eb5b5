#include "devices/key_tables.h"

namespace orlan {

int KeyIndexForCharacter(char32_t ch) {
  if (ch >= U'a' && ch <= U'z') ch = ch - U'a' + U'A';
  if (ch == 0 || ch > 0x7F) return 0;
  const auto position = kKeyCharTable.find(static_cast<char>(ch));
  if (position == std::string_view::npos) return 0;
  return static_cast<int>(position) + kFirstMachineKey;
}

int KeyIndexForTypedCharacter(char32_t ch) {
  return ch == U' ' ? kSpaceKey : KeyIndexForCharacter(ch);
}

int KeyIndexForVirtualKey(int virtual_key) {
  for (const HostKeyDownEntry& e : kHostKeyDownTable) {
    if (e.virtual_key == virtual_key) return e.key_index;
  }
  return 0;
}

int KeyIndexAt(int x, int y) {
  int key_index = 1;
  for (const KeyArea& a : kKeyAreas) {
    if (x >= a.left && x < a.left + a.pitch_x * a.columns && (x - a.left) % a.pitch_x < a.width &&
        y >= a.top && (y - a.top) % a.pitch_y < a.height) {
      const int k = (x - a.left) / a.pitch_x + (y - a.top) / a.pitch_y * a.columns;
      if (k < a.count) return key_index + k;
    }
    key_index += a.count;
  }
  return 0;
}

std::optional<KeyRect> KeyRectOf(int key_index) {
  if (key_index < 1) return std::nullopt;
  int first = 1;
  for (int area = 0; area < static_cast<int>(kKeyAreas.size()); ++area) {
    const KeyArea& a = kKeyAreas[area];
    const int k = key_index - first;
    if (k < a.count) {
      return KeyRect{area, a.left + (k % a.columns) * a.pitch_x,
                     a.top + (k / a.columns) * a.pitch_y, a.width, a.height};
    }
    first += a.count;
  }
  return std::nullopt;
}

}  // namespace orlan
