// orlan-bench: unthrottled processor steps per second, through Machine::RunSteps as
// the run tick drives it.
//
//   orlan-bench [STEPS]
//     two built-in loops, STEPS steps each;
//   orlan-bench --program STEPS START END ADDRESS:WORD,WORD,... ...
//     deposits the words (octal) at each address, starts at START and runs STEPS steps,
//     which must end with PC at END (the program's HALT, not executed). bench/vs-simh
//     runs the same programs on SIMH.
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <memory>
#include <string>
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

// Runs `steps` steps in run-tick-sized chunks; returns the processor seconds taken.
double Run(orlan::Machine& m, uint64_t steps, double* wall_seconds) {
  const auto begin = std::chrono::steady_clock::now();
  const std::clock_t cpu_begin = std::clock();
  while (steps > 0) {
    const uint64_t chunk = steps < 1'000'000 ? steps : 1'000'000;
    m.RunSteps(static_cast<int32_t>(chunk));
    steps -= chunk;
  }
  *wall_seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - begin).count();
  // Processor time as well: on a busy host the wall clock undercounts the speed.
  return static_cast<double>(std::clock() - cpu_begin) / CLOCKS_PER_SEC;
}

bool Measure(const Loop& loop, uint64_t steps) {
  auto machine = std::make_unique<orlan::Machine>();
  orlan::Machine& m = *machine;
  Deposit(m, loop.start, loop.words);
  m.cpu.set_pc(loop.start);
  m.cpu.set_sp(0700);
  m.cpu.psw = 0;
  double seconds = 0;
  const double cpu_seconds = Run(m, steps, &seconds);
  const uint16_t pc = m.cpu.pc();
  const bool stayed = pc >= loop.start && pc < loop.end;
  std::printf("%-14s %7.1f M steps/s wall, %7.1f M steps/s processor time (%llu steps)%s\n",
              loop.name, steps / seconds / 1e6, steps / cpu_seconds / 1e6,
              static_cast<unsigned long long>(steps),
              stayed ? "" : "  -- left the loop: instructions missing?");
  return stayed;
}

int RunProgram(int argc, char** argv) {
  if (argc < 4) {
    std::fprintf(stderr, "usage: orlan-bench --program STEPS START END ADDRESS:WORD,...\n");
    return 2;
  }
  const uint64_t steps = std::strtoull(argv[1], nullptr, 10);
  const auto start = static_cast<uint16_t>(std::strtoul(argv[2], nullptr, 8));
  const auto end = static_cast<uint16_t>(std::strtoul(argv[3], nullptr, 8));
  auto machine = std::make_unique<orlan::Machine>();
  orlan::Machine& m = *machine;
  for (int i = 4; i < argc; ++i) {
    char* p = argv[i];
    auto address = static_cast<uint16_t>(std::strtoul(p, &p, 8));
    while (*p == ':' || *p == ',') {
      m.PokeWord(address, static_cast<uint16_t>(std::strtoul(p + 1, &p, 8)));
      address = static_cast<uint16_t>(address + 2);
    }
  }
  m.cpu.set_pc(start);
  m.cpu.psw = 0;
  double seconds = 0;
  const double cpu_seconds = Run(m, steps, &seconds);
  const bool ended = m.cpu.pc() == end;
  std::printf("%.1f M steps/s processor time, %.1f wall (%llu steps)%s\n",
              steps / cpu_seconds / 1e6, steps / seconds / 1e6,
              static_cast<unsigned long long>(steps),
              ended ? "" : "  -- did not end at the HALT: a step miscounted?");
  return ended ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc > 1 && std::string(argv[1]) == "--program") return RunProgram(argc - 1, argv + 1);
  const uint64_t steps = argc > 1 ? std::strtoull(argv[1], nullptr, 10) : 200'000'000;
  bool ok = Measure(kTight, steps);
  ok = Measure(kMixed, steps) && ok;
  return ok ? 0 : 1;
}
