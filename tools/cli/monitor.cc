#include "tools/cli/monitor.h"

#include <filesystem>
#include <fstream>
#include <memory>
#include <vector>

#include "core/machine.h"
#include "debugger/number_text.h"
#include "debugger/symbol_file.h"
#include "devices/local_time.h"
#include "frontend/message_sink.h"
#include "frontend/settings.h"
#include "frontend/startup.h"
#include "tools/cli/command_table.h"
#include "tools/cli/interpreter.h"
#include "tools/cli/monitor_machine.h"
#include "tools/cli/options.h"

namespace orlan::cli {

namespace {

// Starts the machine of a folder through the window's own start-up: its creation
// (settings, RAM, ROM images, display, cartridges, clock) and then what showing it
// does. As in the window, a file error is reported and the machine runs anyway.
Settings StartFromFolder(MonitorMachine& rig, const Options& options, MessageSink& sink) {
  const StartupResult started = StartMachine(rig.machine, rig.board, options.machine,
                                             options.time.value_or(HostLocalTime()), sink);
  ResetRunState(rig.machine, rig.board);
  ResetForRun(rig.machine, rig.board);
  rig.board.lcd.set_changed(true);
  return started.settings;
}

}  // namespace

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
  auto rig = std::make_unique<MonitorMachine>();
  StreamMessageSink sink(err);
  Session session{rig->machine, out};
  session.board = &rig->board;
  session.time = &rig->time;
  session.format = NumberFormat::ForRadix(options.radix.value_or(8));
  if (!options.machine.empty()) {
    session.settings = StartFromFolder(*rig, options, sink);
    session.messages = &sink;
    session.dir = options.machine;
    LoadMachineSymbols(options.machine, session.symbols,
                       [&sink](const std::string& problem) { sink.Warning(problem); });
    // The debug window's base unless the command line names one.
    if (!options.radix) ConfigureRadix(session.format, SettingsFileReader(options.machine));
  } else {
    try {
      PrepareMachine(rig->machine, options);
      StartDevices(rig->machine, rig->board, options);
    } catch (const std::exception& e) {
      err << "orlan-cli: " << e.what() << '\n';
      return kExitUsage;
    }
    session.dir = options.dir;
  }
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
