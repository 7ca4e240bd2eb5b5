#include "devices/channel.h"

#include "core/machine.h"
#include "core/state_io.h"
#include "core/word.h"

namespace orlan {
namespace {

// The command a selection under codes 0 and 1 gives its cartridge.
uint8_t SelectedCommand(uint8_t selecting_byte) {
  const uint8_t command = selecting_byte & 0360;
  return command == kCartReadDown || command == kCartReadUp ? command : kCartNone;
}

}  // namespace

Channel::Channel(Machine& machine) : machine_(machine), keyboard_(machine) {}

void Channel::TransferIn() {
  switch (device_code()) {
    case kDeviceCartridge0:
    case kDeviceCartridge1:
      received_ = cartridges_.CartTransfer(device_code(), 0);
      break;
    case kDeviceKeyboard:
      received_ = keyboard_.KeyMatrixRead();
      break;
    default:
      break;
  }
}

uint8_t* Channel::Read(uint16_t offset) {
  uint16_t value = 0;
  switch ((offset >> 1) & 3) {
    case 0:
      value = received_;
      received_ = kChannelNothing;
      if (active_) TransferIn();
      break;
    case 1:
      value = regs_[1];
      break;
    case 2:
      value = kChannelNothing;
      break;
    case 3:
      value = received_;
      active_ = false;
      break;
  }
  StoreWord(latch_.data(), value);
  return latch_.data();
}

uint8_t* Channel::Write(uint16_t offset) {
  pending_ = (offset >> 1) & 3;
  machine_.ArmPendingWrite(this);
  return latch_.data();
}

void Channel::Commit() {
  if (pending_ == kNone) return;
  const int index = pending_;
  pending_ = kNone;
  const uint16_t value = LoadWord(latch_.data());
  regs_[index] = value;
  const auto low_byte = static_cast<uint8_t>(value);
  switch (index) {
    case 0:
      received_ = value;
      if (!active_) break;
      if (device_code() == kDeviceCartridge0Command || device_code() == kDeviceCartridge1Command) {
        cartridges_.CartTransfer(device_code() - kDeviceCartridge0Command, low_byte);
      } else {
        TransferIn();
      }
      break;
    case 1:
      if (active_) TransferIn();
      break;
    case 2:
      active_ = true;
      received_ = value;
      switch (device_code()) {
        case kDeviceCartridge0:
        case kDeviceCartridge1:
          // Transfers under these codes send data 0, so only a read command in the
          // selecting byte's high four bits is kept (without it a cartridge could be
          // written but never read back). Any other command is cleared: a write or an
          // address load would turn every later read into a store of 0.
          received_ = cartridges_.CartSetCommand(device_code(), SelectedCommand(low_byte));
          break;
        case kDeviceKeyboard:
          received_ = keyboard_.KeyMatrixRead();
          break;
        case kDeviceCartridge0Command:
        case kDeviceCartridge1Command:
          cartridges_.CartSetCommand(device_code() - kDeviceCartridge0Command, low_byte);
          break;
        default:
          break;
      }
      break;
    default:
      break;
  }
}

void Channel::SaveState(StateWriter& out) const {
  out.Section("CHAN");
  for (const uint16_t r : regs_) out.U16(r);
  out.Index(pending_);
  out.Bytes(latch_);
  out.U16(received_);
  out.Bool(active_);
  keyboard_.SaveState(out);
  cartridges_.SaveState(out);
}

void Channel::LoadState(StateReader& in, std::vector<std::string>* warnings) {
  in.Section("CHAN");
  for (uint16_t& r : regs_) r = in.U16();
  pending_ = in.Index(4);
  in.Bytes(latch_);
  received_ = in.U16();
  active_ = in.Bool();
  keyboard_.LoadState(in);
  cartridges_.LoadState(in, warnings);
}

IoResult Channel::ChannelInit(const std::filesystem::path& directory) {
  pending_ = kNone;
  received_ = kChannelNothing;
  active_ = false;
  for (int n = 0; n < kCartridgeCount; ++n) {
    IoResult result = cartridges_.CartOpen(n, directory);
    if (!result) return result;
  }
  return IoResult::Ok();
}

IoResult Channel::ChannelClose() {
  // Both files are closed even when the first fails; the first error is reported.
  IoResult first = cartridges_.CartClose(0);
  IoResult second = cartridges_.CartClose(1);
  return first ? second : first;
}

}  // namespace orlan
