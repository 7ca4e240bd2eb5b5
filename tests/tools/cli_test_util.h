// Runs monitor scripts given as strings on a system the test owns.
#ifndef ORLAN_TESTS_TOOLS_CLI_TEST_UTIL_H_
#define ORLAN_TESTS_TOOLS_CLI_TEST_UTIL_H_

#include <array>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "frontend/system.h"
#include "tests/support/temp_dir.h"
#include "tools/cli/command_table.h"
#include "tools/cli/interpreter.h"

namespace orlan::cli::testing {

struct ScriptRun {
  Outcome outcome;
  std::string out;
  std::string err;
};

// Runs `script` on `system`.
inline ScriptRun RunText(System& system, const std::string& script) {
  static const CommandTable table = StandardCommands();
  std::ostringstream out, err;
  Session session{system, out};
  Interpreter interpreter(table, session, err);
  std::istringstream in(script);
  const Outcome outcome = interpreter.RunScript(in);
  return {outcome, out.str(), err.str()};
}

// Everything a command can change, for checking that a bad line changed nothing.
struct MachineImage {
  explicit MachineImage(const System& system)
      : cells(system.machine().cpu.cells),
        psw(system.machine().cpu.psw),
        cpc(system.machine().cpu.cpc),
        cps(system.machine().cpu.cps),
        irq_clock(system.machine().cpu.irq_clock),
        irq_channel(system.machine().cpu.irq_channel),
        rom_modified(system.machine().run.rom_modified()),
        ram(system.machine().ram().begin(), system.machine().ram().end()),
        rom(system.machine().rom().begin(), system.machine().rom().end()),
        host_key(system.board().keyboard.host_key()),
        rtc(system.board().rtc.registers()) {}
  bool operator==(const MachineImage&) const = default;

  std::array<uint8_t, 16> cells;
  uint16_t psw, cpc, cps;
  bool irq_clock, irq_channel, rom_modified;
  std::vector<uint8_t> ram, rom;
  int host_key = 0;
  std::array<uint8_t, 64> rtc{};
};

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
