// The monitor's interpreter on any script, with every command that works on the
// machine. Commands that reach host files (load, lcd png, close) are left out, and the
// emulated work per script is bounded so that each input stays quick.
#include <cstddef>
#include <cstdint>
#include <functional>
#include <ostream>
#include <sstream>
#include <string>
#include <string_view>
#include <utility>

#include "frontend/system.h"
#include "tests/fuzz/fuzz_check.h"
#include "tools/cli/command_table.h"
#include "tools/cli/interpreter.h"

namespace {

using orlan::cli::Args;
using orlan::cli::Command;
using orlan::cli::CommandTable;
using orlan::cli::Session;
using orlan::cli::UsageError;

// About one unit per processor step.
constexpr uint64_t kWorkBudget = 300000;
uint64_t work_spent = 0;

// `command`, charged `cost` of its arguments before it is parsed; a command past the
// budget is a bad line, which ends the script.
Command Charged(const Command& command, std::function<uint64_t(const Args&)> cost) {
  Command charged = command;
  charged.parse = [parse = command.parse, cost = std::move(cost)](const Args& args,
                                                                  const Session& session) {
    work_spent += cost(args);
    if (work_spent > kWorkBudget) throw UsageError("over the fuzz budget");
    return parse(args, session);
  };
  return charged;
}

// The number of argument `i` (bounded by `max`, else the command's usage error), or
// `otherwise` when there is none.
uint64_t NumberOr(const Args& args, std::size_t i, uint64_t max, uint64_t otherwise) {
  return args.size() > i ? args.Number(i, max) : otherwise;
}

CommandTable FuzzCommands() {
  const CommandTable standard = orlan::cli::StandardCommands();
  CommandTable table;
  for (const Command& command : standard.commands()) {
    const std::string& name = command.name;
    if (name == "load" || name == "close") continue;
    if (name == "lcd") {
      // The text form only: no file is written.
      table.Add(Charged(command, [](const Args& a) -> uint64_t {
        if (a.size() != 0) throw UsageError("lcd png is left out");
        return 1000;
      }));
    } else if (name == "step") {
      table.Add(Charged(command, [](const Args& a) { return NumberOr(a, 0, kWorkBudget, 1); }));
    } else if (name == "run") {
      // 400 steps per 10 ms run tick.
      table.Add(Charged(command, [](const Args& a) { return 40 * NumberOr(a, 0, 10000, 0); }));
    } else if (name == "type") {
      // Each key 100 ms.
      table.Add(Charged(command, [](const Args& a) { return 4000 * a.text().size(); }));
    } else if (name == "mem" || name == "dis") {
      table.Add(Charged(command, [](const Args& a) { return NumberOr(a, 1, 4096, 1); }));
    } else {
      table.Add(Charged(command, [](const Args&) { return uint64_t{1}; }));
    }
  }
  return table;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const CommandTable table = FuzzCommands();
  work_spent = 0;
  orlan::System system;
  system.Start();
  std::ostringstream out;
  std::ostringstream err;
  Session session{system, out};
  orlan::cli::Interpreter interpreter(table, session, err);
  std::istringstream in(std::string(reinterpret_cast<const char*>(data), size));
  const orlan::cli::Outcome outcome = interpreter.RunScript(in);
  // Every bad line says so.
  orlan::fuzz::Check((outcome == orlan::cli::Outcome::kError) == !err.str().empty(),
                     "a message exactly for a bad line");
  return 0;
}
