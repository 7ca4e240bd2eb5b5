#include "frontend/qt/main_form.h"

#include <QCloseEvent>
#include <QContextMenuEvent>
#include <QCursor>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMessageBox>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>
#include <QSettings>
#include <QStandardPaths>
#include <QWindow>
#include <array>
#include <utility>

#include "devices/folder_lock.h"
#include "devices/host_file.h"
#include "devices/key_tables.h"
#include "frontend/emulated_time.h"
#include "frontend/machine_folder.h"
#include "frontend/qt/display_capture.h"
#include "frontend/qt/host_keys.h"
#include "frontend/qt/machine_folder_prompt.h"
#include "frontend/qt/user_settings.h"

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

QString FolderText(const std::filesystem::path& path) {
  return QDir::toNativeSeparators(QString::fromStdWString(path.wstring()));
}

std::filesystem::path PathOf(const QString& name) {
  return std::filesystem::path(QDir::toNativeSeparators(name).toStdWString());
}

constexpr char kTitle[] = "Orlan";
// How long a notice (slot chosen, saved, loaded) stays on the face.
constexpr int kNoticeMs = 2000;
// The mark sits under the display's lower right corner, in face pixels.
const QRect kMarkRect(kLcdLeft + kLcdPictureWidth - 140, kLcdTop + kLcdPictureHeight + 12, 140, 18);

QImage LcdImage(const Lcd& lcd) {
  return QImage(reinterpret_cast<const uchar*>(lcd.pixels()), kLcdPictureWidth, kLcdPictureHeight,
                kLcdPictureWidth * 4, QImage::Format_RGB32);
}

}  // namespace

