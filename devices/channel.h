// The serial device channel: four registers through which the processor selects
// the keyboard or a cartridge and moves bytes to and from it.
#ifndef ORLAN_DEVICES_CHANNEL_H_
#define ORLAN_DEVICES_CHANNEL_H_

#include <array>
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "core/bus_device.h"
#include "devices/cartridges.h"
#include "devices/io_result.h"
#include "devices/keyboard.h"

namespace orlan {

class Machine;
class StateReader;
class StateWriter;

// Device codes (bits 0-3 of register 2).
inline constexpr int kDeviceCartridge0 = 0;
inline constexpr int kDeviceCartridge1 = 1;
inline constexpr int kDeviceKeyboard = 2;
inline constexpr int kDeviceCartridge0Command = 8;
inline constexpr int kDeviceCartridge1Command = 9;
// "Nothing received", and what register 2 always reads as.
inline constexpr uint16_t kChannelNothing = 0177777;

class Channel final : public BusDevice {
 public:
  static constexpr int kNone = -1;

  explicit Channel(Machine& machine);

  // Bus window 164020-164037: register (offset >> 1) & 3.
  uint8_t* Read(uint16_t offset) override;
  uint8_t* Write(uint16_t offset) override;
  // ChannelCommit: stores the latch into the pending register and does its work.
  void Commit() override;

  // Start-up: resets the transfer state and opens the cartridge files in
  // `directory` (cartridge 0, then 1; stops at the first error).
  IoResult ChannelInit(const std::filesystem::path& directory);
  // Close: closes both cartridge files; reports the first error.
  IoResult ChannelClose();

  // The channel's registers and transfer state, then the keyboard's and the
  // cartridges' parts. A load adds to `warnings` (when given) what differs in the
  // cartridge files.
  void SaveState(StateWriter& out) const;
  void LoadState(StateReader& in, std::vector<std::string>* warnings);

  uint16_t reg(int i) const { return regs_[i & 3]; }
  uint16_t received() const { return received_; }
  bool active() const { return active_; }
  int device_code() const { return regs_[2] & 017; }
  int pending_index() const { return pending_; }
  uint16_t latch() const { return static_cast<uint16_t>(latch_[0] | latch_[1] << 8); }

  Keyboard& keyboard() { return keyboard_; }
  Cartridges& cartridges() { return cartridges_; }

 private:
  // A transfer that takes a word in from the device: codes 0, 1 and 2.
  void TransferIn();

  Machine& machine_;
  Keyboard keyboard_;
  Cartridges cartridges_;
  std::array<uint16_t, 4> regs_{};
  int pending_ = kNone;
  std::array<uint8_t, 2> latch_{};
  uint16_t received_ = kChannelNothing;
  bool active_ = false;
};

}  // namespace orlan

#endif  // ORLAN_DEVICES_CHANNEL_H_
