// The main window: the picture of the machine's face with the display set into it,
// the pictured keys under the mouse, the host keyboard, the four timers that drive
// the machine, and the context menu with its shortcuts (zoom, paste, screenshots,
// pause, fast-forward, saved states).
#ifndef ORLAN_FRONTEND_QT_MAIN_FORM_H_
#define ORLAN_FRONTEND_QT_MAIN_FORM_H_

#include <QClipboard>
#include <QImage>
#include <QPoint>
#include <QString>
#include <QTimer>
#include <QWidget>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>

#include "devices/face_geometry.h"
#include "devices/local_time.h"
#include "frontend/message_sink.h"
#include "frontend/qt/face_scale.h"
#include "frontend/qt/threaded_timer.h"
#include "frontend/qt/window_actions.h"
#include "frontend/settings.h"
#include "frontend/system.h"

class QPainter;
class QSettings;

namespace orlan {

// Key image pixels of this colour let the face show through.
inline constexpr QRgb kTransparentGreen = 0xFF00FF00;

class TMainForm final : public QWidget {
  Q_OBJECT

 public:
  using RomSaveDialog = std::function<std::optional<std::filesystem::path>()>;
  using FolderDialog = std::function<std::optional<QString>()>;

  // Window creation: the pictures, then the system's power-on from the files in `dir`
  // (settings, RAM size, ROM, display, cartridges, clock set to `now`).
  TMainForm(System& system, std::filesystem::path dir, MessageSink& sink, const LocalTime& now,
            QWidget* parent = nullptr);
  ~TMainForm() override;

  // Takes the zoom and the window position remembered in `settings` and remembers
  // them there from now on; `settings` outlives the window.
  void UseUserSettings(QSettings& settings);

  // The handlers, callable directly (tests) and reached through the Qt events. Mouse
  // positions are face pixels.
  void FormShow();
  void FormClose();
  void FormMouseDown(int x, int y);
  void FormMouseUp();
  void FormMouseMove(int x, int y);
  void FormKeyDown(int virtual_key);
  void FormKeyPress(char32_t ch);
  void FormKeyUp();
  void FormDeactivate();

  void OnRunTimer();
  void OnRtcTimer();
  void OnRefreshTimer();
  void OnSecTimer();

  void DrawKeyImage(int area, int x, int y, bool pressed);
  // Lets go of the mouse-held key unless (x, y) is still on it; (-1, -1) always does.
  void ReleaseMouseKey(int x, int y);
  void SwapLegendStrips();

  // The actions of the menu and their shortcuts.
  void Trigger(WindowAction action);
  QAction* action(WindowAction action) const { return actions_.action(action); }
  QMenu& context_menu() { return actions_.menu(); }
  // Opens the context menu at a point of the window.
  void ShowMenu(QPoint window_point);
  // Zoom: 1-4 screen pixels per face pixel, or kZoomPixelRatio.
  void SetZoom(int zoom);
  int zoom() const { return zoom_; }
  const FaceScale& scale() const { return scale_; }
  // Types the clipboard's text (or the selection's) on the machine's keyboard.
  void Paste(QClipboard::Mode mode = QClipboard::Clipboard);
  // Saved states in the slots of the machine folder ("state1.sav" to "state4.sav").
  static constexpr int kStateSlots = 4;
  void SelectStateSlot(int slot);  // 1 to kStateSlots
  int state_slot() const { return state_slot_; }
  std::filesystem::path StateSlotPath(int slot) const;
  void SaveStateSlot();
  void LoadStateSlot();
  // Pause and fast-forward, shown in the menu, the window title and a mark on the face.
  void SetPaused(bool paused);
  void SetFastForward(bool on);
  // The mark's text now: a notice for a moment after a slot is chosen, saved or
  // loaded, else the pause or fast-forward, else nothing.
  QString MarkText() const;

  // Asked for the file name of the ROM save at close; nullopt means cancelled. The
  // default is the toolkit's file-save dialog.
  RomSaveDialog rom_save_dialog;
  // Asked for the file of a screenshot and for a machine folder to open; nullopt
  // means cancelled. The defaults are the toolkit's file dialogs.
  RomSaveDialog screenshot_dialog;
  FolderDialog folder_dialog;
  // Shows what the program is.
  std::function<void()> about_box;

  const Settings& settings() const { return system_.settings(); }
  bool started() const { return system_.power_on_result() == PowerOnResult::kStarted; }
  const QImage& face_buffer() const { return face_buffer_; }
  const QImage& overlay_picture() const { return overlay_picture_; }
  TThreadedTimer& run_timer() { return run_timer_; }
  TThreadedTimer& rtc_timer() { return rtc_timer_; }
  QTimer& refresh_timer() { return refresh_timer_; }
  QTimer& sec_timer() { return sec_timer_; }
  int system_moves() const { return system_moves_; }
  // The pictured key shown pressed (the machine may hold it a tick longer).
  int pressed_key() const { return pressed_key_; }
  // The window follows the mouse itself (no window manager moves it).
  bool dragging() const { return dragging_; }
  // The machine folder to run next, chosen with "Open machine folder...".
  const std::optional<QString>& next_folder() const { return next_folder_; }

 signals:
  // The close sequence has finished; the program ends.
  void Closed();

 protected:
  void showEvent(QShowEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void keyReleaseEvent(QKeyEvent* event) override;
  void changeEvent(QEvent* event) override;
  void contextMenuEvent(QContextMenuEvent* event) override;

 private:
  // Loads a picture file from the machine folder; a missing or unreadable file, or one
  // that is no regular file, is reported and leaves `picture` as it was.
  bool LoadPicture(const char* file_name, QImage& picture);
  void ShowDeviceError();
  void StartSystemMove();
  // Repaints the window where a rectangle of the face lies.
  void UpdateFace(const QRect& face_rect);
  // Sizes the window for the zoom on the screen it is on now.
  void ApplyZoom();
  void SaveScreenshot();
  void OpenMachineFolder();
  void RememberPosition();
  void Notice(const QString& text);
  // The menu's checks, the title and the mark after a change of the run state.
  void ShowRunState();
  void PaintMark(QPainter& painter);

  // The steps of the start and close sequences that belong to the window.
  FrontEndSteps FrontEnd();

  System& system_;
  MessageSink& sink_;
  bool shown_ = false;
  std::optional<std::string> device_error_;  // waiting to be shown, or being shown
  int state_slot_ = 1;
  QString notice_;
  QTimer notice_timer_;
  int system_moves_ = 0;
  int pressed_key_ = 0;
  QSettings* user_settings_ = nullptr;
  int zoom_ = kZoomPixelRatio;
  FaceScale scale_{kZoomPixelRatio, 1.0};
  QPoint press_global_;  // where the last left press was, in screen coordinates
  bool dragging_ = false;
  QPoint drag_offset_;  // from the window's corner to the pointer
  std::optional<QString> next_folder_;
  WindowActions actions_;

  QImage scratch_picture_;
  QImage face_buffer_;
  QImage key_picture_;
  QImage overlay_picture_;

  TThreadedTimer run_timer_;
  TThreadedTimer rtc_timer_;
  QTimer refresh_timer_;
  QTimer sec_timer_;
};

}  // namespace orlan

#endif  // ORLAN_FRONTEND_QT_MAIN_FORM_H_
