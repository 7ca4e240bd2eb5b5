#include "frontend/qt/threaded_timer.h"

#include <QMetaObject>
#include <chrono>

namespace orlan {

TTimerThread::TTimerThread(TThreadedTimer& timer) : timer_(timer) {}

void TTimerThread::SetInterval(uint32_t milliseconds) {
  std::lock_guard lock(mutex_);
  interval_ = milliseconds;
}

uint32_t TTimerThread::Interval() const {
  std::lock_guard lock(mutex_);
  return interval_;
}

void TTimerThread::SignalStopEvent() {
  std::lock_guard lock(mutex_);
  stop_event_ = true;
  wake_.notify_all();
}

void TTimerThread::Suspend() {
  std::lock_guard lock(mutex_);
  suspended_ = true;
  wake_.notify_all();
}

void TTimerThread::Resume() {
  std::lock_guard lock(mutex_);
  suspended_ = false;
  wake_.notify_all();
}

bool TTimerThread::Suspended() const {
  std::lock_guard lock(mutex_);
  return suspended_;
}

void TTimerThread::Terminate() {
  std::lock_guard lock(mutex_);
  terminated_ = true;
  wake_.notify_all();
}

void TTimerThread::run() {
  std::unique_lock lock(mutex_);
  for (;;) {
    wake_.wait(lock, [this] { return !suspended_ || terminated_; });
    if (terminated_) return;
    const auto interval = std::chrono::milliseconds(interval_);
    const bool woken =
        wake_.wait_for(lock, interval, [this] { return stop_event_ || suspended_ || terminated_; });
    if (terminated_) return;
    if (suspended_) continue;  // parked mid-wait; resuming signals StopEvent
    if (woken) {
      stop_event_ = false;  // auto-reset: this wait consumed it, no tick
      continue;
    }
    lock.unlock();
    HandOverTick();
    lock.lock();
  }
}

void TTimerThread::HandOverTick() {
  std::unique_lock lock(mutex_);
  const uint64_t ticket = ++ticks_posted_;
  lock.unlock();
  // Queued to the timer object: if the timer is destroyed before the tick runs, Qt
  // discards the call together with the object's other pending events.
  QMetaObject::invokeMethod(
      &timer_,
      [this, ticket] {
        timer_.DeliverTick();
        std::lock_guard done(mutex_);
        ticks_done_ = ticket;
        wake_.notify_all();
      },
      Qt::QueuedConnection);
  lock.lock();
  wake_.wait(lock, [this, ticket] { return ticks_done_ >= ticket || terminated_; });
}

TThreadedTimer::TThreadedTimer(QObject* owner) : QObject(owner), thread_(*this) {
  thread_.start(QThread::NormalPriority);
}

TThreadedTimer::~TThreadedTimer() {
  enabled_ = false;
  destroying_ = true;
  thread_.Terminate();
  thread_.SignalStopEvent();
  thread_.Resume();
  thread_.wait();
}

void TThreadedTimer::SetEnabled(bool enabled) {
  if (enabled == enabled_) return;
  enabled_ = enabled;
  if (enabled) {
    // With an interval of 0 and AllowZero clear the worker stays parked although
    // Enabled reads true.
    if (thread_.Interval() > 0 || allow_zero_) {
      thread_.SignalStopEvent();
      thread_.Resume();
    }
  } else {
    thread_.Suspend();
  }
}

void TThreadedTimer::SetInterval(uint32_t milliseconds) {
  if (milliseconds == thread_.Interval()) return;
  const bool was_enabled = enabled_;
  SetEnabled(false);
  thread_.SetInterval(milliseconds);
  SetEnabled(was_enabled);
}

void TThreadedTimer::DeliverTick() {
  if (!enabled_ || !OnTimer || destroying_) return;
  try {
    OnTimer(this);
  } catch (...) {
    // A failing tick ends quietly; the next tick calls the handler again.
  }
}

}  // namespace orlan
