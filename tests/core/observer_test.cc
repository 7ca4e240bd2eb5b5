// A run observer sees every processor access, RAM included, and changes nothing.
#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "core/machine.h"
#include "tests/core/test_machine.h"

namespace orlan {
namespace {

using testing::kProgram;
using testing::Prepare;
using testing::Snapshot;

struct Access {
  uint16_t address;
  unsigned width;
  bool write;
  bool operator==(const Access&) const = default;
};

class Recorder : public RunObserver {
 public:
  void OnAccess(uint16_t address, unsigned width, bool write) override {
    accesses.push_back({address, width, write});
  }
  bool AfterStep(Machine& m) override { return m.cpu.pc() == stop_at; }
  std::vector<Access> accesses;
  uint16_t stop_at = 1;  // odd: never reached
};

TEST(RunObserverTest, SeesEachAccessOfAStepInOrder) {
  struct Case {
    const char* text;
    std::vector<uint16_t> words;
    std::vector<Access> want;  // after the fetch at kProgram
  };
  const Case cases[] = {
      {"mov (r1),(r2)", {011112}, {{02000, 2, false}, {02100, 2, true}}},
      {"movb (r1),(r2)", {0111112}, {{02000, 1, false}, {02100, 1, true}}},
      {"inc (r1): read, then write", {005211}, {{02000, 2, false}, {02000, 2, true}}},
      {"mov @#2000,r0", {013700, 02000}, {{kProgram + 2, 2, false}, {02000, 2, false}}},
      {"jsr pc,@#3000 pushes", {004737, 03000}, {{kProgram + 2, 2, false}, {0676, 2, true}}},
      {"tst @#164000: a device read",
       {005737, 0164000},
       {{kProgram + 2, 2, false}, {0164000, 2, false}}},
  };
  for (const Case& c : cases) {
    Machine m;
    Prepare(m);
    m.cpu.SetR(1, 02000);
    m.cpu.SetR(2, 02100);
    m.cpu.set_sp(0700);
    for (size_t i = 0; i < c.words.size(); ++i)
      m.PokeWord(static_cast<uint16_t>(kProgram + 2 * i), c.words[i]);
    m.cpu.set_pc(kProgram);
    Recorder rec;
    m.SetObserver(&rec, true);
    m.CpuStep();
    std::vector<Access> want = {{kProgram, 2, false}};
    want.insert(want.end(), c.want.begin(), c.want.end());
    EXPECT_EQ(rec.accesses, want) << c.text;
  }
}

// Random code run with a watching observer ends exactly where it ends without one, so
// the reporting path reaches the same locations as the fast path, at RamTop too; and
// the observer's stop ends the run there.
TEST(RunObserverTest, WatchedRunsMatchUnwatchedOnes) {
  std::mt19937 rng(7);
  for (int trial = 0; trial < 200; ++trial) {
    Machine plain, watched;
    for (Machine* m : {&plain, &watched}) {
      m->SetRamSize(trial % 2 ? 040000 : 050020);
      Prepare(*m);
    }
    for (uint32_t a = 0; a < 0100000; a += 2) {
      const uint16_t w = static_cast<uint16_t>(rng());
      plain.PokeWord(static_cast<uint16_t>(a), w);
      watched.PokeWord(static_cast<uint16_t>(a), w);
    }
    Recorder rec;
    watched.SetObserver(&rec, true);
    // Registers near RamTop, where the RAM path and the device path meet.
    uint16_t regs[6];
    for (uint16_t& r : regs) r = static_cast<uint16_t>(plain.ram_top() - rng() % 4);
    for (Machine* m : {&plain, &watched}) {
      for (int r = 0; r < 6; ++r) m->cpu.SetR(r, regs[r]);
      m->cpu.set_pc(kProgram);
      m->cpu.set_sp(0700);
      m->run.Free();
    }
    plain.RunSteps(500);
    watched.RunSteps(500);
    const Snapshot a(plain), b(watched);
    ASSERT_EQ(a.cells, b.cells) << "trial " << trial;
    ASSERT_EQ(a.psw, b.psw) << "trial " << trial;
    ASSERT_TRUE(a.ram == b.ram) << "trial " << trial;
    EXPECT_FALSE(rec.accesses.empty());
  }
  Machine m;
  Prepare(m);
  testing::Deposit(m, kProgram, {005200, 005200, 005200, 000777});  // inc r0 x3; br .
  m.cpu.set_pc(kProgram);
  Recorder rec;
  rec.stop_at = kProgram + 4;
  m.SetObserver(&rec, false);
  const RunResult r = m.RunSteps(100);
  EXPECT_TRUE(r.stopped);
  EXPECT_EQ(r.steps, 2);
  EXPECT_TRUE(rec.accesses.empty()) << "not watching accesses";
}

}  // namespace
}  // namespace orlan
