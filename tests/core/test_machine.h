// Helpers for driving a fresh machine from tests: words placed in memory, steps run.
#ifndef ORLAN_TESTS_CORE_TEST_MACHINE_H_
#define ORLAN_TESTS_CORE_TEST_MACHINE_H_

#include <cstdint>
#include <initializer_list>

#include "core/machine.h"

namespace orlan::testing {

// Stores words from `address` on, into RAM or ROM, as a debugger would.
inline void Deposit(Machine& m, uint16_t address, std::initializer_list<uint16_t> words) {
  for (uint16_t w : words) {
    m.PokeByte(address, static_cast<uint8_t>(w));
    m.PokeByte(static_cast<uint16_t>(address + 1), static_cast<uint8_t>(w >> 8));
    address = static_cast<uint16_t>(address + 2);
  }
}

// Places a program at `address`, sets PC there with the given PSW, and
// executes `steps` steps.
inline void RunProgram(Machine& m, uint16_t address, std::initializer_list<uint16_t> words,
                       int steps = 1, uint16_t psw = 0) {
  Deposit(m, address, words);
  m.cpu.set_pc(address);
  m.cpu.psw = psw;
  for (int i = 0; i < steps; ++i) m.CpuStep();
}

}  // namespace orlan::testing

#endif  // ORLAN_TESTS_CORE_TEST_MACHINE_H_
