// orlan-state-bench [DEMO_DIR]: the time to save and to load a whole-machine state (in
// memory, and through a file written whole and read back), and how many steps a
// fast-forwarded run tick runs against the CpuSpeed budget, on the demo machine after
// its boot (default folder: build/demo beside this program).
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "frontend/system.h"

namespace {

using Clock = std::chrono::steady_clock;

// The median of `runs` timings of `work`, in microseconds.
template <typename Work>
double MedianMicros(int runs, Work&& work) {
  std::vector<double> times;
  for (int i = 0; i < runs; ++i) {
    const auto start = Clock::now();
    work();
    times.push_back(std::chrono::duration<double, std::micro>(Clock::now() - start).count());
  }
  std::sort(times.begin(), times.end());
  return times[times.size() / 2];
}

}  // namespace

int main(int argc, char** argv) {
  namespace fs = std::filesystem;
  const fs::path demo = argc > 1 ? fs::path(argv[1]) : fs::path(argv[0]).parent_path() / "../demo";
  const fs::path folder = fs::temp_directory_path() / "orlan-state-bench";
  fs::remove_all(folder);
  fs::create_directories(folder);
  for (const char* name : {"orlan.ini", "rom.bin", "smp0.bin"}) {
    if (fs::exists(demo / name)) fs::copy_file(demo / name, folder / name);
  }
  orlan::System system;
  orlan::PowerOnOptions options;
  options.folder = folder;
  orlan::CapturingMessageSink sink;
  system.PowerOn(options, sink);
  for (const std::string& message : sink.messages) std::fprintf(stderr, "%s\n", message.c_str());
  system.Start();
  system.RunFor(1500);

  const std::vector<uint8_t> state = system.SaveState();
  const fs::path file = folder / "bench.sav";
  std::printf("state: %zu bytes\n", state.size());
  std::printf("save, in memory:  %8.1f us\n", MedianMicros(200, [&] { (void)system.SaveState(); }));
  std::printf("load, in memory:  %8.1f us\n",
              MedianMicros(200, [&] { (void)system.LoadState(state); }));
  std::printf("save, to a file:  %8.1f us\n",
              MedianMicros(50, [&] { (void)system.SaveStateFile(file); }));
  std::printf("load, from a file:%8.1f us\n",
              MedianMicros(50, [&] { (void)system.LoadStateFile(file); }));

  // Fast-forward on the demo as it is (mostly waiting for an interrupt), then on a
  // loop that never waits: MOV #1000.,R0 / DEC R0 / BNE .-2 / BR .-10 at 001000.
  system.set_host_clock(orlan::SteadyHostClock());
  system.SetFastForward(true);
  const int32_t budget = system.machine().run.steps_per_tick();
  const auto fast_forward = [&](const char* what) {
    std::vector<int32_t> steps;
    for (int i = 0; i < 100; ++i) {
      system.Tick(orlan::TickKind::kRun);
      steps.push_back(system.last_run_steps());
    }
    std::sort(steps.begin(), steps.end());
    const int32_t median = steps[steps.size() / 2];
    std::printf("fast-forward, %s: %d steps a run tick (median), %.0f times CpuSpeed %d\n", what,
                median, static_cast<double>(median) / budget, budget);
  };
  fast_forward("the demo");
  orlan::Machine& m = system.machine();
  uint16_t at = 01000;
  for (const uint16_t word : {012700, 001750, 005300, 001376, 000773}) {
    m.PokeWord(at, static_cast<uint16_t>(word));
    at = static_cast<uint16_t>(at + 2);
  }
  m.cpu.set_pc(01000);
  m.cpu.psw = 0340;
  m.cpu.wait = false;
  fast_forward("a busy loop");
  fs::remove_all(folder);
  return 0;
}
