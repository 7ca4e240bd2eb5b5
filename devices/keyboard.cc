#include "devices/keyboard.h"

#include "core/machine.h"
#include "core/state_io.h"
#include "devices/key_tables.h"

namespace orlan {
namespace {

int ValidKeyIndex(int key_index) {
  return key_index >= 0 && key_index < kKeyIndexCount ? key_index : 0;
}

}  // namespace

uint16_t Keyboard::KeyMatrixRead() const {
  return kKeyScanTable[mouse_key_ > kResetButton ? mouse_key_ : host_key_];
}

void Keyboard::RaiseKeyInterrupt() {
  if (!machine_.run.requests_held()) machine_.cpu.irq_channel = true;
}

bool Keyboard::HostCharacter(char32_t ch) {
  const int key_index = KeyIndexForCharacter(ch);
  if (key_index == 0) return false;
  host_key_ = key_index;
  RaiseKeyInterrupt();
  return true;
}

bool Keyboard::HostKeyDown(int virtual_key) {
  const int key_index = KeyIndexForVirtualKey(virtual_key);
  if (key_index == 0) return false;
  host_key_ = key_index;
  RaiseKeyInterrupt();
  return true;
}

void Keyboard::PressHostKey(int key_index) {
  if (key_index < kFirstMachineKey || key_index >= kKeyIndexCount) {
    host_key_ = 0;
    return;
  }
  host_key_ = key_index;
  RaiseKeyInterrupt();
}

void Keyboard::SaveState(StateWriter& out) const {
  out.Section("KEYS");
  out.U8(static_cast<uint8_t>(host_key_));
  out.U8(static_cast<uint8_t>(mouse_key_));
}

void Keyboard::LoadState(StateReader& in) {
  in.Section("KEYS");
  for (int* key : {&host_key_, &mouse_key_}) {
    *key = in.U8();
    if (*key >= kKeyIndexCount) {
      in.Bad("key index");
      *key = 0;
    }
  }
}

void Keyboard::set_host_key(int key_index) { host_key_ = ValidKeyIndex(key_index); }

void Keyboard::set_mouse_key(int key_index) { mouse_key_ = ValidKeyIndex(key_index); }

}  // namespace orlan
