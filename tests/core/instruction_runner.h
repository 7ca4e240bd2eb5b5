// Runs single instructions at a fixed RAM address for the instruction tests.
#ifndef ORLAN_TESTS_CORE_INSTRUCTION_RUNNER_H_
#define ORLAN_TESTS_CORE_INSTRUCTION_RUNNER_H_

#include <gtest/gtest.h>

#include <cstdint>
#include <initializer_list>

#include "core/machine.h"
#include "tests/core/test_machine.h"

namespace orlan::testing {

inline constexpr uint16_t kAt = 01000;    // where the instruction is placed
inline constexpr uint16_t kData = 02000;  // a free RAM area for memory operands
// Priority bits and the halt-mode bit: no data instruction but MTPS may change them.
inline constexpr uint16_t kOtherPsw = 0740;

// Executes the instruction made of `words` in one step and checks that it completed
// without a trap: PC then stands right after its words.
inline void Execute(Machine& m, std::initializer_list<uint16_t> words, uint16_t psw) {
  RunProgram(m, kAt, words, 1, psw);
  EXPECT_EQ(m.cpu.pc(), kAt + 2 * words.size()) << "the instruction trapped";
}

inline uint8_t ByteAt(const Machine& m, uint16_t a) { return m.PeekByte(a); }
inline uint16_t WordAt(const Machine& m, uint16_t a) { return m.PeekWord(a); }

}  // namespace orlan::testing

#endif  // ORLAN_TESTS_CORE_INSTRUCTION_RUNNER_H_
