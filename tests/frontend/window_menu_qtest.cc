// The main window's menu and shortcuts, zoom, paste and short presses, on the demo
// machine, which echoes typed keys into its input line and history.
#include <QClipboard>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMimeData>
#include <QMouseEvent>
#include <QSettings>
#include <QSignalSpy>
#include <QTest>
#include <chrono>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "core/machine.h"
#include "devices/folder_lock.h"
#include "devices/key_tables.h"
#include "frontend/qt/display_capture.h"
#include "frontend/qt/host_keys.h"
#include "frontend/qt/machine_folder_prompt.h"
#include "frontend/qt/main_form.h"
#include "frontend/qt/user_settings.h"
#include "tests/support/demo_machine.h"

namespace orlan {
namespace {

using testing::TempDir;

constexpr LocalTime kNow{2026, 1, 2, 5, 3, 4, 5};
// From reset until the demo takes keys.
constexpr int kBootMs = 900;

// The demo's window with its own per-user settings; its timers run only if asked, so
// that emulated time passes exactly as the test says.
struct Demo {
  explicit Demo(bool timers = false, QSettings* shared_settings = nullptr) {
    testing::CopyDemo(ORLAN_DEMO_DIR, dir);
    settings = std::make_unique<QSettings>(QString::fromStdString((dir / "user.ini").string()),
                                           QSettings::IniFormat);
    form = std::make_unique<TMainForm>(system, dir.path(), sink, kNow);
    form->UseUserSettings(shared_settings ? *shared_settings : *settings);
    form->about_box = [] {};
    form->screenshot_dialog = [this] { return std::optional(dir / "shot.png"); };
    form->folder_dialog = [this] { return folder; };
    QGuiApplication::clipboard()->clear();
    form->show();
    if (!timers) {
      form->run_timer().SetEnabled(false);
      form->rtc_timer().SetEnabled(false);
      form->refresh_timer().stop();
      form->sec_timer().stop();
    }
  }
  bool Activate() {
    form->activateWindow();
    return QTest::qWaitForWindowActive(form.get());
  }
  uint16_t Symbol(const char* name) const {
    static const auto symbols =
        testing::ReadSymbols(std::filesystem::path(ORLAN_DEMO_DIR) / "rom.sym");
    return symbols.at(name);
  }
  std::string Text(uint16_t address, int size) const {
    std::string text;
    for (int i = 0; i < size; ++i) {
      text += static_cast<char>(system.machine().PeekByte(static_cast<uint16_t>(address + i)));
    }
    return text.substr(0, text.find_last_not_of(' ') + 1);
  }
  // The line being typed, and history line i (0-2, the newest last).
  std::string Input() const {
    return Text(Symbol("inbuf"), system.machine().PeekWord(Symbol("inlen")));
  }
  std::string History(int i) const {
    return Text(static_cast<uint16_t>(Symbol("log0") + i * Symbol("cols")), Symbol("cols"));
  }
  void SendMouse(QEvent::Type type, QPoint at, Qt::MouseButtons buttons) {
    QMouseEvent event(type, at, form->mapToGlobal(at), Qt::LeftButton, buttons, {});
    QApplication::sendEvent(form.get(), &event);
  }

  TempDir dir;
  System system;
  CapturingMessageSink sink;
  std::unique_ptr<QSettings> settings;
  std::unique_ptr<TMainForm> form;
  std::optional<QString> folder;
};

bool SamePixels(const QImage& a, const QImage& b) {
  if (a.size() != b.size()) return false;
  for (int y = 0; y < a.height(); ++y) {
    for (int x = 0; x < a.width(); ++x) {
      if (a.pixel(x, y) != b.pixel(x, y)) return false;
    }
  }
  return true;
}

// The corner of pictured key `key` in face pixels.
QPoint KeyCorner(int key) {
  const KeyRect r = *KeyRectOf(key);
  return QPoint(r.x, r.y);
}

}  // namespace

class WindowMenuTest : public QObject {
  Q_OBJECT

