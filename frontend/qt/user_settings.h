// The window program's per-user settings: the toolkit's settings store under the
// program's name (never the machine's "orlan.ini", which is only read).
#ifndef ORLAN_FRONTEND_QT_USER_SETTINGS_H_
#define ORLAN_FRONTEND_QT_USER_SETTINGS_H_

namespace orlan {

inline constexpr char kUserSettingsName[] = "orlan";  // organisation and application

inline constexpr char kZoomKey[] = "window/zoom";  // 1-4, or 0: the screen's pixel ratio
inline constexpr char kWindowPositionKey[] = "window/position";
inline constexpr char kScreenshotFolderKey[] = "window/screenshot-folder";

}  // namespace orlan

#endif  // ORLAN_FRONTEND_QT_USER_SETTINGS_H_
