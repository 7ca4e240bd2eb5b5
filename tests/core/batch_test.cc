// A run's batches of steps end exactly where single steps end.
#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "core/machine.h"
#include "core/state_io.h"
#include "core/stub_device.h"
#include "tests/core/test_machine.h"

namespace orlan {
namespace {

// The whole saved state, with what each device window was sent.
std::vector<uint8_t> State(Machine& m) {
  StateWriter out;
  m.SaveState(out);
  for (DeviceWindow w : {DeviceWindow::kLcd, DeviceWindow::kChannel, DeviceWindow::kRtc}) {
    const auto& device = static_cast<const StubDevice&>(m.device(w));
    out.I32(device.pending_index());
    for (int i = 0; i < 64; ++i) out.U16(device.reg(i));
  }
  return out.Take();
}

// Random words (also in ROM and the vectors), with registers often pointing at the
// device windows, RamTop or ROM, run in random chunks with interrupt requests raised
// between them: RunSteps against as many CpuStep calls.
TEST(BatchTest, RandomProgramsMatchSingleSteps) {
  std::mt19937 rng(11);
  for (int trial = 0; trial < 300; ++trial) {
    Machine single, batched;
    const uint16_t ram_size = trial % 3 == 0 ? 0100000 : trial % 3 == 1 ? 040000 : 052020;
    for (Machine* m : {&single, &batched}) m->SetRamSize(ram_size);
    for (uint32_t a = 0; a < 0177400; a += 2) {
      // Mostly RAM and the first ROM page, where the programs run.
      if (a >= 0042000 && a < 0160000 && a % 0400 != 0) continue;
      uint16_t w = static_cast<uint16_t>(rng());
      // Vectors mostly give a PSW at priority 0 without T, so that requests are taken
      // and runs go on in batches.
      if (a < 0400 && a % 4 == 2 && rng() % 8 != 0) w &= 0157;
      for (Machine* m : {&single, &batched}) m->PokeWord(static_cast<uint16_t>(a), w);
    }
    const uint16_t pointers[] = {0164000, 0164020, 0165000, single.ram_top(), 040000, 01000};
    for (int r = 0; r < 8; ++r) {
      uint16_t v = static_cast<uint16_t>(rng());
      if (rng() % 2) v = static_cast<uint16_t>(pointers[rng() % 6] + rng() % 040);
      if (r == 7) v = static_cast<uint16_t>(rng() % 2 ? 01000 : 040000);
      for (Machine* m : {&single, &batched}) m->cpu.SetR(r, v);
    }
    const uint16_t psw = static_cast<uint16_t>(rng() % 8 == 0 ? rng() & 0377 : rng() & 0157);
    for (Machine* m : {&single, &batched}) m->cpu.psw = psw;
    for (int chunk = 0; chunk < 12; ++chunk) {
      const bool clock = rng() % 6 == 0, channel = rng() % 6 == 0;
      for (Machine* m : {&single, &batched}) {
        m->cpu.irq_clock |= clock;
        m->cpu.irq_channel |= channel;
      }
      const auto steps = static_cast<int32_t>(rng() % 300 + 1);
      for (int32_t i = 0; i < steps; ++i) single.CpuStep();
      const RunResult r = batched.RunSteps(steps);
      ASSERT_EQ(r.steps, steps);
      ASSERT_EQ(State(single), State(batched)) << "trial " << trial << ", chunk " << chunk;
    }
  }
}

}  // namespace
}  // namespace orlan
