#include "tools/cli/monitor.h"

#include <filesystem>
#include <fstream>
#include <memory>
#include <vector>

#include "debugger/number_text.h"
#include "debugger/symbol_file.h"
#include "frontend/message_sink.h"
#include "frontend/system.h"
#include "tools/cli/command_table.h"
#include "tools/cli/interpreter.h"
#include "tools/cli/options.h"

namespace orlan::cli {

bool StartSystem(System& system, const Options& options, MessageSink& sink, std::ostream& err) {
  if (!options.machine.empty()) {
    // As in the window, a file error is reported and the machine runs anyway; but not
    // on a folder that another emulator has.
    if (system.PowerOn(MachinePowerOn(options), sink) == PowerOnResult::kFolderInUse) {
      return false;
    }
  } else {
    // Files named on the command line must all be there.
    CapturingMessageSink failures;
    if (system.PowerOn(MachinePowerOn(options), failures) != PowerOnResult::kStarted) {
      for (const std::string& text : failures.messages) err << "orlan-cli: " << text << '\n';
      return false;
    }
  }
  system.Start();
  return true;
}

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
  if (!options.machine.empty() && !std::filesystem::is_directory(options.machine)) {
    err << "orlan-cli: not a folder: " << options.machine << '\n';
    return kExitUsage;
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
  auto system = std::make_unique<System>();
  StreamMessageSink sink(err);
  if (!StartSystem(*system, options, sink, err)) return kExitUsage;
  const bool whole_folder = !options.machine.empty();
  Session session{*system, out};
  if (whole_folder) {
    session.messages = &sink;
    LoadMachineSymbols(options.machine, session.symbols,
                       [&sink](const std::string& problem) { sink.Warning(problem); });
  }
  // The debug window's base unless the command line names one; octal without a folder.
  session.format =
      NumberFormat::ForRadix(options.radix.value_or(whole_folder ? system->settings().radix : 8));
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
