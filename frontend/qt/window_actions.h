// What the main window offers beside the machine's keys: one table of actions, each
// with its menu entry and its shortcuts, from which the context menu and the window's
// shortcuts are both made. Every shortcut holds Ctrl, or is a key that no machine key
// and no window key uses, so it never takes a key from the machine; the toolkit takes
// a shortcut before the window's key handler sees the key.
#ifndef ORLAN_FRONTEND_QT_WINDOW_ACTIONS_H_
#define ORLAN_FRONTEND_QT_WINDOW_ACTIONS_H_

#include <QMenu>
#include <array>
#include <cstdint>
#include <functional>
#include <span>

class QAction;
class QWidget;

namespace orlan {

enum class WindowAction : uint8_t {
  kMenu,
  kReset,
  kScreenshot,
  kCopyDisplay,
  kPaste,
  kZoom1,
  kZoom2,
  kZoom3,
  kZoom4,
  kZoomPixelRatio,
  kPause,
  kFastForward,
  kStateSlot1,
  kStateSlot2,
  kStateSlot3,
  kStateSlot4,
  kSaveState,
  kLoadState,
  kDebugger,
  kOpenFolder,
  kAbout,
  kQuit,
};

// How a menu entry shows a state: not at all, on or off, or as the one chosen of its
// submenu.
enum class Check : uint8_t { kNone, kOnOff, kOneOf };

struct WindowActionEntry {
  WindowAction action;
  const char* text;       // the menu entry; nullptr: not in the menu
  const char* shortcuts;  // in portable key text, alternatives separated by "; "
  const char* submenu;    // nullptr: the menu itself
  bool separator_before;  // a line above it (or above its submenu) in its menu
  Check check;
};

// In menu order.
inline constexpr std::array<WindowActionEntry, 22> kWindowActions = {{
    {WindowAction::kMenu, nullptr, "Menu; Shift+F10", nullptr, false, Check::kNone},
    {WindowAction::kReset, "Reset", "Ctrl+R", nullptr, false, Check::kNone},
    {WindowAction::kPause, "Pause", "Ctrl+P", nullptr, false, Check::kOnOff},
    {WindowAction::kFastForward, "Fast-forward", "Ctrl+F", nullptr, false, Check::kOnOff},
    {WindowAction::kStateSlot1, "Slot 1", "Ctrl+1", "State slot", true, Check::kOneOf},
    {WindowAction::kStateSlot2, "Slot 2", "Ctrl+2", "State slot", false, Check::kOneOf},
    {WindowAction::kStateSlot3, "Slot 3", "Ctrl+3", "State slot", false, Check::kOneOf},
    {WindowAction::kStateSlot4, "Slot 4", "Ctrl+4", "State slot", false, Check::kOneOf},
    {WindowAction::kSaveState, "Save state", "Ctrl+S", nullptr, false, Check::kNone},
    {WindowAction::kLoadState, "Load state", "Ctrl+L", nullptr, false, Check::kNone},
    {WindowAction::kScreenshot, "Screenshot...", "Ctrl+Shift+S", nullptr, true, Check::kNone},
    {WindowAction::kCopyDisplay, "Copy display", "Ctrl+C", nullptr, false, Check::kNone},
    {WindowAction::kPaste, "Paste", "Ctrl+V; Shift+Ins", nullptr, false, Check::kNone},
    {WindowAction::kZoom1, "1×", "Ctrl+Alt+1", "Zoom", true, Check::kOneOf},
    {WindowAction::kZoom2, "2×", "Ctrl+Alt+2", "Zoom", false, Check::kOneOf},
    {WindowAction::kZoom3, "3×", "Ctrl+Alt+3", "Zoom", false, Check::kOneOf},
    {WindowAction::kZoom4, "4×", "Ctrl+Alt+4", "Zoom", false, Check::kOneOf},
    {WindowAction::kZoomPixelRatio, "Screen's pixel ratio", "Ctrl+Alt+0", "Zoom", true,
     Check::kOneOf},
    {WindowAction::kDebugger, "Debugger", "Ctrl+D", nullptr, true, Check::kNone},
    {WindowAction::kOpenFolder, "Open machine folder...", "Ctrl+O", nullptr, false, Check::kNone},
    {WindowAction::kAbout, "About", "Ctrl+I", nullptr, true, Check::kNone},
    {WindowAction::kQuit, "Quit", "Ctrl+Q", nullptr, false, Check::kNone},
}};

// The actions of the table, made for `window` (their shortcuts work while it is the
// active window), and the context menu that shows them with their shortcuts.
class WindowActions {
 public:
  WindowActions(QWidget& window, std::function<void(WindowAction)> on_trigger);

  QAction* action(WindowAction action) const { return actions_[static_cast<std::size_t>(action)]; }
  QMenu& menu() { return menu_; }

 private:
  std::array<QAction*, kWindowActions.size()> actions_{};
  QMenu menu_;
};

}  // namespace orlan

#endif  // ORLAN_FRONTEND_QT_WINDOW_ACTIONS_H_
