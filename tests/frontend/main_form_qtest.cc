#include <QBuffer>
#include <QEvent>
#include <QKeyEvent>
#include <QSignalSpy>
#include <QTest>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "core/machine.h"
#include "devices/host_file.h"
#include "devices/key_tables.h"
#include "file_fixtures.h"
#include "frontend/qt/debug_form.h"
#include "frontend/qt/main_form.h"
#include "tests/support/fifo.h"

namespace orlan {
namespace {

using testing::Pattern;
using testing::TempDir;

constexpr QRgb kPressedColour = 0xFFC00000;
constexpr QRgb kReleasedColour = 0xFF0000C0;
constexpr QRgb kOverlayColour = 0xFF804020;
constexpr LocalTime kNow{2026, 12, 8, 2, 12, 34, 56};

// Machine files: the processor idles (CpuSpeed 0) so interrupt requests stay visible.
enum File : unsigned { kIni = 1, kRom = 2, kKeys = 4, kOverlay = 8, kFace = 16, kAll = 31 };

QImage FacePattern() {
  QImage face(kFaceWidth, kFaceHeight, QImage::Format_RGB32);
  for (int y = 0; y < face.height(); ++y) {
    for (int x = 0; x < face.width(); ++x) face.setPixel(x, y, qRgb(x & 0xFF, y, 0x40));
  }
  return face;
}

// Pressed images red, released images blue; one pixel of each pressed image green.
QImage KeysPattern() {
  QImage keys(kKeyPictureWidth, kKeyPictureHeight, QImage::Format_RGB32);
  keys.fill(Qt::white);
  for (const KeyArea& a : kKeyAreas) {
    for (int y = 0; y < a.height; ++y) {
      for (int x = 0; x < a.width; ++x) {
        keys.setPixel(a.image_x + x, a.image_y + y, kPressedColour);
        if (a.image_x + a.width + x < keys.width()) {
          keys.setPixel(a.image_x + a.width + x, a.image_y + y, kReleasedColour);
        }
      }
    }
    keys.setPixel(a.image_x + 6, a.image_y + 6, kTransparentGreen);
  }
  return keys;
}

struct Rig {
  explicit Rig(unsigned files, const std::string& ini = "[Settings]\nCpuSpeed=0\n") {
    if (files & kIni) dir.Write("orlan.ini", ini);
    if (files & kRom) dir.Write("rom.bin", Pattern(32512));
    const auto save = [&](const QImage& image, const char* name) {
      QVERIFY(image.save(QString::fromStdString((dir / name).string()), "BMP"));
    };
    if (files & kKeys) save(KeysPattern(), "keys.bmp");
    if (files & kOverlay) {
      QImage overlay(kLegendWidth, 8 * kLegendHeight, QImage::Format_RGB32);
      overlay.fill(kOverlayColour);
      save(overlay, "overlay.bmp");
    }
    if (files & kFace) save(FacePattern(), "face.bmp");
  }
  void Create() {
    form = std::make_unique<TMainForm>(system, dir.path(), sink, kNow);
    form->rom_save_dialog = [this]() -> std::optional<std::filesystem::path> {
      ++dialogs;
      return dir / "saved.bin";
    };
  }
  void Start() {
    Create();
    form->show();
  }
  int MouseKey() const { return system.board().keyboard.mouse_key(); }
  int HostKey() const { return system.board().keyboard.host_key(); }
  Machine& machine() { return system.machine(); }
  Board& board() { return system.board(); }

  TempDir dir;
  System system;
  CapturingMessageSink sink;
  std::unique_ptr<TMainForm> form;
  int dialogs = 0;
};

// The message of a missing file, which names it by its full path.
std::vector<std::string> Missing(const TempDir& dir, const std::vector<std::string>& names) {
  std::vector<std::string> messages;
  for (const std::string& name : names) {
    messages.push_back("Failed to load the file " + PathText(dir / name));
  }
  return messages;
}

}  // namespace

class MainFormTest : public QObject {
  Q_OBJECT

