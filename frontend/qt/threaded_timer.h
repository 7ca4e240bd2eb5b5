// A timer whose interval is measured by a worker thread and whose ticks run on the
// user-interface thread, one at a time: the worker starts its next wait only after
// the tick it handed over has run.
#ifndef ORLAN_FRONTEND_QT_THREADED_TIMER_H_
#define ORLAN_FRONTEND_QT_THREADED_TIMER_H_

#include <QObject>
#include <QThread>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <mutex>

namespace orlan {

class TThreadedTimer;

// The worker: waits on StopEvent for the interval; a wait that times out hands one
// tick to the user-interface thread and waits until it has run. Suspension is
// cooperative: a suspended worker parks wherever its loop notices it and leaves only
// when resumed or told to terminate.
class TTimerThread final : public QThread {
  Q_OBJECT

 public:
  explicit TTimerThread(TThreadedTimer& timer);

  void SetInterval(uint32_t milliseconds);
  uint32_t Interval() const;
  // StopEvent: auto-reset, consumed by the wait it ends.
  void SignalStopEvent();
  void Suspend();
  void Resume();
  bool Suspended() const;
  // Ends the loop; also abandons a tick hand-over still waiting for the user-interface
  // thread, so that waiting for the worker can never deadlock.
  void Terminate();

 protected:
  void run() override;

 private:
  // Posts the tick to the timer's thread and waits until it has run or the worker is
  // told to terminate.
  void HandOverTick();

  TThreadedTimer& timer_;
  mutable std::mutex mutex_;
  std::condition_variable wake_;
  uint32_t interval_ = 1000;
  bool stop_event_ = false;
  bool suspended_ = true;
  bool terminated_ = false;
  uint64_t ticks_posted_ = 0;
  uint64_t ticks_done_ = 0;
};

class TThreadedTimer final : public QObject {
  Q_OBJECT

 public:
  using Handler = std::function<void(QObject* sender)>;

  // The worker starts suspended, with interval 1000 ms and normal priority.
  explicit TThreadedTimer(QObject* owner = nullptr);
  // Stops, wakes and waits for the worker.
  ~TThreadedTimer() override;

  bool AllowZero() const { return allow_zero_; }
  void SetAllowZero(bool allow) { allow_zero_ = allow; }
  bool Enabled() const { return enabled_; }
  void SetEnabled(bool enabled);
  uint32_t Interval() const { return thread_.Interval(); }
  // Restarts a running wait: no tick comes for the wait that was running.
  void SetInterval(uint32_t milliseconds);

  Handler OnTimer;

  // Runs on the user-interface thread for each tick: calls OnTimer while enabled. An
  // exception thrown by the handler ends that tick only.
  void DeliverTick();

  // Whether the worker is parked (for tests).
  bool WorkerSuspended() const { return thread_.Suspended(); }

 private:
  TTimerThread thread_;
  bool allow_zero_ = false;
  bool enabled_ = false;
  bool destroying_ = false;
};

}  // namespace orlan

#endif  // ORLAN_FRONTEND_QT_THREADED_TIMER_H_
