// The keyboard: at most one held key from each of two sources, read through the
// serial channel, and the key interrupt.
#ifndef ORLAN_DEVICES_KEYBOARD_H_
#define ORLAN_DEVICES_KEYBOARD_H_

#include <cstdint>

namespace orlan {

class Machine;
class StateReader;
class StateWriter;

class Keyboard {
 public:
  explicit Keyboard(Machine& machine) : machine_(machine) {}

  // The code of the key held now: the mouse-held machine key wins over the host key;
  // 0 when none.
  uint16_t KeyMatrixRead() const;
  // Requests the channel interrupt unless the run is stopped or paused.
  void RaiseKeyInterrupt();

  // Host character event: a character of the key character table (a-z taken as
  // A-Z) holds its key and raises the interrupt. Returns whether it was mapped.
  bool HostCharacter(char32_t ch);
  // Host key-down event by virtual-key code: a key of the key-down table holds its
  // key and raises the interrupt. Returns whether it was mapped.
  bool HostKeyDown(int virtual_key);
  // Any host key-up releases the host key.
  void HostKeyUp() { host_key_ = 0; }
  // Holds machine key `key_index` (3-63) as the host key and raises the interrupt;
  // other values release the host key. For tools that press keys by index.
  void PressHostKey(int key_index);

  // The held keys.
  void SaveState(StateWriter& out) const;
  void LoadState(StateReader& in);

  // HostKey and MouseKey: KeyIndex values 0-63; other values are taken as 0.
  int host_key() const { return host_key_; }
  void set_host_key(int key_index);
  int mouse_key() const { return mouse_key_; }
  void set_mouse_key(int key_index);

 private:
  Machine& machine_;
  int host_key_ = 0;
  int mouse_key_ = 0;
};

}  // namespace orlan

#endif  // ORLAN_DEVICES_KEYBOARD_H_
