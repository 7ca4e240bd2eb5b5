// orlan-bench: unthrottled processor steps per second on two loops, one step at a
// time through Machine::CpuStep as the run tick drives it.
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <memory>
#include <vector>

#include "core/machine.h"

namespace {

void Deposit(orlan::Machine& m, uint16_t address, const std::vector<uint16_t>& words) {
  for (uint16_t w : words) {
    m.PokeWord(address, w);
    address = static_cast<uint16_t>(address + 2);
  }
}

struct Loop {
  const char* name;
  uint16_t start;
  uint16_t end;  // first address after the loop: PC stays in [start, end)
  std::vector<uint16_t> words;
};

// 001000: MOV #1000.,R0 / DEC R0 / BNE .-2 / BR 001000
const Loop kTight = {"dec/bne", 01000, 01012, {012700, 001750, 005300, 001376, 000773}};

// 002000: MOV #3000,R1 / MOV #64.,R2
// 002010: MOV (R1)+,R0 / ADD R0,R3 / ADD @#3000,R4 / MOV R3,-2(R1) / SOB R2,002010
// 002026: BR 002000
const Loop kMixed = {"mov/add/modes",
                     02000,
                     02030,
                     {012701, 003000, 012702, 000100, 012100, 060003, 063704, 003000, 010361,
                      0177776, 077207, 000764}};

bool Measure(const Loop& loop, uint64_t steps) {
  auto machine = std::make_unique<orlan::Machine>();
  orlan::Machine& m = *machine;
  Deposit(m, loop.start, loop.words);
  m.cpu.set_pc(loop.start);
  m.cpu.set_sp(0700);
  m.cpu.psw = 0;
  const auto begin = std::chrono::steady_clock::now();
  const std::clock_t cpu_begin = std::clock();
  for (uint64_t i = 0; i < steps; ++i) m.CpuStep();
  const std::chrono::duration<double> seconds = std::chrono::steady_clock::now() - begin;
  // Processor time as well: on a busy host the wall clock undercounts the speed.
  const double cpu_seconds = static_cast<double>(std::clock() - cpu_begin) / CLOCKS_PER_SEC;
  const uint16_t pc = m.cpu.pc();
  const bool stayed = pc >= loop.start && pc < loop.end;
  std::printf("%-14s %7.1f M steps/s wall, %7.1f M steps/s processor time (%llu steps)%s\n",
              loop.name, steps / seconds.count() / 1e6, steps / cpu_seconds / 1e6,
              static_cast<unsigned long long>(steps),
              stayed ? "" : "  -- left the loop: instructions missing?");
  return stayed;
}

}  // namespace

int main(int argc, char** argv) {
  const uint64_t steps = argc > 1 ? std::strtoull(argv[1], nullptr, 10) : 200'000'000;
  bool ok = Measure(kTight, steps);
  ok = Measure(kMixed, steps) && ok;
  return ok ? 0 : 1;
}
