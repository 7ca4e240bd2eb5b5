// Branches, SOB, JMP, JSR, RTS and MARK, each executed as a whole step.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/instructions.h"
#include "test_machine.h"

namespace orlan {
namespace {

using testing::Deposit;
using testing::kProgram;
using testing::kStackTop;
using testing::Prepare;

// For each branch, whether it is taken for each NZVC combination: character i of
// the pattern is for the condition codes N*8 + Z*4 + V*2 + C = i.
TEST(Branches, TakenForExactlyTheirConditions) {
  struct Case {
    const char* name;
    uint16_t opcode;
    const char* taken;
  } cases[] = {
      {"BR", 0000400, "1111111111111111"},   {"BNE", 0001000, "1111000011110000"},
      {"BEQ", 0001400, "0000111100001111"},  {"BGE", 0002000, "1100110000110011"},
      {"BLT", 0002400, "0011001111001100"},  {"BGT", 0003000, "1100000000110000"},
      {"BLE", 0003400, "0011111111001111"},  {"BPL", 0100000, "1111111100000000"},
      {"BMI", 0100400, "0000000011111111"},  {"BHI", 0101000, "1010000010100000"},
      {"BLOS", 0101400, "0101111101011111"}, {"BVC", 0102000, "1100110011001100"},
      {"BVS", 0102400, "0011001100110011"},  {"BCC", 0103000, "1010101010101010"},
      {"BCS", 0103400, "0101010101010101"},
  };
  for (const Case& c : cases) {
    for (uint16_t nzvc = 0; nzvc < 16; ++nzvc) {
      SCOPED_TRACE(::testing::Message() << c.name << " NZVC=" << nzvc);
      Machine m;
      // Priority and halt-mode bits set too: only the condition codes count.
      const uint16_t psw = static_cast<uint16_t>(0740 | nzvc);
      testing::RunProgram(m, kProgram, {static_cast<uint16_t>(c.opcode | 010)}, 1, psw);
      const bool taken = c.taken[nzvc] == '1';
      EXPECT_EQ(m.cpu.pc(), taken ? kProgram + 2 + 020 : kProgram + 2);
      EXPECT_EQ(m.cpu.psw, psw) << "branches change no condition code";
    }
  }
}

TEST(Branches, OffsetIsASignedWordCount) {
  struct Case {
    uint16_t word;
    uint16_t want_pc;
  } cases[] = {
      {0000777, kProgram},             // BR . : offset -1 branches to itself
      {0000600, kProgram + 2 - 0400},  // offset -128
      {0000577, kProgram + 2 + 0376},  // offset +127
      {0000400, kProgram + 2},         // offset 0
      {0103777, kProgram},             // BCS . with C set
  };
  for (const Case& c : cases) {
    Machine m;
    testing::RunProgram(m, kProgram, {c.word}, 1, kPswC);
    EXPECT_EQ(m.cpu.pc(), c.want_pc) << std::oct << c.word;
  }
  // Wraps around the top of the address space.
  Machine m;
  Deposit(m, 0, {0000600});
  m.cpu.set_pc(0);
  m.CpuStep();
  EXPECT_EQ(m.cpu.pc(), static_cast<uint16_t>(2 - 0400));
}

TEST(Sob, DecrementsAndBranchesBackWhileNotZero) {
  struct Case {
    int reg;
    uint16_t count;
    uint16_t nn;
    uint16_t want_count;
    uint16_t want_pc;
  } cases[] = {
      {0, 1, 010, 0, kProgram + 2},              // reaches 0: falls through
      {0, 0, 010, 0177777, kProgram + 2 - 020},  // wraps and branches
      {3, 2, 1, 1, kProgram},                    // SOB R3,. loops on itself
      {5, 0100, 077, 077, kProgram + 2 - 0176},  // largest count
      {4, 5, 0, 4, kProgram + 2},                // count 0: branch to the next word
  };
  for (const Case& c : cases) {
    Machine m;
    m.cpu.SetR(c.reg, c.count);
    const uint16_t word = static_cast<uint16_t>(0077000 | (c.reg << 6) | c.nn);
    testing::RunProgram(m, kProgram, {word}, 1, 017);
    EXPECT_EQ(m.cpu.R(c.reg), c.want_count) << std::oct << word;
    EXPECT_EQ(m.cpu.pc(), c.want_pc) << std::oct << word;
    EXPECT_EQ(m.cpu.psw, 017) << "no condition code changes";
  }
}

// One instruction (with its extra words) at kProgram in a prepared machine.
struct ProgramCase {
  const char* what;
  std::vector<uint16_t> words;
  std::vector<std::pair<int, uint16_t>> regs;  // set before
  std::vector<std::pair<uint16_t, uint16_t>> memory;
  uint16_t want_pc;
  std::vector<std::pair<int, uint16_t>> want_regs;
  std::vector<std::pair<uint16_t, uint16_t>> want_memory;
};

void RunCases(const std::vector<ProgramCase>& cases) {
  for (const ProgramCase& c : cases) {
    SCOPED_TRACE(c.what);
    Machine m;
    Prepare(m);
    for (auto [r, v] : c.regs) m.cpu.SetR(r, v);
    for (auto [a, w] : c.memory) Deposit(m, a, {w});
    uint16_t a = kProgram;
    for (uint16_t w : c.words) {
      Deposit(m, a, {w});
      a = static_cast<uint16_t>(a + 2);
    }
    m.cpu.set_pc(kProgram);
    m.cpu.psw = 017;
    m.CpuStep();
    EXPECT_EQ(m.cpu.pc(), c.want_pc);
    EXPECT_EQ(m.cpu.psw, 017);
    for (auto [r, v] : c.want_regs) EXPECT_EQ(m.cpu.R(r), v) << "R" << r;
    for (auto [addr, w] : c.want_memory) EXPECT_EQ(m.PeekWord(addr), w) << std::oct << addr;
  }
}

// Each case: what, instruction words, registers and memory set before; then the PC,
// registers and memory words expected after one step.
// clang-format off
TEST(JmpJsr, JumpTargets) {
  RunCases({
      {"JMP (R1), odd R1 forced even", {0000111}, {{1, 002001}}, {},
       002000, {{1, 002001}}, {}},
      {"JMP (R1)+ advances by a word", {0000121}, {{1, 002000}}, {},
       002000, {{1, 002002}}, {}},
      {"JMP @(R2)+", {0000132}, {{2, 000400}}, {{000400, 002222}},
       002222, {{2, 000402}}, {}},
      {"JMP @#a", {0000137, 002004}, {}, {},
       002004, {}, {}},
      {"JMP a (relative)", {0000167, 000100}, {}, {},
       kProgram + 4 + 0100, {}, {}},
      {"JMP X(R3)", {0000163, 000010}, {{3, 002000}}, {},
       002010, {}, {}},
      {"JMP (SP), odd SP: PC forced even after the step", {0000116}, {{6, 002001}}, {},
       002000, {{6, 002001}}, {}},
  });
}

TEST(JmpJsr, SubroutineCalls) {
  RunCases({
      {"JSR PC,@#a", {0004737, 002000}, {}, {},
       002000, {{6, kStackTop - 2}}, {{kStackTop - 2, kProgram + 4}}},
      {"JSR R5,(R1) saves R5 and links through it", {0004511}, {{5, 0055555}, {1, 002001}}, {},
       002000, {{5, kProgram + 2}, {6, kStackTop - 2}}, {{kStackTop - 2, 0055555}}},
      {"JSR R5,@(R4)+ advances R4 before the push", {0004534}, {{5, 0055555}, {4, 000400}},
       {{000400, 002200}},
       002200, {{4, 000402}, {5, kProgram + 2}, {6, kStackTop - 2}}, {{kStackTop - 2, 0055555}}},
      {"JSR R4,-(R4) pushes the lowered R4", {0004444}, {{4, 002002}}, {},
       002000, {{4, kProgram + 2}}, {{kStackTop - 2, 002000}}},
      {"JSR SP,(R1) pushes the lowered SP", {0004611}, {{1, 002000}}, {},
       002000, {{6, kProgram + 2}}, {{kStackTop - 2, kStackTop - 2}}},
      {"JSR R0,X(PC)", {0004067, 000100}, {{0, 012345}}, {},
       kProgram + 4 + 0100, {{0, kProgram + 4}, {6, kStackTop - 2}}, {{kStackTop - 2, 012345}}},
  });
}
// clang-format on

TEST(JmpJsr, RegisterDestinationTrapsWithNothingChanged) {
  for (uint16_t word : {uint16_t{0000103}, uint16_t{0004703}, uint16_t{0004500}}) {
    Machine m;
    Prepare(m);
    Deposit(m, kProgram, {word});
    m.cpu.set_pc(kProgram);
    m.cpu.psw = 017;
    const testing::Snapshot before(m);
    m.CpuStep();
    SCOPED_TRACE(::testing::Message() << std::oct << word);
    testing::ExpectTrapEntry(m, before, kVectorBusError, kProgram + 2, 017);
  }
}

// clang-format off
TEST(RtsMark, Returns) {
  RunCases({
      {"RTS R5", {0000205}, {{5, 002100}}, {{kStackTop, 0054321}},
       002100, {{5, 0054321}, {6, kStackTop + 2}}, {}},
      {"RTS R5 with odd R5", {0000205}, {{5, 002101}}, {},
       002100, {}, {}},
      {"RTS PC pops PC", {0000207}, {}, {{kStackTop, 002200}},
       002200, {{6, kStackTop + 2}}, {}},
      {"RTS PC pops an odd word, forced even after the step", {0000207}, {}, {{kStackTop, 002201}},
       002200, {}, {}},
      {"RTS SP: PC from SP, then SP from the stack", {0000206}, {}, {{kStackTop, 001234}},
       kStackTop, {{6, 001234}}, {}},
      // MARK 2 at 001000: SP := 001002 + 4, PC := R5, R5 := word at 001006.
      {"MARK 2", {0006402, 0111111, 0122222, 0054321}, {{5, 002400}}, {},
       002400, {{5, 0054321}, {6, kProgram + 010}}, {}},
      {"MARK 0 with odd R5", {0006400, 0033333}, {{5, 002401}}, {},
       002400, {{5, 0033333}, {6, kProgram + 4}}, {}},
  });
}
// clang-format on

}  // namespace
}  // namespace orlan
