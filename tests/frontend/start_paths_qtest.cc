// The window and the monitor start a machine through the same System: the demo booted
// through the window's start-up and through the monitor's (--machine), run for the
// same emulated time with the same keys, ends in the same state; and a session of the
// window, recorded, replays in the monitor to what the window showed.
#include <QTest>
#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "file_fixtures.h"
#include "frontend/qt/main_form.h"
#include "frontend/qt/window_actions.h"
#include "tests/support/demo_machine.h"
#include "tools/cli/command_table.h"
#include "tools/cli/interpreter.h"
#include "tools/cli/monitor.h"

namespace orlan {
namespace {

namespace fs = std::filesystem;
using testing::TempDir;

constexpr LocalTime kNow{2026, 1, 2, 5, 3, 4, 5};
constexpr char kNowText[] = "2026-01-02T03:04:05";

}  // namespace

class StartPathsTest : public QObject {
  Q_OBJECT

 private slots:
  void WindowAndMonitorReachTheSameState();
  void ARecordedWindowSessionReplaysInTheMonitor();
};

void StartPathsTest::WindowAndMonitorReachTheSameState() {
  TempDir window_dir, monitor_dir;
  testing::CopyDemo(ORLAN_DEMO_DIR, window_dir);
  testing::CopyDemo(ORLAN_DEMO_DIR, monitor_dir);

  System window;
  CapturingMessageSink window_messages;
  TMainForm form(window, window_dir.path(), window_messages, kNow);
  form.show();
  // The same schedule for both: the window's timers would tick in host time.
  form.run_timer().SetEnabled(false);
  form.rtc_timer().SetEnabled(false);
  form.refresh_timer().stop();
  form.sec_timer().stop();

  System monitor;
  CapturingMessageSink monitor_messages;
  std::ostringstream err;
  const std::string folder = monitor_dir.path().string();
  const std::vector<std::string_view> args = {"--machine", folder, "--time", kNowText};
  QVERIFY(cli::StartSystem(monitor, cli::ParseOptions(args), monitor_messages, err));

  // Boot, then the same line typed through the window's key handlers and through the
  // monitor's type command, each key held 50 ms and released 50 ms.
  const std::string line = "hi,42";
  window.RunFor(1000);
  for (const char c : line) {
    form.FormKeyPress(static_cast<char32_t>(c));
    window.RunFor(50);
    form.FormKeyUp();
    window.RunFor(50);
  }
  window.RunFor(500);
  std::ostringstream out;
  cli::Session session{monitor, out};
  const cli::CommandTable table = cli::StandardCommands();
  cli::Interpreter interpreter(table, session, err);
  std::istringstream script("run 1000.\ntype " + line + "\nrun 500.\n");
  QCOMPARE(interpreter.RunScript(script), cli::Outcome::kContinue);

  QCOMPARE(window_messages.messages, monitor_messages.messages);
  QCOMPARE(err.str(), std::string());
  QCOMPARE(window.now_ms(), monitor.now_ms());
  const Machine& a = window.machine();
  const Machine& b = monitor.machine();
  QVERIFY(a.cpu.cells == b.cpu.cells);
  QCOMPARE(a.cpu.psw, b.cpu.psw);
  QVERIFY(std::ranges::equal(a.ram(), b.ram()));
  QVERIFY(window.board().rtc.registers() == monitor.board().rtc.registers());
  QCOMPARE(window.board().lcd.DotsText(), monitor.board().lcd.DotsText());
  QVERIFY(std::equal(window.board().lcd.pixels(),
                     window.board().lcd.pixels() + kLcdPictureWidth * kLcdPictureHeight,
                     monitor.board().lcd.pixels()));
  // The typed line is on the display, and the boot counted in the cartridge.
  QVERIFY(window.board().lcd.DotsText() != System().board().lcd.DotsText());
  form.close();
  monitor.Close({}, monitor_messages);
  QCOMPARE(window_dir.Read("smp0.bin"), monitor_dir.Read("smp0.bin"));
  QVERIFY(window_dir.Read("smp0.bin") != std::vector<uint8_t>(1024, 0));
}

// A few seconds of the window on its own timers, in host time: typing, a state saved
// and loaded, pause and fast-forward by their shortcuts. The monitor replays the
// recording on the same folder and prints the registers, RAM and display as the
// window left them.
void StartPathsTest::ARecordedWindowSessionReplaysInTheMonitor() {
  TempDir dir;
  testing::CopyDemo(ORLAN_DEMO_DIR, dir);
  const fs::path recording = dir / "session.rec";
  System window;
  CapturingMessageSink messages;
  {
    TMainForm form(window, dir.path(), messages, kNow);
    QVERIFY(window.StartRecording(recording).ok());
    form.show();
    form.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&form));
    QTest::qWait(1200);  // the boot
    const auto shortcut = [&form](Qt::Key key) {
      QTest::keyClick(&form, key, Qt::ControlModifier);
      QTest::qWait(150);
    };
    QTest::keyClicks(&form, "hi", Qt::NoModifier, 40);
    shortcut(Qt::Key_2);
    shortcut(Qt::Key_S);
    QTest::keyClicks(&form, "x", Qt::NoModifier, 40);
    shortcut(Qt::Key_L);
    QTest::keyClicks(&form, " 42", Qt::NoModifier, 40);
    shortcut(Qt::Key_P);
    QCOMPARE(form.windowTitle(), QString("Orlan %1 paused").arg(QChar(0x2014)));
    QTest::keyClicks(&form, "lost", Qt::NoModifier, 40);
    shortcut(Qt::Key_P);
    shortcut(Qt::Key_F);
    QTest::keyClick(&form, Qt::Key_Return);
    QTest::qWait(300);
    shortcut(Qt::Key_F);
    QTest::keyClicks(&form, "ok", Qt::NoModifier, 40);
    QTest::qWait(300);
    form.close();
  }
  QVERIFY(fs::exists(dir / "state2.sav"));
  const std::string script = "regs\nmem 0 20000\nlcd\n";
  std::ostringstream shown, shown_err;
  {
    cli::Session session{window, shown};
    const cli::CommandTable table = cli::StandardCommands();
    cli::Interpreter interpreter(table, session, shown_err);
    std::istringstream in(script);
    QCOMPARE(interpreter.RunScript(in), cli::Outcome::kContinue);
  }
  QVERIFY(shown.str().find('#') != std::string::npos);

  std::istringstream in(script);
  std::ostringstream out, err;
  const std::string folder = dir.path().string();
  const std::string file = recording.string();
  const std::vector<std::string_view> args = {"--machine", folder, "replay", file};
  QCOMPARE(cli::RunMonitor(args, in, out, err), cli::kExitOk);
  QCOMPARE(err.str(), std::string());
  QCOMPARE(out.str(), shown.str());
}

}  // namespace orlan

QTEST_MAIN(orlan::StartPathsTest)
#include "start_paths_qtest.moc"