TMainForm::TMainForm(System& system, std::filesystem::path dir, MessageSink& sink,
                     const LocalTime& now, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::FramelessWindowHint),
      system_(system),
      sink_(sink),
      actions_(*this, [this](WindowAction action) { Trigger(action); }) {
  setWindowTitle(kTitle);
  setAttribute(Qt::WA_OpaquePaintEvent);
  setFocusPolicy(Qt::StrongFocus);
  ApplyZoom();
  if (const QScreen* s = screen()) move(s->availableGeometry().center() - rect().center());

  rom_save_dialog = [this]() -> std::optional<std::filesystem::path> {
    const QString name = QFileDialog::getSaveFileName(
        this, "Save the modified ROM image",
        QString::fromStdString(PathText(system_.folder() / "rom.bin")),
        "Binary files (*.bin *.BIN)", nullptr, QFileDialog::DontConfirmOverwrite);
    if (name.isEmpty()) return std::nullopt;
    return std::filesystem::path(name.toStdString());
  };
  screenshot_dialog = [this]() -> std::optional<std::filesystem::path> {
    QString folder = user_settings_ != nullptr
                         ? user_settings_->value(QLatin1String(kScreenshotFolderKey)).toString()
                         : QString();
    if (folder.isEmpty())
      folder = QStandardPaths::writableLocation(QStandardPaths::PicturesLocation);
    const QString name = QFileDialog::getSaveFileName(this, "Save the display as a picture",
                                                      QDir(folder).filePath("orlan-display.png"),
                                                      "PNG pictures (*.png)");
    if (name.isEmpty()) return std::nullopt;
    if (user_settings_ != nullptr) {
      user_settings_->setValue(QLatin1String(kScreenshotFolderKey), QFileInfo(name).path());
    }
    return PathOf(name);
  };
  folder_dialog = [this]() -> std::optional<QString> {
    const QString folder =
        QFileDialog::getExistingDirectory(this, "Machine folder", FolderText(system_.folder()));
    if (folder.isEmpty()) return std::nullopt;
    return folder;
  };
  about_box = [this] {
    QMessageBox::about(
        this, "About Orlan emulator",
        QStringLiteral("<p><b>Orlan emulator %1</b></p><p>A pocket computer with a 120 by 64 "
                       "dot display and a processor of the PDP-11 instruction set.</p><p>The "
                       "machine folder: %2</p><p>Right-click the face, or press the Menu key, "
                       "for the menu.</p>")
            .arg(QStringLiteral(ORLAN_VERSION), FolderText(system_.folder()).toHtmlEscaped()));
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
  notice_timer_.setSingleShot(true);
  notice_timer_.setInterval(kNoticeMs);
  connect(&notice_timer_, &QTimer::timeout, this, [this] {
    notice_.clear();
    UpdateFace(kMarkRect);
  });
  // Run ticks are timed: one never holds the interface longer than the System allows,
  // whatever the speed, and fast-forward fills its share of host time.
  system_.set_host_clock(SteadyHostClock());
  action(WindowAction::kStateSlot1)->setChecked(true);

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

void TMainForm::UseUserSettings(QSettings& settings) {
  user_settings_ = &settings;
  const int zoom = settings.value(QLatin1String(kZoomKey), kZoomPixelRatio).toInt();
  SetZoom(zoom >= 1 && zoom <= kMaxZoom ? zoom : kZoomPixelRatio);
  const QVariant position = settings.value(QLatin1String(kWindowPositionKey));
  if (!position.canConvert<QPoint>()) return;
  // Only where a screen still shows the window's corner (screens come and go).
  const QPoint corner = position.toPoint();
  if (QGuiApplication::screenAt(corner + QPoint(8, 8)) != nullptr) move(corner);
}

void TMainForm::SetZoom(int zoom) {
  zoom_ = zoom >= 1 && zoom <= kMaxZoom ? zoom : kZoomPixelRatio;
  const QRect before = geometry();
  ApplyZoom();
  if (isVisible()) {
    // Grown or shrunk about its centre, and kept on the screen where it fits.
    QRect after(QPoint(0, 0), size());
    after.moveCenter(before.center());
    if (const QScreen* s = screen()) {
      const QRect free = s->availableGeometry();
      if (after.right() > free.right()) after.moveRight(free.right());
      if (after.bottom() > free.bottom()) after.moveBottom(free.bottom());
      if (after.left() < free.left()) after.moveLeft(free.left());
      if (after.top() < free.top()) after.moveTop(free.top());
    }
    move(after.topLeft());
  }
  if (user_settings_ != nullptr) user_settings_->setValue(QLatin1String(kZoomKey), zoom_);
}

void TMainForm::ApplyZoom() {
  scale_ = FaceScale(zoom_, devicePixelRatioF());
  setFixedSize(scale_.WindowSize());
  static constexpr std::array<WindowAction, kMaxZoom + 1> kZoomActions = {
      WindowAction::kZoomPixelRatio, WindowAction::kZoom1, WindowAction::kZoom2,
      WindowAction::kZoom3, WindowAction::kZoom4};
  action(kZoomActions[static_cast<std::size_t>(zoom_)])->setChecked(true);
  action(WindowAction::kZoomPixelRatio)
      ->setText(QStringLiteral("Screen's pixel ratio (%1×)")
                    .arg(FaceScale(kZoomPixelRatio, devicePixelRatioF()).pixels()));
  update();
}

void TMainForm::UpdateFace(const QRect& face_rect) { update(scale_.ToWindow(face_rect)); }

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
  RememberPosition();
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
  UpdateFace(QRect(x, y, a.width, a.height));
}

void TMainForm::ReleaseMouseKey(int x, int y) {
  const int key = pressed_key_;
  if (key == 0) return;
  const std::optional<KeyRect> r = KeyRectOf(key);
  if (r && x >= r->x && x < r->x + r->width && y >= r->y && y < r->y + r->height) return;
  pressed_key_ = 0;
  system_.SetMouseKey(0);  // the machine lets go once it has run a tick with the key
  if (!r) return;
  if (!face_buffer_.isNull()) {
    // Shift the key's face back up and left by one pixel.
    MoveRect(face_buffer_, QRect(r->x + 5, r->y + 5, r->width - 8, r->height - 8),
             QPoint(r->x + 4, r->y + 4));
  }
  DrawKeyImage(r->area, r->x, r->y, false);
}

void TMainForm::FormMouseDown(int x, int y) {
  ReleaseMouseKey(-1, -1);
  const int key = KeyIndexAt(x, y);
  if (key == 0) {
    // The gaps and everything outside the keys drag the frameless window.
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
  pressed_key_ = key;
  system_.SetMouseKey(key);  // a machine key also raises the key interrupt
}

void TMainForm::FormMouseUp() {
  const int key = pressed_key_;
  ReleaseMouseKey(-1, -1);
  if (key == kCloseButton) close();
  if (key == kResetButton) system_.ResetButton();
}

void TMainForm::FormMouseMove(int x, int y) { ReleaseMouseKey(x, y); }

void TMainForm::StartSystemMove() {
  ++system_moves_;
  QWindow* window = windowHandle();
  if (window != nullptr && window->startSystemMove()) return;
  // No window manager moves it: the window follows the pointer until the release.
  dragging_ = true;
  drag_offset_ = press_global_ - pos();
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
    UpdateFace(face_strip);
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
  // Shown after the tick like the errors below.
  if (std::optional<std::string> notice = system_.TakePasteNotice()) {
    QMetaObject::invokeMethod(
        this, [this, text = std::move(*notice)] { sink_.Warning(text); }, Qt::QueuedConnection);
  }
  // A file error is shown after the tick, so the worker is not held up while the box
  // is open; the next one waits until the box is closed.
  if (device_error_) return;
  device_error_ = system_.TakeDeviceError();
  if (device_error_) {
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
    UpdateFace(QRect(kLcdLeft, kLcdTop, kLcdPictureWidth, kLcdPictureHeight));
  }
}

void TMainForm::Trigger(WindowAction action) {
  switch (action) {
    case WindowAction::kMenu:
      ShowMenu(rect().contains(mapFromGlobal(QCursor::pos())) ? mapFromGlobal(QCursor::pos())
                                                              : rect().center());
      break;
    case WindowAction::kReset:
      system_.ResetButton();
      break;
    case WindowAction::kScreenshot:
      SaveScreenshot();
      break;
    case WindowAction::kCopyDisplay:
      CopyDisplay(system_.board().lcd, kLcdScale * scale_.pixels(), *QGuiApplication::clipboard());
      break;
    case WindowAction::kPaste:
      Paste(QClipboard::Clipboard);
      break;
    case WindowAction::kZoom1:
    case WindowAction::kZoom2:
    case WindowAction::kZoom3:
    case WindowAction::kZoom4:
      SetZoom(1 + static_cast<int>(action) - static_cast<int>(WindowAction::kZoom1));
      break;
    case WindowAction::kZoomPixelRatio:
      SetZoom(kZoomPixelRatio);
      break;
    case WindowAction::kPause:
      SetPaused(!system_.paused());
      break;
    case WindowAction::kFastForward:
      SetFastForward(!system_.fast_forward());
      break;
    case WindowAction::kStateSlot1:
    case WindowAction::kStateSlot2:
    case WindowAction::kStateSlot3:
    case WindowAction::kStateSlot4:
      SelectStateSlot(1 + static_cast<int>(action) - static_cast<int>(WindowAction::kStateSlot1));
      break;
    case WindowAction::kSaveState:
      SaveStateSlot();
      break;
    case WindowAction::kLoadState:
      LoadStateSlot();
      break;
    case WindowAction::kDebugger:
      system_.machine().StopIntoDebugger();  // shows the debug window
      break;
    case WindowAction::kOpenFolder:
      OpenMachineFolder();
      break;
    case WindowAction::kAbout:
      if (about_box) about_box();
      break;
    case WindowAction::kQuit:
      close();
      break;
  }
}

std::filesystem::path TMainForm::StateSlotPath(int slot) const {
  return system_.folder() / ("state" + std::to_string(slot) + ".sav");
}

void TMainForm::SelectStateSlot(int slot) {
  if (slot < 1 || slot > kStateSlots) return;
  state_slot_ = slot;
  const int index = static_cast<int>(WindowAction::kStateSlot1) + slot - 1;
  action(static_cast<WindowAction>(index))->setChecked(true);
  Notice(QString("Slot %1").arg(slot));
}

void TMainForm::SaveStateSlot() {
  if (IoResult saved = system_.SaveStateFile(StateSlotPath(state_slot_)); !saved) {
    sink_.Warning(saved.error);
    return;
  }
  Notice(QString("Saved in slot %1").arg(state_slot_));
}

void TMainForm::LoadStateSlot() {
  const StateLoadResult loaded = system_.LoadStateFile(StateSlotPath(state_slot_));
  if (!loaded.ok()) {
    sink_.Warning(loaded.error);
    return;
  }
  for (const std::string& warning : loaded.warnings) sink_.Warning(warning);
  // Text still being pasted was meant for the machine it was pasted into.
  system_.CancelPaste();
  // The mouse holds no key now, whatever it held when the state was saved.
  ReleaseMouseKey(-1, -1);
  if (system_.board().keyboard.mouse_key() != 0) system_.SetMouseKey(0);
  // The debug window, when it has the machine, shows the loaded one.
  if (system_.machine().run.run_stopped()) system_.machine().StopIntoDebugger();
  Notice(QString("Loaded slot %1").arg(state_slot_));
  update();
}

void TMainForm::SetPaused(bool paused) {
  system_.SetPaused(paused);
  ShowRunState();
}

void TMainForm::SetFastForward(bool on) {
  system_.SetFastForward(on);
  ShowRunState();
}

void TMainForm::ShowRunState() {
  action(WindowAction::kPause)->setChecked(system_.paused());
  action(WindowAction::kFastForward)->setChecked(system_.fast_forward());
  QString title = kTitle;
  const QChar dash(0x2014);
  if (system_.paused()) {
    title += QString(" %1 paused").arg(dash);
  } else if (system_.fast_forward()) {
    title += QString(" %1 fast-forward").arg(dash);
  }
  setWindowTitle(title);
  UpdateFace(kMarkRect);
}

void TMainForm::Notice(const QString& text) {
  notice_ = text;
  notice_timer_.start();
  UpdateFace(kMarkRect);
}

QString TMainForm::MarkText() const {
  if (!notice_.isEmpty()) return notice_;
  if (system_.paused()) return "PAUSED";
  if (system_.fast_forward()) return "FAST-FORWARD";
  return {};
}

void TMainForm::PaintMark(QPainter& painter) {
  const QString text = MarkText();
  if (text.isEmpty()) return;
  // Drawn in face pixels, zoomed with the face.
  const QRectF face = scale_.FaceInWindow();
  painter.save();
  painter.translate(face.topLeft());
  painter.scale(face.width() / kFaceWidth, face.height() / kFaceHeight);
  painter.setRenderHint(QPainter::Antialiasing);
  painter.setPen(Qt::NoPen);
  QColor background(0x30, 0x30, 0x30, 0xD0);
  if (notice_.isEmpty()) {
    background = system_.paused() ? QColor(0xA0, 0x20, 0x20, 0xD0) : QColor(0x20, 0x40, 0xA0, 0xD0);
  }
  painter.setBrush(background);
  painter.drawRoundedRect(kMarkRect, 4, 4);
  QFont font = painter.font();
  font.setBold(true);
  font.setPixelSize(11);
  painter.setFont(font);
  painter.setPen(Qt::white);
  painter.drawText(kMarkRect, Qt::AlignCenter, text);
  painter.restore();
}

void TMainForm::ShowMenu(QPoint window_point) { context_menu().popup(mapToGlobal(window_point)); }

void TMainForm::Paste(QClipboard::Mode mode) {
  const QClipboard* clipboard = QGuiApplication::clipboard();
  if (mode == QClipboard::Selection && !clipboard->supportsSelection()) {
    mode = QClipboard::Clipboard;
  }
  const QString text = clipboard->text(mode);
  if (!text.isEmpty()) system_.Paste(text.toStdU32String());
}

void TMainForm::SaveScreenshot() {
  if (!screenshot_dialog) return;
  const std::optional<std::filesystem::path> file = screenshot_dialog();
  if (!file) return;
  if (IoResult saved = SaveDisplayPng(system_.board().lcd, kLcdScale * scale_.pixels(), *file);
      !saved) {
    sink_.Warning(saved.error);
  }
}

void TMainForm::OpenMachineFolder() {
  if (!folder_dialog) return;
  const std::optional<QString> folder = folder_dialog();
  if (!folder) return;
  const std::filesystem::path path = PathOf(*folder);
  if (!HoldsMachineFiles(path)) {
    sink_.Warning(PathText(path) + ": holds none of the machine's files");
    return;
  }
  // A folder another emulator holds would refuse the next machine after this one has
  // closed, ending the program: ask first and keep running this one. (This machine's
  // own folder is held by it and is let go before it opens again.)
  std::error_code same_error;
  if (!std::filesystem::equivalent(path, system_.folder(), same_error)) {
    FolderLock probe;
    if (const IoResult free = probe.Acquire(path); !free) {
      sink_.Warning(free.error);
      return;
    }
  }
  next_folder_ = *folder;
  if (user_settings_ != nullptr) {
    user_settings_->setValue(QLatin1String(kMachineFolderKey), *folder);
  }
  close();
}

void TMainForm::RememberPosition() {
  if (user_settings_ == nullptr) return;
  user_settings_->setValue(QLatin1String(kWindowPositionKey), pos());
  user_settings_->sync();
}

void TMainForm::showEvent(QShowEvent* event) {
  QWidget::showEvent(event);
  if (!shown_ && windowHandle() != nullptr) {
    // A screen of another pixel ratio needs another window size.
    connect(windowHandle(), &QWindow::screenChanged, this, &TMainForm::ApplyZoom);
    ApplyZoom();
  }
  FormShow();
}

void TMainForm::closeEvent(QCloseEvent* event) {
  FormClose();
  event->accept();
}

void TMainForm::paintEvent(QPaintEvent* event) {
  // FormPaint: the display goes into the face, the face onto the window, each face
  // pixel a square of whole screen pixels.
  QPainter painter(this);
  if (face_buffer_.isNull()) {
    painter.fillRect(event->rect(), Qt::white);
    return;
  }
  Blit(face_buffer_, QPoint(kLcdLeft, kLcdTop), LcdImage(system_.board().lcd));
  painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
  painter.drawImage(scale_.FaceInWindow(), face_buffer_);
  PaintMark(painter);
  system_.DisplayPainted();
}

void TMainForm::mousePressEvent(QMouseEvent* event) {
  if (event->button() == Qt::MiddleButton) {
    Paste(QClipboard::Selection);
    return;
  }
  if (event->button() != Qt::LeftButton) return;
  press_global_ = event->globalPosition().toPoint();
  const QPoint p = scale_.ToFace(event->position());
  FormMouseDown(p.x(), p.y());
}

void TMainForm::mouseReleaseEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) return;
  dragging_ = false;
  FormMouseUp();
}

void TMainForm::mouseMoveEvent(QMouseEvent* event) {
  if (dragging_) {
    move(event->globalPosition().toPoint() - drag_offset_);
    return;
  }
  const QPoint p = scale_.ToFace(event->position());
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
  if (event->type() == QEvent::ActivationChange && !isActiveWindow()) {
    dragging_ = false;
    FormDeactivate();
  }
}

void TMainForm::contextMenuEvent(QContextMenuEvent* event) { ShowMenu(event->pos()); }

}  // namespace orlan
