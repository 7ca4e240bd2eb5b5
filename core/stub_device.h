// A plain register file behind a device window: what the bus shows before the real
// peripherals are attached, and a minimal model of the latch and commit protocol.
#ifndef ORLAN_CORE_STUB_DEVICE_H_
#define ORLAN_CORE_STUB_DEVICE_H_

#include <array>
#include <cstdint>

#include "core/bus_device.h"

namespace orlan {

class Machine;

class StubDevice final : public BusDevice {
 public:
  static constexpr int kNone = -1;

  // `registers` (a power of two, at most 64) words; the register index is
  // (offset >> 1) & (registers - 1). With `commit_next_step` the write handler arms
  // the machine's pending write; otherwise a latched write waits for the next access.
  StubDevice(Machine& machine, int registers, bool commit_next_step);

  uint8_t* Read(uint16_t offset) override;
  uint8_t* Write(uint16_t offset) override;
  void Commit() override;

  uint16_t reg(int i) const { return regs_[i]; }
  void set_reg(int i, uint16_t v) { regs_[i] = v; }
  int pending_index() const { return pending_; }

 private:
  Machine& machine_;
  int index_mask_;
  bool commit_next_step_;
  int pending_ = kNone;
  std::array<uint8_t, 2> latch_{};
  std::array<uint16_t, 64> regs_{};
};

}  // namespace orlan

#endif  // ORLAN_CORE_STUB_DEVICE_H_
