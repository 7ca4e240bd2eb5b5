// The main window: the picture of the machine's face with the display set into it,
// the pictured keys under the mouse, the host keyboard, and the four timers that
// drive the machine.
#ifndef ORLAN_FRONTEND_QT_MAIN_FORM_H_
#define ORLAN_FRONTEND_QT_MAIN_FORM_H_

#include <QImage>
#include <QTimer>
#include <QWidget>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>

#include "devices/face_geometry.h"
#include "devices/local_time.h"
#include "frontend/message_sink.h"
#include "frontend/qt/threaded_timer.h"
#include "frontend/settings.h"
#include "frontend/system.h"

namespace orlan {

// Key image pixels of this colour let the face show through.
inline constexpr QRgb kTransparentGreen = 0xFF00FF00;

class TMainForm final : public QWidget {
  Q_OBJECT

 public:
  using RomSaveDialog = std::function<std::optional<std::filesystem::path>()>;

  // Window creation: the pictures, then the system's power-on from the files in `dir`
  // (settings, RAM size, ROM, display, cartridges, clock set to `now`).
  TMainForm(System& system, std::filesystem::path dir, MessageSink& sink, const LocalTime& now,
            QWidget* parent = nullptr);
  ~TMainForm() override;

  // The handlers, callable directly (tests) and reached through the Qt events.
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

  // Asked for the file name of the ROM save at close; nullopt means cancelled. The
  // default is the toolkit's file-save dialog.
  RomSaveDialog rom_save_dialog;

  const Settings& settings() const { return system_.settings(); }
  bool started() const { return system_.power_on_result() == PowerOnResult::kStarted; }
  const QImage& face_buffer() const { return face_buffer_; }
  const QImage& overlay_picture() const { return overlay_picture_; }
  TThreadedTimer& run_timer() { return run_timer_; }
  TThreadedTimer& rtc_timer() { return rtc_timer_; }
  QTimer& refresh_timer() { return refresh_timer_; }
  QTimer& sec_timer() { return sec_timer_; }
  int system_moves() const { return system_moves_; }

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

 private:
  // Loads a picture file from the machine folder; a missing or unreadable file, or one
  // that is no regular file, is reported and leaves `picture` as it was.
  bool LoadPicture(const char* file_name, QImage& picture);
  void ShowDeviceError();
  void StartSystemMove();

  // The steps of the start and close sequences that belong to the window.
  FrontEndSteps FrontEnd();

  System& system_;
  MessageSink& sink_;
  bool shown_ = false;
  std::optional<std::string> device_error_;  // waiting to be shown
  int system_moves_ = 0;

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