 private slots:
  void StartsWithAndWithoutEachFile_data();
  void StartsWithAndWithoutEachFile();
  void PictureThatIsNoRegularFileIsRefused();
  void DamagedOrOddPicturesNeverStopTheWindow();
  void AppliesTheSettings_data();
  void AppliesTheSettings();
  void MousePressHitsKeysAndGaps_data();
  void MousePressHitsKeysAndGaps();
  void WindowButtonsActOnRelease();
  void LegendSwapTwiceRestoresTheFace();
  void F3StopsTheRun();
  void HostKeysHoldMachineKeys_data();
  void HostKeysHoldMachineKeys();
  void KeyFeedbackAndDeactivation();
  void RefreshShowsTheDisplayAtItsPlace();
  void CartridgeErrorIsShownOnceAfterTheTick();
  void RunTickAtAnUnreachableSpeedEndsInTime();
};

void MainFormTest::StartsWithAndWithoutEachFile_data() {
  QTest::addColumn<unsigned>("files");
  QTest::addColumn<std::vector<std::string>>("missing");
  QTest::newRow("all") << unsigned{kAll} << std::vector<std::string>{};
  QTest::newRow("none") << 0u
                        << std::vector<std::string>{"rom.bin", "keys.bmp", "overlay.bmp",
                                                    "face.bmp"};
  QTest::newRow("no rom") << unsigned{kAll & ~kRom} << std::vector<std::string>{"rom.bin"};
  QTest::newRow("no keys") << unsigned{kAll & ~kKeys} << std::vector<std::string>{"keys.bmp"};
  QTest::newRow("no overlay") << unsigned{kAll & ~kOverlay}
                              << std::vector<std::string>{"overlay.bmp"};
  QTest::newRow("no face") << unsigned{kAll & ~kFace} << std::vector<std::string>{"face.bmp"};
}

void MainFormTest::StartsWithAndWithoutEachFile() {
  QFETCH(unsigned, files);
  QFETCH(std::vector<std::string>, missing);
  Rig rig(files);
  rig.machine().run.Stop();
  rig.Start();
  const std::vector<std::string> messages = Missing(rig.dir, missing);
  QCOMPARE(rig.sink.messages, messages);
  QVERIFY(rig.form->started());
  QCOMPARE(rig.machine().cpu.pc(), kResetAddress);
  QVERIFY(!rig.machine().run.run_stopped());
  QVERIFY(rig.form->rtc_timer().Enabled() && rig.form->sec_timer().isActive());
  QVERIFY(rig.form->run_timer().Enabled() && rig.form->refresh_timer().isActive());
  QCOMPARE(rig.board().rtc.reg(kRtcSeconds), 56);
  // The face is the picture when there is one, blank otherwise.
  const QRgb corner = rig.form->face_buffer().pixel(3, 300);
  QCOMPARE(corner, (files & kFace) ? FacePattern().pixel(3, 300) : QRgb{0xFFFFFFFF});
  // Showing again (restored from the taskbar) starts nothing twice.
  rig.form->hide();
  rig.form->show();
  QCOMPARE(rig.sink.messages.size(), messages.size());
}

// A FIFO in place of a picture used to block the interface thread for good.
void MainFormTest::PictureThatIsNoRegularFileIsRefused() {
#ifndef _WIN32
  Rig rig(kAll & ~kFace);
  const testing::Fifo fifo(rig.dir / "face.bmp");
  rig.Start();
  QCOMPARE(rig.sink.messages, std::vector<std::string>{NotRegularFile(rig.dir / "face.bmp").error});
  QVERIFY(rig.form->run_timer().Enabled());
#endif
}

// Pictures Qt cannot read are refused by name; readable ones of any size are drawn
// as far as they reach. With each the window runs, redraws and has every key pressed.
void MainFormTest::DamagedOrOddPicturesNeverStopTheWindow() {
  QByteArray bmp;
  {
    QBuffer buffer(&bmp);
    buffer.open(QIODevice::WriteOnly);
    QVERIFY(FacePattern().save(&buffer, "BMP"));
  }
  QByteArray huge = bmp.left(54);  // the header of a 60000 by 60000 picture, no pixels
  for (int at : {18, 22}) {
    huge[at] = char(0x60);
    huge[at + 1] = char(0xEA);
    huge[at + 2] = 0;
    huge[at + 3] = 0;
  }
  QByteArray tiny;
  {
    QBuffer buffer(&tiny);
    buffer.open(QIODevice::WriteOnly);
    QImage image(3, 2, QImage::Format_RGB32);
    image.fill(Qt::red);
    QVERIFY(image.save(&buffer, "BMP"));
  }
  // Qt's reader may take a cut-short file as far as it goes: then it is either.
  enum class Outcome { kRefused, kDrawn, kEither };
  const struct {
    const char* what;
    QByteArray bytes;
    Outcome outcome;
  } kinds[] = {{"truncated", bmp.left(100), Outcome::kEither},
               {"not a picture", QByteArray("BM") + QByteArray(300, '\x7f'), Outcome::kRefused},
               {"huge header", huge, Outcome::kRefused},
               {"empty", QByteArray(), Outcome::kRefused},
               {"3 by 2", tiny, Outcome::kDrawn}};
  for (const char* name : {"face.bmp", "keys.bmp", "overlay.bmp"}) {
    for (const auto& kind : kinds) {
      qInfo("%s: %s", name, kind.what);
      Rig rig(kAll);
      rig.dir.Write(
          name, std::string(kind.bytes.constData(), static_cast<std::size_t>(kind.bytes.size())));
      rig.Start();
      const std::vector<std::string> refused = Missing(rig.dir, {name});
      if (kind.outcome == Outcome::kRefused ||
          (kind.outcome == Outcome::kEither && !rig.sink.messages.empty())) {
        QCOMPARE(rig.sink.messages, refused);
      } else {
        QCOMPARE(rig.sink.messages, std::vector<std::string>{});
      }
      rig.form->OnRefreshTimer();
      QCOMPARE(rig.form->face_buffer().size(), QSize(790, 312));
      // Every key, OFF (the first, which closes the machine) last of all.
      std::vector<QPoint> keys;
      for (const KeyArea& a : kKeyAreas) {
        for (int i = 0; i < a.count; ++i) {
          keys.emplace_back(a.left + i % a.columns * a.pitch_x + a.width / 2,
                            a.top + i / a.columns * a.pitch_y + a.height / 2);
        }
      }
      for (auto at = keys.rbegin(); at != keys.rend(); ++at) {
        QTest::mousePress(rig.form.get(), Qt::LeftButton, {}, *at);
        rig.form->repaint();
        QTest::mouseRelease(rig.form.get(), Qt::LeftButton, {}, *at);
      }
    }
  }
}

void MainFormTest::AppliesTheSettings_data() {
  QTest::addColumn<std::string>("ini");
  QTest::addColumn<int>("steps");
  QTest::addColumn<int>("ram_top");
  QTest::addColumn<int>("radix");
  QTest::addColumn<bool>("modified");
  QTest::addColumn<int>("dialogs");
  QTest::newRow("defaults") << std::string() << 400 << 037777 << 16 << true << 0;
  QTest::newRow("ram 0x5000") << std::string("[Settings]\nRamSize=0x5000\nCpuSpeed=0\n") << 0
                              << 0x4FFF << 16 << false << 0;
  QTest::newRow("ram 100000") << std::string("[Settings]\nRamSize=100000\nCpuSpeed=$10\n") << 16
                              << 077777 << 16 << false << 0;
  QTest::newRow("save, unchanged")
      << std::string("[Debugger]\nSaveRom=1\nRadix=8\n") << 400 << 037777 << 8 << false << 0;
  QTest::newRow("save, changed") << std::string("[Debugger]\nSaveRom=1\n") << 400 << 037777 << 16
                                 << true << 1;
  QTest::newRow("save key in the wrong section")
      << std::string("[Settings]\nSaveRom=1\n") << 400 << 037777 << 16 << true << 0;
}

void MainFormTest::AppliesTheSettings() {
  QFETCH(std::string, ini);
  QFETCH(int, steps);
  QFETCH(int, ram_top);
  QFETCH(int, radix);
  QFETCH(bool, modified);
  QFETCH(int, dialogs);
  Rig rig(kAll, ini);
  rig.Create();
  QCOMPARE(rig.machine().run.steps_per_tick(), steps);
  QCOMPARE(int{rig.machine().ram_top()}, ram_top);
  QCOMPARE(rig.form->settings().radix, radix);
  rig.form->show();
  if (steps == 0) {
    // An idle processor: the clock's periodic tick and the display still run.
    QTRY_VERIFY_WITH_TIMEOUT(rig.board().rtc.reg(kRtcFlags) & 0100, 5000);
    QCOMPARE(rig.machine().cpu.pc(), kResetAddress);
  }
  if (modified) rig.machine().run.MarkRomModified();
  QSignalSpy closed(rig.form.get(), &TMainForm::Closed);
  rig.form->close();
  QCOMPARE(closed.count(), 1);
  QVERIFY(rig.machine().run.run_stopped());
  QVERIFY(!rig.form->run_timer().Enabled() && !rig.form->rtc_timer().Enabled());
  QVERIFY(!rig.form->sec_timer().isActive() && !rig.form->refresh_timer().isActive());
  QCOMPARE(rig.dir.Read("rtc.bin").size(), size_t{64});
  QCOMPARE(rig.dialogs, dialogs);
  QCOMPARE(std::filesystem::exists(rig.dir / "saved.bin"), dialogs > 0);
}

void MainFormTest::MousePressHitsKeysAndGaps_data() {
  QTest::addColumn<QPoint>("at");
  QTest::addColumn<int>("key");
  QTest::addColumn<bool>("interrupt");
  QTest::newRow("close button") << QPoint(491, 37) << 1 << false;
  QTest::newRow("reset button") << QPoint(492, 71) << 2 << false;
  QTest::newRow("key 10") << QPoint(526, 68) << 10 << true;
  QTest::newRow("column gap") << QPoint(553, 68) << 0 << false;
  QTest::newRow("wide key left") << QPoint(596, 258) << 60 << true;
  QTest::newRow("wide key right") << QPoint(657, 258) << 60 << true;
  QTest::newRow("past the wide key") << QPoint(659, 258) << 0 << false;
  QTest::newRow("key 63") << QPoint(736, 258) << 63 << true;
  QTest::newRow("fourth column of three") << QPoint(771, 258) << 0 << false;
}

void MainFormTest::MousePressHitsKeysAndGaps() {
  QFETCH(QPoint, at);
  QFETCH(int, key);
  QFETCH(bool, interrupt);
  Rig rig(kAll);
  rig.Start();
  QTest::mousePress(rig.form.get(), Qt::LeftButton, {}, at);
  QCOMPARE(rig.MouseKey(), key);
  QCOMPARE(rig.machine().cpu.irq_channel, interrupt);
  QCOMPARE(rig.form->system_moves(), key == 0 ? 1 : 0);
  if (key >= kFirstMachineKey) QCOMPARE(rig.board().keyboard.KeyMatrixRead(), kKeyScanTable[key]);
  QTest::mouseRelease(rig.form.get(), Qt::RightButton, {}, at);
  QCOMPARE(rig.MouseKey(), key);  // other buttons are ignored
  if (key != kCloseButton) {
    QTest::mouseRelease(rig.form.get(), Qt::LeftButton, {}, at);
    QCOMPARE(rig.form->pressed_key(), 0);
    // The machine holds a key until it has run a tick with it.
    QCOMPARE(rig.MouseKey(), key >= kFirstMachineKey ? key : 0);
    rig.system.Tick(TickKind::kRun);
    QCOMPARE(rig.MouseKey(), 0);
  }
}

void MainFormTest::WindowButtonsActOnRelease() {
  {
    Rig rig(kAll);
    rig.Start();
    QSignalSpy closed(rig.form.get(), &TMainForm::Closed);
    rig.form->FormMouseDown(491, 37);
    rig.form->FormMouseMove(530, 40);  // moved off: releasing does nothing
    rig.form->FormMouseUp();
    QCOMPARE(closed.count(), 0);
    rig.form->FormMouseDown(491, 37);
    rig.form->FormMouseUp();
    QCOMPARE(closed.count(), 1);
  }
  {
    Rig rig(kAll);
    rig.Start();
    rig.machine().cpu.set_pc(01234);
    rig.machine().ram()[0100] = 0125;
    rig.board().lcd.set_reg(0, 02000);
    rig.board().rtc.set_reg(20, 7);
    rig.form->FormMouseDown(492, 71);
    QCOMPARE(rig.machine().cpu.pc(), 01234);  // nothing happens before the release
    rig.form->FormMouseUp();
    QCOMPARE(rig.machine().cpu.pc(), kResetAddress);
    QCOMPARE(rig.machine().ram()[0100], 0125);
    QCOMPARE(rig.board().lcd.reg(0), 02000);
    QCOMPARE(rig.board().rtc.reg(20), 7);
    QVERIFY(!rig.machine().cpu.irq_channel);
  }
}

void MainFormTest::LegendSwapTwiceRestoresTheFace() {
  Rig rig(kAll);
  rig.Start();
  const QImage face = rig.form->face_buffer().copy();
  const QImage overlay = rig.form->overlay_picture().copy();
  QTest::keyClick(rig.form.get(), Qt::Key_F2);
  for (const int y : kLegendStripY) {
    QCOMPARE(rig.form->face_buffer().pixel(kLegendLeft, y), kOverlayColour);
    QCOMPARE(rig.form->face_buffer().pixel(kLegendLeft + kLegendWidth - 1, y + 8), kOverlayColour);
    QCOMPARE(rig.form->face_buffer().pixel(kLegendLeft, y + 9), face.pixel(kLegendLeft, y + 9));
  }
  QCOMPARE(rig.form->face_buffer().pixel(kLegendLeft - 1, 25), face.pixel(kLegendLeft - 1, 25));
  QCOMPARE(rig.HostKey(), 0);
  QTest::keyClick(rig.form.get(), Qt::Key_F2);
  QCOMPARE(rig.form->face_buffer(), face);
  QCOMPARE(rig.form->overlay_picture(), overlay);
}

void MainFormTest::F3StopsTheRun() {
  Rig rig(kAll);
  rig.Start();
  rig.machine().run.Trace(5);
  rig.machine().run.RunTo(0173002);
  QTest::keyClick(rig.form.get(), Qt::Key_F3);  // no debug window: the run stops alone
  QVERIFY(rig.machine().run.run_stopped());
  QCOMPARE(rig.machine().run.trace_count(), -1);
  QCOMPARE(rig.machine().run.breakpoint_address(), -1);
  // While stopped, keys are held but raise nothing.
  QTest::keyPress(rig.form.get(), Qt::Key_1, {});
  QCOMPARE(rig.HostKey(), 3);
  QVERIFY(!rig.machine().cpu.irq_channel);

  rig.machine().run.Resume(0);
  TDebugForm debug(rig.machine(), rig.form->settings().radix);
  rig.machine().on_debug_stop = [&debug] { debug.ShowDebugWindow(); };
  QTest::keyClick(rig.form.get(), Qt::Key_F3);
  QVERIFY(debug.isVisible());
  QVERIFY(rig.machine().run.run_stopped());
  rig.machine().on_debug_stop = nullptr;
}

void MainFormTest::HostKeysHoldMachineKeys_data() {
  QTest::addColumn<int>("qt_key");
  QTest::addColumn<QString>("text");
  QTest::addColumn<int>("key");
  QTest::newRow("backspace") << int{Qt::Key_Backspace} << QString("\b") << 55;
  QTest::newRow("return") << int{Qt::Key_Return} << QString("\r") << 56;
  QTest::newRow("space") << int{Qt::Key_Space} << QString(" ") << 60;
  QTest::newRow("page up") << int{Qt::Key_PageUp} << QString() << 61;
  QTest::newRow("left") << int{Qt::Key_Left} << QString() << 51;
  QTest::newRow("F6") << int{Qt::Key_F6} << QString() << 49;
  QTest::newRow("F9") << int{Qt::Key_F9} << QString() << 63;
  QTest::newRow("digit") << int{Qt::Key_1} << QString("1") << 3;
  QTest::newRow("lower q") << int{Qt::Key_Q} << QString("q") << 48;
  QTest::newRow("letter outside a-z") << int{Qt::Key_unknown} << QString::fromUtf8("\u00e9") << 0;
  QTest::newRow("F5") << int{Qt::Key_F5} << QString() << 0;
}

void MainFormTest::HostKeysHoldMachineKeys() {
  QFETCH(int, qt_key);
  QFETCH(QString, text);
  QFETCH(int, key);
  Rig rig(kAll);
  rig.Start();
  QKeyEvent press(QEvent::KeyPress, qt_key, Qt::NoModifier, text);
  QApplication::sendEvent(rig.form.get(), &press);
  QCOMPARE(rig.HostKey(), key);
  QCOMPARE(rig.machine().cpu.irq_channel, key != 0);
  // A held key repeats as release-press pairs: it stays held.
  QKeyEvent repeat(QEvent::KeyRelease, qt_key, Qt::NoModifier, text, true);
  QApplication::sendEvent(rig.form.get(), &repeat);
  QCOMPARE(rig.HostKey(), key);
  QKeyEvent shift(QEvent::KeyRelease, Qt::Key_Shift, Qt::NoModifier);
  QApplication::sendEvent(rig.form.get(), &shift);  // any key-up lets go, after a tick
  QCOMPARE(rig.HostKey(), key);
  rig.system.Tick(TickKind::kRun);
  QCOMPARE(rig.HostKey(), 0);
}

void MainFormTest::KeyFeedbackAndDeactivation() {
  Rig rig(kAll);
  rig.Start();
  const QImage before = rig.form->face_buffer().copy();
  const QImage& face = rig.form->face_buffer();
  const KeyRect r = *KeyRectOf(60);
  rig.form->FormMouseDown(r.x, r.y);
  QTest::keyPress(rig.form.get(), Qt::Key_Q, {});
  QCOMPARE(rig.board().keyboard.KeyMatrixRead(), kKeyScanTable[60]);  // the mouse key wins
  QCOMPARE(face.pixel(r.x + r.width - 1, r.y + r.height - 1), kPressedColour);
  QCOMPARE(face.pixel(r.x + r.width, r.y), before.pixel(r.x + r.width, r.y));
  // Through the green pixel the face shows, moved one pixel down and right.
  QCOMPARE(face.pixel(r.x + 6, r.y + 6), before.pixel(r.x + 5, r.y + 5));
  QVERIFY(before.pixel(r.x + 5, r.y + 5) != before.pixel(r.x + 6, r.y + 6));
  QVERIFY(!rig.form->isActiveWindow());
  QEvent deactivated(QEvent::ActivationChange);
  QApplication::sendEvent(rig.form.get(), &deactivated);
  QCOMPARE(face.pixel(r.x, r.y), kReleasedColour);
  rig.system.Tick(TickKind::kRun);
  QCOMPARE(rig.MouseKey(), 0);
  QCOMPARE(rig.HostKey(), 0);
}

void MainFormTest::RefreshShowsTheDisplayAtItsPlace() {
  Rig rig(kAll);
  rig.Start();
  rig.machine().ram()[0] = 0200;  // leftmost dot of row 0
  rig.machine().ram()[1] = 0001;  // rightmost dot of the first byte of row 32
  rig.form->OnRefreshTimer();
  QVERIFY(!rig.board().lcd.changed());
  const QImage window = rig.form->grab().toImage().convertToFormat(QImage::Format_RGB32);
  QCOMPARE(window.pixel(kLcdLeft, kLcdTop), QRgb{0xFF000000});
  QCOMPARE(window.pixel(kLcdLeft + 2, kLcdTop + 2), QRgb{0xFF000000});
  QCOMPARE(window.pixel(kLcdLeft + 3, kLcdTop), QRgb{0xFFFFFFFF});
  QCOMPARE(window.pixel(kLcdLeft + 21, kLcdTop + 96), QRgb{0xFF000000});
  QCOMPARE(window.pixel(kLcdLeft - 1, kLcdTop), FacePattern().pixel(kLcdLeft - 1, kLcdTop));
  QCOMPARE(window.pixel(kLcdLeft + 360, kLcdTop), FacePattern().pixel(kLcdLeft + 360, kLcdTop));
}

void MainFormTest::CartridgeErrorIsShownOnceAfterTheTick() {
  Rig rig(kAll);
  rig.dir.Write("smp0.bin", Pattern(1024));
  rig.Start();
  rig.form->run_timer().SetEnabled(false);
  Cartridges& carts = rig.board().cartridges;
  carts.CartSetCommand(0, kCartLoadAddress);
  carts.CartTransfer(0, 0x01);
  carts.CartTransfer(0, 0xF4);
  carts.CartSetCommand(0, kCartWriteUp);
  {
    testing::FileSizeLimit limit(100);  // the writes at 500 and on fail
    carts.CartTransfer(0, 0x12);
    carts.CartTransfer(0, 0x34);
  }
  rig.form->OnRunTimer();
  QVERIFY(rig.sink.messages.empty());  // not inside the tick
  QTRY_COMPARE(rig.sink.messages.size(), size_t{1});
  QVERIFY2(rig.sink.messages[0].find("smp0.bin") != std::string::npos,
           rig.sink.messages[0].c_str());
  // A medium that stays full: no new box at every tick (the window could not be
  // closed for them), until a write has gone through in between.
  const auto fail_and_tick = [&] {
    {
      testing::FileSizeLimit limit(100);
      carts.CartTransfer(0, 0x56);
    }
    rig.form->OnRunTimer();
    QTest::qWait(20);
  };
  for (int tick = 0; tick < 5; ++tick) fail_and_tick();
  QCOMPARE(rig.sink.messages.size(), size_t{1});
  carts.CartSetCommand(0, kCartLoadAddress);
  carts.CartTransfer(0, 0x00);
  carts.CartTransfer(0, 0x00);
  carts.CartSetCommand(0, kCartWriteUp);
  carts.CartTransfer(0, 0x78);  // at 0: goes through
  carts.CartSetCommand(0, kCartLoadAddress);
  carts.CartTransfer(0, 0x01);
  carts.CartTransfer(0, 0xF4);
  carts.CartSetCommand(0, kCartWriteUp);
  fail_and_tick();
  QCOMPARE(rig.sink.messages.size(), size_t{2});
}

// At a speed the host cannot run in one tick the tick still ends, so that the window
// takes its events (OFF among them); it used to hold the interface for 14 s.
void MainFormTest::RunTickAtAnUnreachableSpeedEndsInTime() {
  Rig rig(kAll, "[Settings]\nCpuSpeed=2147483647\n");
  rig.Create();
  Machine& m = rig.machine();
  m.PokeWord(01000, 0777);  // br .
  m.cpu.set_pc(01000);
  rig.form->OnRunTimer();
  QVERIFY(rig.system.last_run_steps() > 0);
  QVERIFY(rig.system.last_run_steps() < INT32_MAX);
}

}  // namespace orlan

QTEST_MAIN(orlan::MainFormTest)
#include "main_form_qtest.moc"
