// The keyboard's tables: key codes, the host characters and host keys that select
// machine keys, and where the keys are pictured on the machine's face.
#ifndef ORLAN_DEVICES_KEY_TABLES_H_
#define ORLAN_DEVICES_KEY_TABLES_H_

#include <array>
#include <cstdint>
#include <optional>
#include <string_view>

namespace orlan {

// KeyIndex: 0 no key, 1 and 2 the window's close and reset buttons, 3-63 machine keys.
inline constexpr int kKeyIndexCount = 64;
inline constexpr int kCloseButton = 1;
inline constexpr int kResetButton = 2;
inline constexpr int kFirstMachineKey = 3;

// The code the channel reads for each KeyIndex: 3 + 4 * row + 32 * column.
inline constexpr std::array<uint16_t, kKeyIndexCount> kKeyScanTable = {
    0,    0,    0,                                   // none, buttons
    0043, 0103, 0143, 0203, 0243, 0303, 0343,        // 3-9 row 0
    0047, 0107, 0147, 0207, 0247, 0307, 0347,        // 10-16 row 1
    0013, 0053, 0113, 0153, 0213, 0253, 0313, 0353,  // 17-24 row 2
    0017, 0057, 0117, 0157, 0217, 0257, 0317, 0357,  // 25-32 row 3
    0023, 0063, 0123, 0163, 0223, 0263, 0323, 0363,  // 33-40 row 4
    0027, 0067, 0127, 0167, 0227, 0267, 0327, 0367,  // 41-48 row 5
    0033, 0073, 0133, 0173, 0233, 0273, 0333, 0373,  // 49-56 row 6
    0037, 0077, 0137, 0177, 0277, 0337, 0377,        // 57-63 row 7
};

// Character at position i (1-51, string index i - 1) selects KeyIndex i + 2. The
// lower-case "a" entries are never matched: typed letters are taken in upper case.
inline constexpr std::string_view kKeyCharTable =
    "12345:;67890/-ABWGDEVZIJKLMNOPRSTUFHC^[]XY_\\@Qaaa,.";

// Machine keys that typed text reaches by name rather than by character.
inline constexpr int kBackspaceKey = 55;
inline constexpr int kEnterKey = 56;
inline constexpr int kSpaceKey = 60;

// Host key-down events, by virtual-key code, that select machine keys.
struct HostKeyDownEntry {
  int virtual_key;
  int key_index;
};
inline constexpr std::array<HostKeyDownEntry, 13> kHostKeyDownTable = {{
    {0x08, kBackspaceKey},  // Backspace
    {0x0D, kEnterKey},      // Enter
    {0x20, kSpaceKey},      // Space
    {0x21, 61},             // Page Up
    {0x22, 59},             // Page Down
    {0x25, 51},             // Left arrow
    {0x26, 50},             // Up arrow
    {0x27, 54},             // Right arrow
    {0x28, 58},             // Down arrow
    {0x75, 49},             // F6
    {0x76, 57},             // F7
    {0x77, 62},             // F8
    {0x78, 63},             // F9
}};
// Keys with window functions of their own.
inline constexpr int kVirtualKeyF2 = 0x71;      // swaps the legend strips
inline constexpr int kVirtualKeyF3 = 0x72;      // shows the debug window
inline constexpr int kVirtualKeyEscape = 0x1B;  // cancels a paste

// KeyIndex for a host character (0 when none) and for a virtual-key code.
int KeyIndexForCharacter(char32_t ch);
// KeyIndex for a character of typed text (a script line, a pasted text): a blank is
// the Space key, anything else as a host character; 0 when none.
int KeyIndexForTypedCharacter(char32_t ch);
int KeyIndexForVirtualKey(int virtual_key);

// The pictured keys of the face, in six rectangular areas scanned in order. Key k of
// an area sits at column k % columns, row k / columns; its corner is
// (left + column * pitch_x, top + row * pitch_y). Its pressed image in the key
// picture is the width x height rectangle at (image_x, image_y), the released one
// at (image_x + width, image_y).
struct KeyArea {
  int left;
  int top;
  int width;
  int height;
  int pitch_x;
  int pitch_y;
  int columns;
  int count;
  int image_x;
  int image_y;
};
inline constexpr std::array<KeyArea, 6> kKeyAreas = {{
    {491, 37, 27, 18, 35, 33, 1, 2, 54, 18},    // close and reset buttons: 1-2
    {526, 35, 27, 22, 35, 33, 7, 14, 0, 18},    // 3-16
    {491, 103, 27, 18, 35, 31, 8, 40, 54, 18},  // 17-56
    {491, 258, 27, 18, 35, 31, 3, 3, 54, 18},   // 57-59
    {596, 258, 62, 18, 70, 31, 1, 1, 0, 0},     // 60, the wide key
    {666, 258, 27, 18, 35, 31, 3, 3, 54, 18},   // 61-63
}};

// A pictured key: its area and its rectangle in window coordinates.
struct KeyRect {
  int area;
  int x;
  int y;
  int width;
  int height;
};

// The pictured key at window point (x, y), 0 when none. The gaps between keys
// belong to no key: a point there is tried against the later areas.
int KeyIndexAt(int x, int y);
// The area and rectangle of pictured key `key_index` (1-63); nullopt otherwise.
std::optional<KeyRect> KeyRectOf(int key_index);

}  // namespace orlan

#endif  // ORLAN_DEVICES_KEY_TABLES_H_
