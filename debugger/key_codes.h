// Key codes that the debug window's edits react to, as the view delivers them.
#ifndef ORLAN_DEBUGGER_KEY_CODES_H_
#define ORLAN_DEBUGGER_KEY_CODES_H_

namespace orlan {

inline constexpr int kKeyEnter = 13;
inline constexpr int kKeyEscape = 27;
inline constexpr int kKeyPageUp = 33;
inline constexpr int kKeyPageDown = 34;
inline constexpr int kKeyEnd = 35;
inline constexpr int kKeyHome = 36;
inline constexpr int kKeyLeft = 37;
inline constexpr int kKeyUp = 38;
inline constexpr int kKeyRight = 39;
inline constexpr int kKeyDown = 40;

}  // namespace orlan

#endif  // ORLAN_DEBUGGER_KEY_CODES_H_
