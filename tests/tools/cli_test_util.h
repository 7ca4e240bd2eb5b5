// Runs monitor scripts given as strings on a machine the test owns.
#ifndef ORLAN_TESTS_TOOLS_CLI_TEST_UTIL_H_
#define ORLAN_TESTS_TOOLS_CLI_TEST_UTIL_H_

#include <array>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "core/machine.h"
#include "tests/support/temp_dir.h"
#include "tools/cli/command_table.h"
#include "tools/cli/interpreter.h"
#include "tools/cli/monitor_machine.h"

namespace orlan::cli::testing {

struct ScriptRun {
  Outcome outcome;
  std::string out;
  std::string err;
};

// Runs `script` on `machine`, with `board` as its devices and `time` as its timers
// when given.
inline ScriptRun RunText(Machine& machine, const std::string& script, Board* board = nullptr,
                         const std::filesystem::path& dir = ".", EmulatedTime* time = nullptr) {
  static const CommandTable table = StandardCommands();
  std::ostringstream out, err;
  Session session{machine, out};
  session.board = board;
  session.time = time;
  session.dir = dir;
  Interpreter interpreter(table, session, err);
  std::istringstream in(script);
  const Outcome outcome = interpreter.RunScript(in);
  return {outcome, out.str(), err.str()};
}

// Everything a command can change, for checking that a bad line changed nothing.
struct MachineImage {
  explicit MachineImage(const MonitorMachine& rig) : MachineImage(rig.machine) {
    host_key = rig.board.keyboard.host_key();
    rtc = rig.board.rtc.registers();
  }
  explicit MachineImage(const Machine& m)
      : cells(m.cpu.cells),
        psw(m.cpu.psw),
        cpc(m.cpu.cpc),
        cps(m.cpu.cps),
        irq_clock(m.cpu.irq_clock),
        irq_channel(m.cpu.irq_channel),
        rom_modified(m.run.rom_modified()),
        ram(m.ram().begin(), m.ram().end()),
        rom(m.rom().begin(), m.rom().end()) {}
  bool operator==(const MachineImage&) const = default;

  std::array<uint8_t, 16> cells;
  uint16_t psw, cpc, cps;
  bool irq_clock, irq_channel, rom_modified;
  std::vector<uint8_t> ram, rom;
  int host_key = 0;
  std::array<uint8_t, 64> rtc{};
};

inline ScriptRun RunText(MonitorMachine& rig, const std::string& script,
                         const std::filesystem::path& dir = ".") {
  return RunText(rig.machine, script, &rig.board, dir, &rig.time);
}

// A file in a temporary folder of its own, removed with the object.
class TempFile {
 public:
  TempFile(const std::string& name, const std::string& bytes) : path_(dir_.path() / name) {
    std::ofstream(path_, std::ios::binary) << bytes;
  }
  std::string path() const { return path_.string(); }

 private:
  orlan::testing::TempDir dir_;
  std::filesystem::path path_;
};

}  // namespace orlan::cli::testing

#endif  // ORLAN_TESTS_TOOLS_CLI_TEST_UTIL_H_
