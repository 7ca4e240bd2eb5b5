#include "frontend/qt/main_form.h"

#include <QCloseEvent>
#include <QFileDialog>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>
#include <QWindow>
#include <utility>

#include "devices/host_file.h"
#include "devices/key_tables.h"
#include "frontend/emulated_time.h"
#include "frontend/qt/host_keys.h"

namespace orlan {
namespace {

QImage BlankPicture(int width, int height) {
  QImage picture(width, height, QImage::Format_RGB32);
  picture.fill(Qt::white);
  return picture;
}

// Copies all of `source` onto `target` at `at`, replacing what was there.
void Blit(QImage& target, QPoint at, const QImage& source) {
  QPainter painter(&target);
  painter.setCompositionMode(QPainter::CompositionMode_Source);
  painter.drawImage(at, source);
}

// Copies a rectangle of `picture` to another place in it; the rectangles may overlap.
void MoveRect(QImage& picture, const QRect& from, QPoint to) {
  const QImage part = picture.copy(from);
  Blit(picture, to, part);
}

// Draws `source` onto `target` at `at`, leaving target pixels under pure green.
void BlitTransparent(QImage& target, QPoint at, const QImage& source) {
  for (int y = 0; y < source.height(); ++y) {
    const int ty = at.y() + y;
    if (ty < 0 || ty >= target.height()) continue;
    const auto* in = reinterpret_cast<const QRgb*>(source.constScanLine(y));
    auto* out = reinterpret_cast<QRgb*>(target.scanLine(ty));
    for (int x = 0; x < source.width(); ++x) {
      const int tx = at.x() + x;
      if (tx < 0 || tx >= target.width()) continue;
      if ((in[x] | 0xFF000000u) != kTransparentGreen) out[tx] = in[x];
    }
  }
}

QImage LcdImage(const Lcd& lcd) {
  return QImage(reinterpret_cast<const uchar*>(lcd.pixels()), kLcdPictureWidth, kLcdPictureHeight,
                kLcdPictureWidth * 4, QImage::Format_RGB32);
}

}  // namespace

TMainForm::TMainForm(System& system, std::filesystem::path dir, MessageSink& sink,
                     const LocalTime& now, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::FramelessWindowHint), system_(system), sink_(sink) {
  setWindowTitle("Orlan");
  setFixedSize(kFaceWidth, kFaceHeight);
  setAttribute(Qt::WA_OpaquePaintEvent);
  setFocusPolicy(Qt::StrongFocus);
  if (const QScreen* s = screen()) move(s->availableGeometry().center() - rect().center());

  rom_save_dialog = [this]() -> std::optional<std::filesystem::path> {
    const QString name = QFileDialog::getSaveFileName(
        this, "Save the modified ROM image",
        QString::fromStdString(PathText(system_.folder() / "rom.bin")),
        "Binary files (*.bin *.BIN)", nullptr, QFileDialog::DontConfirmOverwrite);
    if (name.isEmpty()) return std::nullopt;
    return std::filesystem::path(name.toStdString());
  };

  // The timers exist, disabled, from the start; showing the window enables them.
  run_timer_.SetInterval(kRunIntervalMs);
  run_timer_.OnTimer = [this](QObject*) { OnRunTimer(); };
  rtc_timer_.SetInterval(kRtcIntervalMs);
  rtc_timer_.OnTimer = [this](QObject*) { OnRtcTimer(); };
  refresh_timer_.setInterval(kRefreshIntervalMs);
  connect(&refresh_timer_, &QTimer::timeout, this, &TMainForm::OnRefreshTimer);
  sec_timer_.setInterval(kSecIntervalMs);
  connect(&sec_timer_, &QTimer::timeout, this, &TMainForm::OnSecTimer);

  // FormCreate.
  face_buffer_ = BlankPicture(kFaceWidth, kFaceHeight);
  key_picture_ = BlankPicture(kKeyPictureWidth, kKeyPictureHeight);
  overlay_picture_ = BlankPicture(kOverlayWidth, kOverlayHeight);
  PowerOnOptions options;
  options.folder = std::move(dir);
  options.now = now;
  system_.PowerOn(options, sink_);
}

TMainForm::~TMainForm() = default;

bool TMainForm::LoadPicture(const char* file_name, QImage& picture) {
  const std::filesystem::path path = system_.folder() / file_name;
  // Something that is no regular file (a FIFO) would block the interface for good.
  if (HostFileKind(path) == FileKind::kOther) {
    sink_.Warning(NotRegularFile(path).error);
    return false;
  }
  QImage loaded;
  if (!loaded.load(QString::fromStdString(PathText(path)), "BMP")) {
    sink_.Warning(LoadFailedMessage(PathText(path)));
    return false;
  }
  picture = loaded.convertToFormat(QImage::Format_RGB32);
  return true;
}

FrontEndSteps TMainForm::FrontEnd() {
  FrontEndSteps steps;
  steps.load_pictures = [this] {
    LoadPicture("keys.bmp", key_picture_);
    LoadPicture("overlay.bmp", overlay_picture_);
    if (LoadPicture("face.bmp", scratch_picture_)) {
      Blit(face_buffer_, QPoint(0, 0), scratch_picture_);
    }
    update();
  };
  steps.start_timers = [this] {
    rtc_timer_.SetEnabled(true);
    sec_timer_.start();
    run_timer_.SetEnabled(true);
    refresh_timer_.start();
  };
  steps.stop_timers = [this] {
    rtc_timer_.SetEnabled(false);
    sec_timer_.stop();
    run_timer_.SetEnabled(false);
    refresh_timer_.stop();
  };
  steps.release_pictures = [this] {
    scratch_picture_ = QImage();
    face_buffer_ = QImage();
    key_picture_ = QImage();
    overlay_picture_ = QImage();
  };
  steps.choose_rom_target = rom_save_dialog;
  return steps;
}

void TMainForm::FormShow() {
  if (shown_) return;
  shown_ = true;
  system_.Start(FrontEnd());
}

void TMainForm::FormClose() {
  if (system_.closed()) return;
  system_.Close(FrontEnd(), sink_);
  emit Closed();
}

void TMainForm::DrawKeyImage(int area, int x, int y, bool pressed) {
  if (face_buffer_.isNull()) return;
  const KeyArea& a = kKeyAreas[area];
  scratch_picture_ =
      key_picture_.copy(a.image_x + (pressed ? 0 : a.width), a.image_y, a.width, a.height);
  BlitTransparent(face_buffer_, QPoint(x, y), scratch_picture_);
  scratch_picture_ = face_buffer_.copy(x, y, a.width, a.height);
  update(x, y, a.width, a.height);
}

void TMainForm::ReleaseMouseKey(int x, int y) {
  const int key = system_.board().keyboard.mouse_key();
  if (key == 0) return;
  const std::optional<KeyRect> r = KeyRectOf(key);
  if (!r) {
    system_.SetMouseKey(0);
    return;
  }
  if (x >= r->x && x < r->x + r->width && y >= r->y && y < r->y + r->height) return;
  if (!face_buffer_.isNull()) {
    // Shift the key's face back up and left by one pixel.
    MoveRect(face_buffer_, QRect(r->x + 5, r->y + 5, r->width - 8, r->height - 8),
             QPoint(r->x + 4, r->y + 4));
  }
  DrawKeyImage(r->area, r->x, r->y, false);
  system_.SetMouseKey(0);
}

void TMainForm::FormMouseDown(int x, int y) {
  ReleaseMouseKey(-1, -1);
  const int key = KeyIndexAt(x, y);
  if (key == 0) {
    // The gaps and everything outside the keys drag the frameless window.
    system_.SetMouseKey(0);
    StartSystemMove();
    return;
  }
  const KeyRect r = *KeyRectOf(key);
  if (!face_buffer_.isNull()) {
    // The key's face moves one pixel down and right.
    MoveRect(face_buffer_, QRect(r.x + 4, r.y + 4, r.width - 8, r.height - 8),
             QPoint(r.x + 5, r.y + 5));
  }
  DrawKeyImage(r.area, r.x, r.y, true);
  system_.SetMouseKey(key);  // a machine key also raises the key interrupt
}

void TMainForm::FormMouseUp() {
  const int key = system_.board().keyboard.mouse_key();
  ReleaseMouseKey(-1, -1);
  if (key == kCloseButton) close();
  if (key == kResetButton) system_.ResetButton();
}

void TMainForm::FormMouseMove(int x, int y) { ReleaseMouseKey(x, y); }

void TMainForm::StartSystemMove() {
  ++system_moves_;
  if (QWindow* window = windowHandle()) window->startSystemMove();
}

void TMainForm::SwapLegendStrips() {
  if (face_buffer_.isNull()) return;
  for (int i = 0; i < static_cast<int>(kLegendStripY.size()); ++i) {
    const QRect face_strip(kLegendLeft, kLegendStripY[i], kLegendWidth, kLegendHeight);
    const QImage from_face = face_buffer_.copy(face_strip);
    const QImage from_overlay =
        overlay_picture_.copy(0, kLegendHeight * i, kLegendWidth, kLegendHeight);
    Blit(face_buffer_, face_strip.topLeft(), from_overlay);
    Blit(overlay_picture_, QPoint(0, kLegendHeight * i), from_face);
    update(face_strip);
  }
}

void TMainForm::FormKeyDown(int virtual_key) {
  if (virtual_key == kVirtualKeyF2) {
    SwapLegendStrips();
  } else if (virtual_key == kVirtualKeyF3) {
    system_.machine().StopIntoDebugger();  // shows the debug window
  } else {
    system_.HostKeyDown(virtual_key);
  }
}

void TMainForm::FormKeyPress(char32_t ch) { system_.HostCharacter(ch); }

void TMainForm::FormKeyUp() { system_.HostKeyUp(); }

void TMainForm::FormDeactivate() {
  ReleaseMouseKey(-1, -1);
  system_.HostKeyUp();
}

void TMainForm::OnRunTimer() {
  system_.Tick(TickKind::kRun);
  // A cartridge file error is shown after the tick, so the worker is not held up
  // while the box is open; errors while one waits to be shown are not repeated.
  std::optional<std::string> error = system_.TakeDeviceError();
  if (error && !device_error_) {
    device_error_ = std::move(error);
    QMetaObject::invokeMethod(this, &TMainForm::ShowDeviceError, Qt::QueuedConnection);
  }
}

void TMainForm::ShowDeviceError() {
  if (device_error_) sink_.Warning(*device_error_);
  device_error_.reset();
}

void TMainForm::OnRtcTimer() { system_.Tick(TickKind::kClock); }

void TMainForm::OnSecTimer() { system_.Tick(TickKind::kSecond); }

void TMainForm::OnRefreshTimer() {
  if (system_.Tick(TickKind::kRefresh)) {
    update(kLcdLeft, kLcdTop, kLcdPictureWidth, kLcdPictureHeight);
  }
}

void TMainForm::showEvent(QShowEvent* event) {
  QWidget::showEvent(event);
  FormShow();
}

void TMainForm::closeEvent(QCloseEvent* event) {
  FormClose();
  event->accept();
}

void TMainForm::paintEvent(QPaintEvent* event) {
  // FormPaint: the display goes into the face, the face onto the window.
  QPainter painter(this);
  if (face_buffer_.isNull()) {
    painter.fillRect(event->rect(), Qt::white);
    return;
  }
  Blit(face_buffer_, QPoint(kLcdLeft, kLcdTop), LcdImage(system_.board().lcd));
  painter.drawImage(event->rect(), face_buffer_, event->rect());
  system_.DisplayPainted();
}

void TMainForm::mousePressEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) return;
  const QPoint p = event->position().toPoint();
  FormMouseDown(p.x(), p.y());
}

void TMainForm::mouseReleaseEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) return;
  FormMouseUp();
}

void TMainForm::mouseMoveEvent(QMouseEvent* event) {
  const QPoint p = event->position().toPoint();
  FormMouseMove(p.x(), p.y());
}

void TMainForm::keyPressEvent(QKeyEvent* event) {
  // A held host key repeats: each repeat presses it again and raises the interrupt.
  if (const int virtual_key = VirtualKeyFromQtKey(event->key())) FormKeyDown(virtual_key);
  for (const char32_t ch : event->text().toUcs4()) FormKeyPress(ch);
}

void TMainForm::keyReleaseEvent(QKeyEvent* event) {
  // Repeats come as release-press pairs on some platforms; the key is still held.
  if (event->isAutoRepeat()) return;
  FormKeyUp();
}

void TMainForm::changeEvent(QEvent* event) {
  QWidget::changeEvent(event);
  if (event->type() == QEvent::ActivationChange && !isActiveWindow()) FormDeactivate();
}

}  // namespace orlan
