#include "frontend/key_pacer.h"

#include <utility>

namespace orlan {

KeyPacer::KeyPacer(Apply apply) : apply_(std::move(apply)) {}

bool KeyPacer::ApplyNow(KeySource source, int key_index) {
  const bool taken = apply_(KeyChange{source, key_index});
  LaneOf(source).fresh = key_index != 0 && taken;
  return taken;
}

void KeyPacer::Submit(const KeyChange& change) {
  if (change.source == KeySource::kHost && typing_) return;
  Lane& lane = LaneOf(change.source);
  if (lane.fresh || !lane.waiting.empty()) {
    if (lane.waiting.size() < kMaxWaiting) lane.waiting.push_back(change.key_index);
    return;
  }
  ApplyNow(change.source, change.key_index);
}

void KeyPacer::ForgetHost() { LaneOf(KeySource::kHost) = Lane{}; }

void KeyPacer::Type(std::span<const uint8_t> keys) {
  typed_.insert(typed_.end(), keys.begin(), keys.end());
  if (typing_ || typed_.empty()) return;
  typing_ = true;
  typed_down_ = false;
  ticks_left_ = 0;
}

bool KeyPacer::CancelTyping() {
  if (!typing_) return false;
  typing_ = false;
  typed_.clear();
  // The host source knows whether the typed key has had its tick yet.
  if (typed_down_) Submit(KeyChange{KeySource::kHost, 0});
  typed_down_ = false;
  return true;
}

void KeyPacer::RunTickDone() {
  Drain(KeySource::kHost);
  Drain(KeySource::kMouse);
  TypeStep();
}

void KeyPacer::Drain(KeySource source) {
  Lane& lane = LaneOf(source);
  lane.fresh = false;
  // Releases go through at once; a press that the machine takes waits for its tick.
  while (!lane.waiting.empty() && !lane.fresh) {
    const int key_index = lane.waiting.front();
    lane.waiting.pop_front();
    ApplyNow(source, key_index);
  }
}

void KeyPacer::TypeStep() {
  if (!typing_) return;
  if (ticks_left_ > 0 && --ticks_left_ > 0) return;
  if (typed_down_) {
    typed_down_ = false;
    ApplyNow(KeySource::kHost, 0);
    ticks_left_ = kTypedGapTicks;
    return;
  }
  if (typed_.empty()) {
    typing_ = false;
    return;
  }
  const Lane& host = LaneOf(KeySource::kHost);
  if (host.fresh || !host.waiting.empty()) return;  // host keys from before the text
  // A press the stopped machine did not take is made again at the next tick.
  if (!ApplyNow(KeySource::kHost, typed_.front())) return;
  typed_.pop_front();
  typed_down_ = true;
  ticks_left_ = kTypedHoldTicks;
}

void KeyPacer::Clear() {
  lanes_ = {};
  typed_.clear();
  typing_ = false;
  typed_down_ = false;
  ticks_left_ = 0;
}

}  // namespace orlan