 private slots:
  void ShortcutsActAndNeverReachTheMachine_data();
  void ShortcutsActAndNeverReachTheMachine();
  void MenuActionsDoWhatTheySay();
  void ZoomScalesTheFaceAndItsKeys_data();
  void ZoomScalesTheFaceAndItsKeys();
  void PasteTypesEveryCharacterInOrder_data();
  void PasteTypesEveryCharacterInOrder();
  void EscapeCancelsAPaste();
  void LoadingAStateCancelsAPaste();
  void ShortPressesReachTheMachine_data();
  void ShortPressesReachTheMachine();
  void WindowMovesItselfWithoutAWindowManager();
};

void WindowMenuTest::ShortcutsActAndNeverReachTheMachine_data() {
  QTest::addColumn<int>("action");
  QTest::addColumn<QKeySequence>("keys");
  for (const WindowActionEntry& entry : kWindowActions) {
    for (const QKeySequence& keys : QKeySequence::listFromString(entry.shortcuts)) {
      QTest::addRow("%s %s", entry.text ? entry.text : "menu", entry.shortcuts)
          << static_cast<int>(entry.action) << keys;
    }
  }
}

void WindowMenuTest::ShortcutsActAndNeverReachTheMachine() {
  QFETCH(int, action);
  QFETCH(QKeySequence, keys);
  // A shortcut holds Ctrl, or is a key that neither the machine nor the window uses.
  const QKeyCombination combination = keys[0];
  const int key = combination.key();
  QVERIFY((combination.keyboardModifiers() & Qt::ControlModifier) ||
          (VirtualKeyFromQtKey(key) == 0 && (key < Qt::Key_Space || key > Qt::Key_AsciiTilde)));

  Demo demo;
  QVERIFY(demo.Activate());
  QSignalSpy triggered(demo.form->action(static_cast<WindowAction>(action)), &QAction::triggered);
  QTest::keySequence(demo.form.get(), keys);
  demo.form->context_menu().hide();
  QCOMPARE(triggered.count(), 1);
  QVERIFY(!demo.system.machine().cpu.irq_channel);
  QCOMPARE(demo.system.board().keyboard.host_key(), 0);
}

void WindowMenuTest::MenuActionsDoWhatTheySay() {
  struct Case {
    const char* name;
    WindowAction action;
    std::function<void(Demo&)> before;
    std::function<void(Demo&, int closed)> check;
  };
  TempDir other_machine, empty_folder;
  testing::CopyDemo(ORLAN_DEMO_DIR, other_machine);
  const QString other = QString::fromStdString(other_machine.path().string());
  const QString empty = QString::fromStdString(empty_folder.path().string());
  // Another emulator's claim on a folder, in this process.
  const auto held = std::make_shared<FolderLock>();
  const Case cases[] = {
      {"screenshot at 2x", WindowAction::kScreenshot, [](Demo& d) { d.form->SetZoom(2); },
       [](Demo& d, int) {
         const QImage shot(QString::fromStdString((d.dir / "shot.png").string()));
         QVERIFY(SamePixels(shot, DisplayImage(d.system.board().lcd, 6)));
       }},
      {"copy display", WindowAction::kCopyDisplay, nullptr,
       [](Demo& d, int) {
         const QMimeData* data = QGuiApplication::clipboard()->mimeData();
         QCOMPARE(qvariant_cast<QImage>(data->imageData()).size(), QSize(360, 192));
         QCOMPARE(data->text().toStdString(), d.system.board().lcd.DotsText('#', '.'));
       }},
      {"pause", WindowAction::kPause, nullptr,
       [](Demo& d, int) {
         QVERIFY(d.system.paused());
         QVERIFY(d.form->action(WindowAction::kPause)->isChecked());
         QCOMPARE(d.form->windowTitle(), QString("Orlan %1 paused").arg(QChar(0x2014)));
         QCOMPARE(d.form->MarkText(), QString("PAUSED"));
       }},
      {"pause again", WindowAction::kPause, [](Demo& d) { d.form->SetPaused(true); },
       [](Demo& d, int) {
         QVERIFY(!d.system.paused());
         QCOMPARE(d.form->windowTitle(), QString("Orlan"));
         QCOMPARE(d.form->MarkText(), QString());
       }},
      {"fast-forward", WindowAction::kFastForward, nullptr,
       [](Demo& d, int) {
         QVERIFY(d.system.fast_forward());
         QVERIFY(d.form->action(WindowAction::kFastForward)->isChecked());
         QCOMPARE(d.form->MarkText(), QString("FAST-FORWARD"));
       }},
      {"state slot 3", WindowAction::kStateSlot3, nullptr,
       [](Demo& d, int) {
         QCOMPARE(d.form->state_slot(), 3);
         QVERIFY(d.form->action(WindowAction::kStateSlot3)->isChecked());
         QCOMPARE(d.form->MarkText(), QString("Slot 3"));
       }},
      {"save state", WindowAction::kSaveState, [](Demo& d) { d.form->SelectStateSlot(2); },
       [](Demo& d, int) {
         QVERIFY(d.dir.Read("state2.sav") == d.system.SaveState());
         QCOMPARE(d.form->MarkText(), QString("Saved in slot 2"));
       }},
      {"load state", WindowAction::kLoadState,
       [](Demo& d) {
         QVERIFY(d.system.SaveStateFile(d.form->StateSlotPath(1)).ok());
         d.system.RunFor(1500);
       },
       [](Demo& d, int) {
         QVERIFY(d.dir.Read("state1.sav") == d.system.SaveState());
         QCOMPARE(d.form->MarkText(), QString("Loaded slot 1"));
       }},
      {"load an empty slot", WindowAction::kLoadState, [](Demo& d) { d.form->SelectStateSlot(4); },
       [](Demo& d, int) {
         QCOMPARE(d.sink.messages.size(), size_t{1});
         QVERIFY(d.sink.messages[0].find("state4.sav") != std::string::npos);
       }},
      {"open a machine folder", WindowAction::kOpenFolder, [other](Demo& d) { d.folder = other; },
       [other](Demo& d, int closed) {
         QCOMPARE(closed, 1);
         QCOMPARE(d.form->next_folder(), std::optional(other));
         QCOMPARE(d.settings->value(kMachineFolderKey).toString(), other);
       }},
      {"open a folder another emulator holds", WindowAction::kOpenFolder,
       [other, held, path = other_machine.path()](Demo& d) {
         d.folder = other;
         QVERIFY(held->Acquire(path).ok());
       },
       [held](Demo& d, int closed) {
         held->Release();
         QCOMPARE(closed, 0);
         QCOMPARE(d.sink.messages.size(), size_t{1});
         QCOMPARE(d.form->next_folder(), std::nullopt);
       }},
      {"open the machine's own folder again", WindowAction::kOpenFolder,
       [](Demo& d) { d.folder = QString::fromStdString(d.system.folder().string()); },
       [](Demo& d, int closed) {
         QCOMPARE(closed, 1);
         QVERIFY(d.sink.messages.empty());
       }},
      {"open a folder without machine files", WindowAction::kOpenFolder,
       [empty](Demo& d) { d.folder = empty; },
       [](Demo& d, int closed) {
         QCOMPARE(closed, 0);
         QCOMPARE(d.sink.messages.size(), size_t{1});
         QCOMPARE(d.form->next_folder(), std::nullopt);
       }},
  };
  for (const Case& c : cases) {
    qInfo("%s", c.name);
    Demo demo;
    demo.system.RunFor(kBootMs);
    if (c.before) c.before(demo);
    QSignalSpy closed(demo.form.get(), &TMainForm::Closed);
    demo.form->Trigger(c.action);
    c.check(demo, static_cast<int>(closed.count()));
    if (QTest::currentTestFailed()) return;
  }
}

void WindowMenuTest::ZoomScalesTheFaceAndItsKeys_data() {
  QTest::addColumn<int>("zoom");
  for (int zoom = 1; zoom <= kMaxZoom; ++zoom) QTest::addRow("%dx", zoom) << zoom;
}

void WindowMenuTest::ZoomScalesTheFaceAndItsKeys() {
  QFETCH(int, zoom);
  const TempDir settings_dir;
  QSettings settings(QString::fromStdString((settings_dir / "user.ini").string()),
                     QSettings::IniFormat);
  {
    Demo demo(false, &settings);
    demo.form->SetZoom(zoom);
    QCOMPARE(demo.form->size(), QSize(790 * zoom, 312 * zoom));
    QVERIFY(
        demo.form
            ->action(static_cast<WindowAction>(static_cast<int>(WindowAction::kZoom1) + zoom - 1))
            ->isChecked());
    // Every screen pixel of a face pixel shows that face pixel: nearest-neighbour.
    demo.form->OnRefreshTimer();
    const QImage window = demo.form->grab().toImage().convertToFormat(QImage::Format_RGB32);
    const QImage& face = demo.form->face_buffer();
    for (int y = 0; y < window.height(); ++y) {
      for (int x = 0; x < window.width(); ++x) {
        if (window.pixel(x, y) != face.pixel(x / zoom, y / zoom)) {
          QFAIL(qPrintable(QString("window pixel %1, %2").arg(x).arg(y)));
        }
      }
    }
    // A key's first and last screen pixels press it; the pixel before its corner not.
    for (const int key : {kResetButton, 10, 17, 60, 63}) {
      const QPoint first = KeyCorner(key) * zoom;
      const KeyRect r = *KeyRectOf(key);
      const QPoint last = first + QPoint(r.width * zoom - 1, r.height * zoom - 1);
      for (const QPoint at : {first, last, first - QPoint(1, 0)}) {
        QTest::mousePress(demo.form.get(), Qt::LeftButton, {}, at);
        QCOMPARE(demo.form->pressed_key(), at.x() < first.x() ? 0 : key);
        QTest::mouseRelease(demo.form.get(), Qt::LeftButton, {}, first + QPoint(1, 1));
      }
    }
    demo.form->move(123, 45);
    demo.form->close();
  }
  // The zoom and the place are remembered.
  Demo demo(false, &settings);
  QCOMPARE(demo.form->zoom(), zoom);
  QCOMPARE(demo.form->pos(), QPoint(123, 45));
}

void WindowMenuTest::PasteTypesEveryCharacterInOrder_data() {
  QTest::addColumn<bool>("timers");
  QTest::newRow("the window's timers, CpuSpeed 400") << true;
  QTest::newRow("run ticks back to back") << false;
}

void WindowMenuTest::PasteTypesEveryCharacterInOrder() {
  QFETCH(bool, timers);
  Demo demo(timers);
  if (timers) {
    QTest::qWait(kBootMs);
  } else {
    demo.system.RunFor(kBootMs);
  }
  QVERIFY(demo.Activate());
  QGuiApplication::clipboard()->setText("HI, ORLAN 1/2\r\nQWERTY:;[]^_@\\-.\n~Z09\t");
  QTest::keyClick(demo.form.get(), Qt::Key_V, Qt::ControlModifier);
  QVERIFY(demo.system.pasting());
  if (timers) {
    QTRY_VERIFY_WITH_TIMEOUT(!demo.system.pasting(), 10000);
    QTest::qWait(200);
  } else {
    for (int i = 0; i < 1000; ++i) demo.form->OnRunTimer();
  }
  QCOMPARE(demo.History(1), std::string("HI, ORLAN 1/2"));
  QCOMPARE(demo.History(2), std::string("QWERTY:;[]^_@\\-."));
  QCOMPARE(demo.Input(), std::string("Z09"));
  QTRY_COMPARE(demo.sink.messages, std::vector<std::string>{SkippedCharactersNotice(2)});
}

void WindowMenuTest::EscapeCancelsAPaste() {
  Demo demo;
  demo.system.RunFor(kBootMs);
  QGuiApplication::clipboard()->setText("ABCDEFGH");
  demo.form->Trigger(WindowAction::kPaste);
  demo.system.RunFor(90);  // A and B typed, C pressed at the ninth run tick
  QTest::keyClick(demo.form.get(), Qt::Key_Escape);
  QVERIFY(!demo.system.pasting());
  demo.system.RunFor(1000);
  QCOMPARE(demo.Input(), std::string("ABC"));
}

void WindowMenuTest::LoadingAStateCancelsAPaste() {
  Demo demo;
  demo.system.RunFor(kBootMs);
  demo.form->Trigger(WindowAction::kSaveState);
  QGuiApplication::clipboard()->setText("ABCDEFGH");
  demo.form->Trigger(WindowAction::kPaste);
  demo.system.RunFor(90);
  demo.form->Trigger(WindowAction::kLoadState);
  QVERIFY(!demo.system.pasting());
  demo.system.RunFor(1000);
  QCOMPARE(demo.Input(), std::string());
}

void WindowMenuTest::ShortPressesReachTheMachine_data() {
  QTest::addColumn<bool>("mouse");
  QTest::newRow("key held 1 ms") << false;
  QTest::newRow("click held 1 ms") << true;
}

void WindowMenuTest::ShortPressesReachTheMachine() {
  QFETCH(bool, mouse);
  Demo demo;
  demo.system.RunFor(kBootMs);
  const QPoint key_a = KeyCorner(KeyIndexForCharacter('A'));
  for (int i = 0; i < 3; ++i) {
    // Pressed and released between two run ticks.
    if (mouse) {
      QTest::mousePress(demo.form.get(), Qt::LeftButton, {}, key_a);
    } else {
      QTest::keyPress(demo.form.get(), Qt::Key_A, {});
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
    if (mouse) {
      QTest::mouseRelease(demo.form.get(), Qt::LeftButton, {}, key_a);
    } else {
      QTest::keyRelease(demo.form.get(), Qt::Key_A, {});
    }
    demo.system.RunFor(20);
  }
  QCOMPARE(demo.Input(), std::string("AAA"));
}

void WindowMenuTest::WindowMovesItselfWithoutAWindowManager() {
  Demo demo;
  const QPoint start = demo.form->pos();
  const QPoint gap(553, 68);  // between two keys
  demo.SendMouse(QEvent::MouseButtonPress, gap, Qt::LeftButton);
  QCOMPARE(demo.form->system_moves(), 1);
  QVERIFY(demo.form->dragging());  // the offscreen platform moves no window
  demo.SendMouse(QEvent::MouseMove, gap + QPoint(40, 30), Qt::LeftButton);
  QCOMPARE(demo.form->pos(), start + QPoint(40, 30));
  demo.SendMouse(QEvent::MouseButtonRelease, gap + QPoint(40, 30), Qt::NoButton);
  demo.SendMouse(QEvent::MouseMove, gap + QPoint(90, 90), Qt::NoButton);
  QCOMPARE(demo.form->pos(), start + QPoint(40, 30));
}

}  // namespace orlan

QTEST_MAIN(orlan::WindowMenuTest)
#include "window_menu_qtest.moc"
