// Measures the emulation pace: the run timer as the window drives it (a threaded timer
// of 10 ms running one run tick of CpuSpeed steps on the user-interface thread), for a
// few seconds of host time, and prints the steps executed per second. At the default
// speed of 400 steps a tick the nominal pace is 40000 steps a second; the real one is
// lower by the time each tick takes and the host timer's resolution.
#include <QCoreApplication>
#include <QTimer>
#include <chrono>
#include <cstdio>
#include <cstdlib>

#include "core/machine.h"
#include "frontend/qt/threaded_timer.h"

namespace {

// A tight loop (dec r0 / bne back / br to start) that never idles, so every step is
// an executed instruction.
void LoadLoop(orlan::Machine& m) {
  const uint16_t words[] = {012700, 0177777, 005300, 001376, 000773};
  uint16_t a = 01000;
  for (uint16_t w : words) {
    m.PokeWord(a, w);
    a = static_cast<uint16_t>(a + 2);
  }
  m.cpu.set_pc(01000);
  m.cpu.psw = 0;
}

}  // namespace

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  const int seconds = argc > 1 ? std::atoi(argv[1]) : 5;
  const int steps_per_tick = argc > 2 ? std::atoi(argv[2]) : 400;

  orlan::Machine machine;
  machine.run.set_steps_per_tick(steps_per_tick);
  LoadLoop(machine);

  long long steps = 0;
  long long ticks = 0;
  orlan::TThreadedTimer run_timer;
  run_timer.SetInterval(10);
  run_timer.OnTimer = [&](QObject*) {
    // Count the steps of one tick without changing what RunSlice does.
    const int32_t budget = machine.run.steps_per_tick();
    machine.RunSlice();
    steps += budget > 0 ? budget : 0;
    ++ticks;
  };

  const auto start = std::chrono::steady_clock::now();
  run_timer.SetEnabled(true);
  QTimer::singleShot(seconds * 1000, &app, &QCoreApplication::quit);
  app.exec();
  run_timer.SetEnabled(false);
  const double elapsed =
      std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();

  std::printf("CpuSpeed %d: %lld ticks, %lld steps in %.2f s\n", steps_per_tick, ticks, steps,
              elapsed);
  std::printf("pace: %.0f steps/s (nominal %d), %.1f ticks/s (nominal 100)\n", steps / elapsed,
              steps_per_tick * 100, ticks / elapsed);
  return 0;
}
