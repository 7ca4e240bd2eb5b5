#include <QElapsedTimer>
#include <QTest>
#include <QThread>
#include <chrono>
#include <memory>
#include <stdexcept>
#include <thread>

#include "frontend/qt/threaded_timer.h"

namespace orlan {

class ThreadedTimerTest : public QObject {
  Q_OBJECT

 private slots:
  void TicksOnTheUiThreadWhileEnabled();
  void ZeroIntervalNeedsAllowZero_data();
  void ZeroIntervalNeedsAllowZero();
  void ChangingTheIntervalRestartsTheWait();
  void ThrowingHandlerIsCalledAgain();
  void DestroyingWhileATickWaitsDoesNotDeadlock();
};

void ThreadedTimerTest::TicksOnTheUiThreadWhileEnabled() {
  TThreadedTimer timer;
  int ticks = 0;
  bool wrong = false;
  timer.OnTimer = [&](QObject* sender) {
    ++ticks;
    wrong |= sender != &timer || QThread::currentThread() != qApp->thread();
  };
  timer.SetInterval(2);
  QTest::qWait(30);
  QCOMPARE(ticks, 0);  // created disabled
  timer.SetEnabled(true);
  QTRY_VERIFY_WITH_TIMEOUT(ticks >= 3, 5000);
  QVERIFY(!wrong);
  timer.SetEnabled(false);
  QTest::qWait(20);  // a tick handed over before disabling is dropped
  const int after = ticks;
  QTest::qWait(100);
  QCOMPARE(ticks, after);
}

void ThreadedTimerTest::ZeroIntervalNeedsAllowZero_data() {
  QTest::addColumn<bool>("allow_zero");
  QTest::newRow("zero not allowed") << false;
  QTest::newRow("zero allowed") << true;
}

void ThreadedTimerTest::ZeroIntervalNeedsAllowZero() {
  QFETCH(bool, allow_zero);
  TThreadedTimer timer;
  int ticks = 0;
  timer.OnTimer = [&](QObject*) { ++ticks; };
  timer.SetAllowZero(allow_zero);
  timer.SetInterval(0);
  timer.SetEnabled(true);
  QVERIFY(timer.Enabled());  // reads true even when the worker stays parked
  QCOMPARE(timer.WorkerSuspended(), !allow_zero);
  QTest::qWait(100);
  QCOMPARE(ticks > 0, allow_zero);
}

void ThreadedTimerTest::ChangingTheIntervalRestartsTheWait() {
  TThreadedTimer timer;
  int ticks = 0;
  timer.OnTimer = [&](QObject*) { ++ticks; };
  timer.SetInterval(400);
  QElapsedTimer clock;
  clock.start();
  timer.SetEnabled(true);
  QTest::qWait(250);
  timer.SetInterval(401);
  const qint64 changed_at = clock.elapsed();
  if (changed_at > 350) QSKIP("the host was too busy to time the first wait");
  // The first wait would have ended at 400 ms; the new one ends 401 ms after the change.
  QTest::qWait(static_cast<int>(600 - changed_at));
  if (clock.elapsed() >= changed_at + 400)
    QSKIP("the host was too busy to look before the new wait ended");
  QCOMPARE(ticks, 0);
  QTRY_VERIFY_WITH_TIMEOUT(ticks >= 1, 5000);
}

void ThreadedTimerTest::ThrowingHandlerIsCalledAgain() {
  TThreadedTimer timer;
  int calls = 0;
  timer.OnTimer = [&](QObject*) {
    ++calls;
    throw std::runtime_error("file error");
  };
  timer.SetInterval(2);
  timer.SetEnabled(true);
  QTRY_VERIFY_WITH_TIMEOUT(calls >= 3, 5000);
}

void ThreadedTimerTest::DestroyingWhileATickWaitsDoesNotDeadlock() {
  for (int round = 0; round < 20; ++round) {
    int ticks = 0;
    auto timer = std::make_unique<TThreadedTimer>();
    timer->OnTimer = [&](QObject*) { ++ticks; };
    timer->SetInterval(1);
    timer->SetEnabled(round % 2 == 0);
    // The user-interface thread is busy: the worker has handed a tick over and waits.
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
    QElapsedTimer clock;
    clock.start();
    timer.reset();
    QVERIFY(clock.elapsed() < 2000);
    QTest::qWait(5);  // the abandoned tick must not run for the dead timer
    QCOMPARE(ticks, 0);
  }
}

}  // namespace orlan

QTEST_MAIN(orlan::ThreadedTimerTest)
#include "threaded_timer_qtest.moc"
