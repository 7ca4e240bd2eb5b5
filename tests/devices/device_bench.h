// A fresh machine with the peripherals installed, bus accesses made the way
// instructions make them; temporary folders for machine files come from the shared
// test support.
#ifndef ORLAN_TESTS_DEVICES_DEVICE_BENCH_H_
#define ORLAN_TESTS_DEVICES_DEVICE_BENCH_H_

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "core/machine.h"
#include "core/word.h"
#include "devices/board.h"
#include "tests/support/temp_dir.h"

namespace orlan::testing {

// `size` bytes, the byte at offset a being (a * 7 + 3) mod 256.
inline std::vector<uint8_t> PatternBytes(std::size_t size) {
  std::vector<uint8_t> bytes(size);
  for (std::size_t a = 0; a < size; ++a) bytes[a] = static_cast<uint8_t>(a * 7 + 3);
  return bytes;
}

struct Bench {
  Machine machine;
  Board board = InstallDevices(machine);

  uint16_t ReadWord(uint16_t address) { return LoadWord(machine.LocateRead(address)); }
  void WriteWord(uint16_t address, uint16_t value) {
    StoreWord(machine.LocateWrite(address), value);
  }
  void WriteByte(uint16_t address, uint8_t value) {
    StoreByte(machine.LocateWrite(address), value);
  }
  // One processor step, which first commits a pending device write. It runs BR .
  // with interrupts masked and its stack clear of the memory the tests use.
  void Step() {
    machine.PokeByte(036000, 0377);
    machine.PokeByte(036001, 001);
    machine.cpu.set_pc(036000);
    machine.cpu.set_sp(037000);
    machine.cpu.psw = 0340;
    machine.CpuStep();
  }
  void Store(uint16_t address, uint16_t value) {
    WriteWord(address, value);
    Step();
  }
};

}  // namespace orlan::testing

#endif  // ORLAN_TESTS_DEVICES_DEVICE_BENCH_H_
