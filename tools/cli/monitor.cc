#include "tools/cli/monitor.h"

#include <fstream>
#include <memory>
#include <vector>

#include "core/machine.h"
#include "tools/cli/command_table.h"
#include "tools/cli/interpreter.h"
#include "tools/cli/monitor_machine.h"
#include "tools/cli/options.h"

namespace orlan::cli {

int RunMonitor(std::span<const std::string_view> args, std::istream& in, std::ostream& out,
               std::ostream& err) {
  const CommandTable table = StandardCommands();
  Options options;
  try {
    options = ParseOptions(args);
  } catch (const UsageError& e) {
    err << "orlan-cli: " << e.what() << "\n(try --help)\n";
    return kExitUsage;
  }
  if (options.help) {
    out << HelpText(table);
    return kExitOk;
  }
  // Every script must be readable before the first line runs.
  std::vector<std::unique_ptr<std::ifstream>> scripts;
  for (const std::string& path : options.scripts) {
    scripts.push_back(std::make_unique<std::ifstream>(path));
    if (!*scripts.back()) {
      err << "orlan-cli: cannot read file: " << path << '\n';
      return kExitUsage;
    }
  }
  auto rig = std::make_unique<MonitorMachine>();
  try {
    PrepareMachine(rig->machine, options);
    StartDevices(rig->machine, rig->board, options);
  } catch (const std::exception& e) {
    err << "orlan-cli: " << e.what() << '\n';
    return kExitUsage;
  }
  Session session{rig->machine, out};
  session.board = &rig->board;
  session.dir = options.dir;
  session.format = NumberFormat::ForRadix(options.radix);
  Interpreter interpreter(table, session, err);
  std::vector<std::istream*> inputs;
  for (auto& script : scripts) inputs.push_back(script.get());
  if (inputs.empty()) inputs.push_back(&in);
  for (std::istream* input : inputs) {
    const Outcome outcome = interpreter.RunScript(*input);
    if (outcome == Outcome::kError) return kExitUsage;
    if (outcome == Outcome::kQuit) break;
  }
  return kExitOk;
}

}  // namespace orlan::cli
