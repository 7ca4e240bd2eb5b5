// Host keys, mouse clicks and typed text on their way to the keyboard, timed in run
// ticks of the machine rather than host time, so that nothing is lost at any speed:
// the machine reads a key only while it runs, and a press and release that both come
// between two run ticks would never be seen.
#ifndef ORLAN_FRONTEND_KEY_PACER_H_
#define ORLAN_FRONTEND_KEY_PACER_H_

#include <array>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <functional>
#include <span>

namespace orlan {

// The two holders of a key: the host keyboard and the mouse.
enum class KeySource : uint8_t { kHost, kMouse };

// One source holding a key (key_index 3-63, or a window button for the mouse) or
// letting go (0).
struct KeyChange {
  KeySource source = KeySource::kHost;
  int key_index = 0;
  bool operator==(const KeyChange&) const = default;
};

// Typed text: each key is held for this many run ticks, then released for as many,
// so that the machine sees every press and every release.
inline constexpr int kTypedHoldTicks = 2;
inline constexpr int kTypedGapTicks = 2;

class KeyPacer {
 public:
  // Gives a change to the keyboard. Returns whether the machine takes a press now (it
  // then has to run a tick with it); a press while the run is stopped is not taken.
  using Apply = std::function<bool(const KeyChange&)>;

  explicit KeyPacer(Apply apply);

  // A press or release of a source. It reaches the keyboard at once, unless the
  // source's last press has not had a run tick yet: then it waits for that tick, in
  // order after the changes already waiting. Host changes are dropped while text is
  // typed, which holds the host key itself.
  void Submit(const KeyChange& change);
  // The host key is set from outside (a tool pressing a key by index): whatever the
  // host source had waiting is forgotten.
  void ForgetHost();

  // Adds machine keys to type through the host source, from the next run tick on.
  void Type(std::span<const uint8_t> keys);
  // Ends the typing: the typed key is let go and the rest forgotten. Returns whether
  // anything was being typed.
  bool CancelTyping();
  bool typing() const { return typing_; }
  std::size_t keys_to_type() const { return typed_.size(); }

  // The machine has run one tick with the keys as they are.
  void RunTickDone();
  // Forgets everything waiting, without applying it.
  void Clear();

 private:
  struct Lane {
    bool fresh = false;       // the last press has had no run tick yet
    std::deque<int> waiting;  // key indexes held back behind it, 0 for a release
  };
  // At most this many changes wait per source; more are dropped (no run ticks come).
  static constexpr std::size_t kMaxWaiting = 256;

  Lane& LaneOf(KeySource source) { return lanes_[static_cast<std::size_t>(source)]; }
  bool ApplyNow(KeySource source, int key_index);
  void Drain(KeySource source);
  void TypeStep();

  Apply apply_;
  std::array<Lane, 2> lanes_;
  std::deque<uint8_t> typed_;  // keys still to press
  bool typing_ = false;
  bool typed_down_ = false;  // a typed key is held (otherwise: the gap after one)
  int ticks_left_ = 0;       // of the hold or the gap
};

}  // namespace orlan

#endif  // ORLAN_FRONTEND_KEY_PACER_H_
