#include "tools/cli/monitor.h"

#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "debugger/number_text.h"
#include "debugger/symbol_file.h"
#include "frontend/message_sink.h"
#include "frontend/system.h"
#include "tools/cli/command_table.h"
#include "tools/cli/interpreter.h"
#include "tools/cli/options.h"

namespace orlan::cli {

namespace {

// The exit status once the output is out: output that could not be written (a full
// disk, a closed pipe) is a failure, never a success.
int Finish(int status, std::ostream& out, std::ostream& err) {
  if (out.flush() || status != kExitOk) return status;
  err << "orlan-cli: cannot write the output\n";
  return kExitUsage;
}

}  // namespace

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
    return Finish(kExitOk, out, err);
  }
  for (const std::string& folder : {options.machine, options.dir}) {
    if (!folder.empty() && !std::filesystem::is_directory(folder)) {
      err << "orlan-cli: not a folder: " << folder << '\n';
      return kExitUsage;
    }
  }
  // Every script must be readable before the first line runs. A folder opens as a
  // stream on some hosts but reads as nothing, which would pass for an empty script.
  std::vector<std::unique_ptr<std::ifstream>> scripts;
  for (const std::string& path : options.scripts) {
    scripts.push_back(std::make_unique<std::ifstream>(path, std::ios::binary));
    if (!*scripts.back() || std::filesystem::is_directory(path)) {
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
  std::vector<std::pair<std::istream*, std::string>> inputs;
  for (std::size_t i = 0; i < scripts.size(); ++i) {
    inputs.emplace_back(scripts[i].get(), options.scripts[i]);
  }
  if (inputs.empty()) inputs.emplace_back(&in, "standard input");
  for (const auto& [input, name] : inputs) {
    const Outcome outcome = interpreter.RunScript(*input);
    if (outcome == Outcome::kError) return Finish(kExitUsage, out, err);
    if (input->bad()) {
      err << "orlan-cli: cannot read file: " << name << '\n';
      return Finish(kExitUsage, out, err);
    }
    if (outcome == Outcome::kQuit) break;
  }
  return Finish(kExitOk, out, err);
}

}  // namespace orlan::cli
