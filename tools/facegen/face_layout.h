// Where things are on the machine's face, as the emulator's window uses them: the
// display, the six key areas, the key images and the legend strips.
#ifndef ORLAN_TOOLS_FACEGEN_FACE_LAYOUT_H_
#define ORLAN_TOOLS_FACEGEN_FACE_LAYOUT_H_

#include <array>

namespace orlan::facegen {

inline constexpr int kFaceWidth = 790;
inline constexpr int kFaceHeight = 312;
inline constexpr int kKeysWidth = 124;
inline constexpr int kKeysHeight = 40;
inline constexpr int kOverlayWidth = 282;
inline constexpr int kOverlayHeight = 72;

inline constexpr int kDisplayX = 62;
inline constexpr int kDisplayY = 55;
inline constexpr int kDisplayWidth = 360;
inline constexpr int kDisplayHeight = 192;

inline constexpr int kStripX = 486;
inline constexpr int kStripWidth = 282;
inline constexpr int kStripHeight = 9;
inline constexpr std::array<int, 8> kStripY = {25, 58, 93, 124, 155, 186, 217, 248};

struct KeyArea {
  int left, top, width, height, pitch_x, pitch_y, columns, count, image_x, image_y;
};

// Scanned in this order; key k of an area sits at column k % columns, row k / columns.
// The pressed image of an area's keys is at (image_x, image_y) in the key picture,
// the released one at (image_x + width, image_y).
inline constexpr std::array<KeyArea, 6> kKeyAreas = {{
    {491, 37, 27, 18, 35, 33, 1, 2, 54, 18},    // window buttons: close, reset
    {526, 35, 27, 22, 35, 33, 7, 14, 0, 18},    // keys 3-16
    {491, 103, 27, 18, 35, 31, 8, 40, 54, 18},  // keys 17-56
    {491, 258, 27, 18, 35, 31, 3, 3, 54, 18},   // keys 57-59
    {596, 258, 62, 18, 70, 31, 1, 1, 0, 0},     // key 60, the wide one
    {666, 258, 27, 18, 35, 31, 3, 3, 54, 18},   // keys 61-63
}};

struct KeyRect {
  int area;
  int x, y, width, height;
};

// The rectangle of key index 1-63 (1 and 2 are the window buttons).
inline KeyRect KeyRectOf(int key_index) {
  int first = 1;
  for (int a = 0; a < static_cast<int>(kKeyAreas.size()); ++a) {
    const KeyArea& area = kKeyAreas[a];
    if (key_index < first + area.count) {
      const int k = key_index - first;
      return {a, area.left + (k % area.columns) * area.pitch_x,
              area.top + (k / area.columns) * area.pitch_y, area.width, area.height};
    }
    first += area.count;
  }
  return {-1, 0, 0, 0, 0};
}

// The machine's key code of key index 3-63: 3 + 4 * row + 32 * column.
int KeyCode(int key_index);

}  // namespace orlan::facegen

#endif  // ORLAN_TOOLS_FACEGEN_FACE_LAYOUT_H_
