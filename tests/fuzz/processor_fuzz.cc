// The processor on random memory: random code and vectors in RAM and ROM, random
// registers and RAM size, and between steps random interrupt requests, key presses,
// clock ticks, display redraws, resets, run ticks and device register accesses.
#include <cstddef>
#include <cstdint>
#include <span>

#include "core/machine.h"
#include "core/word.h"
#include "devices/board.h"
#include "tests/fuzz/fuzz_check.h"

namespace {

using orlan::fuzz::Check;

constexpr std::size_t kHeader = 20;  // RAM size setting, R0-R7, PSW
constexpr int kSteps = 2048;

// The device registers, by index: the display controller's 2, the channel's 16
// (its 4 registers twice), the clock's 64.
uint16_t DeviceAddress(uint8_t index) {
  const int i = index % 82;
  if (i < 2) return static_cast<uint16_t>(orlan::kLcdBase + 2 * i);
  if (i < 18) return static_cast<uint16_t>(orlan::kChannelBase + 2 * (i - 2));
  return static_cast<uint16_t>(orlan::kRtcBase + 2 * (i - 18));
}

uint16_t WordOf(std::span<const uint8_t> bytes, std::size_t at) {
  return static_cast<uint16_t>(bytes[at] | bytes[at + 1] << 8);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < kHeader + 2) return 0;
  const std::span<const uint8_t> input(data, size);
  orlan::Machine machine;
  orlan::Board board = orlan::InstallDevices(machine);
  board.lcd.LcdInit();
  board.rtc.RtcInit(orlan::LocalTime{});
  machine.SetRamSize(WordOf(input, 0));
  for (int r = 0; r < 8; ++r) machine.cpu.SetR(r, WordOf(input, 2 + 2 * r));
  machine.cpu.psw = WordOf(input, 18);

  // The code: from address 0 in RAM, and from both ends of the ROM (its first bytes
  // and the reset address).
  const std::span<const uint8_t> code = input.subspan(kHeader);
  for (std::size_t i = 0; i < code.size() && i < orlan::kRamStoreSize; ++i) {
    machine.ram()[i] = code[i];
  }
  for (std::size_t i = 0; i < code.size() && i < 010000; ++i) {
    machine.PokeByte(static_cast<uint16_t>(orlan::kRomBase + i), code[i]);
    machine.PokeByte(static_cast<uint16_t>(orlan::kResetAddress + i), code[i]);
  }

  // Events: the input's last bytes, one per step, round and round.
  const std::span<const uint8_t> events = code.last(std::max<std::size_t>(code.size() / 8, 2));
  for (int step = 0; step < kSteps; ++step) {
    const uint8_t e = events[step % events.size()];
    const uint8_t arg = events[(step + 1) % events.size()];
    switch (e & 037) {
      case 0:
        machine.cpu.irq_clock = true;
        break;
      case 1:
        board.keyboard.PressHostKey(arg % 64);
        break;
      case 2:
        board.keyboard.set_mouse_key(arg % 64);
        break;
      case 3:
        // A read of a device register, as an instruction would do it.
        orlan::LoadWord(machine.LocateRead(DeviceAddress(arg)));
        break;
      case 4:
        orlan::StoreWord(machine.LocateWrite(DeviceAddress(arg)), WordOf(events, 0));
        break;
      case 5:
        orlan::StoreByte(machine.LocateWrite(static_cast<uint16_t>(DeviceAddress(arg) + 1)), e);
        break;
      case 6:
        board.rtc.RtcPeriodicTick();
        break;
      case 7:
        board.rtc.RtcSecondTick();
        break;
      case 8:
        board.lcd.DrawLcd();
        break;
      case 9:
        if (arg == 0377) machine.CpuReset();
        break;
      case 10:
        // A run tick of a few steps, maybe stopped by a trace count or a breakpoint.
        machine.run.set_steps_per_tick(arg % 16);
        if (arg & 0100) machine.run.Trace(arg % 7);
        if (arg & 0200) machine.run.RunTo(machine.cpu.pc() + 2 * (arg % 4));
        machine.RunSlice();
        machine.run.Free();
        break;
      default:
        break;
    }
    machine.CpuStep();
  }
  Check(machine.ram_top() == machine.ram_size() - 1, "RamTop below the RAM size");
  return 0;
}
