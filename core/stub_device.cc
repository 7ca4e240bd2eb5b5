#include "core/stub_device.h"

#include "core/machine.h"
#include "core/word.h"

namespace orlan {

StubDevice::StubDevice(Machine& machine, int registers, bool commit_next_step)
    : machine_(machine), index_mask_(registers - 1), commit_next_step_(commit_next_step) {}

uint8_t* StubDevice::Read(uint16_t offset) {
  if (!commit_next_step_) Commit();
  StoreWord(latch_.data(), regs_[(offset >> 1) & index_mask_]);
  return latch_.data();
}

uint8_t* StubDevice::Write(uint16_t offset) {
  if (commit_next_step_) {
    machine_.ArmPendingWrite(this);
  } else {
    Commit();
  }
  pending_ = (offset >> 1) & index_mask_;
  return latch_.data();
}

void StubDevice::Commit() {
  if (pending_ == kNone) return;
  regs_[pending_] = LoadWord(latch_.data());
  pending_ = kNone;
}

}  // namespace orlan
