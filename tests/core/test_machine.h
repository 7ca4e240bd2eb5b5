// Helpers for driving a fresh machine from tests: words placed in memory, steps run,
// and whole-state snapshots to show that an instruction changed nothing else.
#ifndef ORLAN_TESTS_CORE_TEST_MACHINE_H_
#define ORLAN_TESTS_CORE_TEST_MACHINE_H_

#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <initializer_list>
#include <vector>

#include "core/machine.h"

namespace orlan::testing {

// Where the tests place their programs and stacks.
inline constexpr uint16_t kProgram = 001000;
inline constexpr uint16_t kStackTop = 000700;
// Every trap and interrupt vector that the processor uses.
inline constexpr uint16_t kAllVectors[] = {004, 010, 014, 020, 030, 034, 0100, 0170, 0310};
// What InstallVectors puts into each vector pair: the new PSW has high bits set to
// show that all 16 bits are loaded, and neither T nor priority bit 7.
inline constexpr uint16_t VectorPc(uint16_t vector) {
  return static_cast<uint16_t>(003000 + vector);
}
inline constexpr uint16_t kVectorPsw = 0140000;

// Stores words from `address` on, into RAM or ROM, as a debugger would.
inline void Deposit(Machine& m, uint16_t address, std::initializer_list<uint16_t> words) {
  for (uint16_t w : words) {
    m.PokeWord(address, w);
    address = static_cast<uint16_t>(address + 2);
  }
}

inline void InstallVectors(Machine& m) {
  for (uint16_t v : kAllVectors) Deposit(m, v, {VectorPc(v), kVectorPsw});
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

// A machine with vectors installed, SP at kStackTop and R0-R5 holding distinct values.
inline void Prepare(Machine& m) {
  InstallVectors(m);
  for (int r = 0; r < 6; ++r) m.cpu.SetR(r, static_cast<uint16_t>(0110100 + 011 * r));
  m.cpu.set_sp(kStackTop);
  m.cpu.cpc = 0123456;
  m.cpu.cps = 0054321;
}

// The processor state and RAM, for comparisons.
struct Snapshot {
  explicit Snapshot(const Machine& m)
      : cells(m.cpu.cells),
        psw(m.cpu.psw),
        cpc(m.cpu.cpc),
        cps(m.cpu.cps),
        wait(m.cpu.wait),
        irq_clock(m.cpu.irq_clock),
        irq_channel(m.cpu.irq_channel),
        ram(m.ram().begin(), m.ram().end()) {}
  uint16_t R(int n) const { return static_cast<uint16_t>(cells[2 * n] | (cells[2 * n + 1] << 8)); }

  std::array<uint8_t, 16> cells;
  uint16_t psw, cpc, cps;
  bool wait, irq_clock, irq_channel;
  std::vector<uint8_t> ram;
};

// Checks that the last step entered the trap or interrupt `vector` (after
// InstallVectors) from the state `before`, pushing `pushed_psw` and `pushed_pc`, and
// changed nothing else: R0-R5, CPC, CPS and RAM outside the two stack words.
inline void ExpectTrapEntry(const Machine& m, const Snapshot& before, uint16_t vector,
                            uint16_t pushed_pc, uint16_t pushed_psw) {
  const uint16_t sp = static_cast<uint16_t>(before.R(6) - 4);
  EXPECT_EQ(m.cpu.pc(), VectorPc(vector)) << "vector " << std::oct << vector;
  EXPECT_EQ(m.cpu.psw, kVectorPsw);
  EXPECT_EQ(m.cpu.sp(), sp);
  EXPECT_EQ(m.PeekWord(sp), pushed_pc) << "pushed PC";
  EXPECT_EQ(m.PeekWord(static_cast<uint16_t>(sp + 2)), pushed_psw) << "pushed PSW";
  for (int r = 0; r < 6; ++r) EXPECT_EQ(m.cpu.R(r), before.R(r)) << "R" << r;
  EXPECT_EQ(m.cpu.cpc, before.cpc);
  EXPECT_EQ(m.cpu.cps, before.cps);
  Snapshot after(m);
  for (uint32_t a = 0; a < after.ram.size(); ++a) {
    if (a >= sp && a < sp + 4u) continue;
    if (after.ram[a] != before.ram[a]) {
      ADD_FAILURE() << "RAM byte " << std::oct << a << " changed";
      break;
    }
  }
}

}  // namespace orlan::testing

#endif  // ORLAN_TESTS_CORE_TEST_MACHINE_H_
