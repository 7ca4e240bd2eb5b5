#include "tools/cli/monitor.h"

#include <filesystem>
#include <fstream>
#include <memory>
#include <optional>
#include <random>
#include <string>
#include <utility>
#include <vector>

#include "debugger/number_text.h"
#include "debugger/symbol_file.h"
#include "devices/host_file.h"
#include "frontend/message_sink.h"
#include "frontend/read_file.h"
#include "frontend/replay.h"
#include "frontend/settings.h"
#include "frontend/system.h"
#include "tools/cli/command_table.h"
#include "tools/cli/interpreter.h"
#include "tools/cli/options.h"
#include "tools/cli/watched_run.h"

namespace orlan::cli {

namespace {

// The exit status once the output is out: output that could not be written (a full
// disk, a closed pipe) is a failure, never a success.
int Finish(int status, std::ostream& out, std::ostream& err) {
  if (out.flush() || status != kExitOk) return status;
  err << "orlan-cli: cannot write the output\n";
  return kExitUsage;
}

// A recording grows by some 200 bytes a second and a saved state at each debugger use.
constexpr std::size_t kRecordingLimit = std::size_t{1} << 30;

// A folder of the monitor's own for a replay's cartridge copies and clock file, removed
// with everything in it at the end.
class ScratchFolder {
 public:
  ScratchFolder() {
    std::random_device random;
    std::error_code ec;
    const std::filesystem::path base = std::filesystem::temp_directory_path(ec);
    for (int attempt = 0; attempt < 16 && !ec; ++attempt) {
      path_ = base / ("orlan-replay-" + std::to_string(random()));
      if (std::filesystem::create_directory(path_, ec)) return;
    }
    path_.clear();
  }
  ~ScratchFolder() {
    std::error_code ignored;
    if (!path_.empty()) std::filesystem::remove_all(path_, ignored);
  }
  ScratchFolder(const ScratchFolder&) = delete;
  ScratchFolder& operator=(const ScratchFolder&) = delete;
  const std::filesystem::path& path() const { return path_; }

 private:
  std::filesystem::path path_;
};

// Plays the recording that the options name on the fresh `system`; notes about how it
// ended go to `err`. False, with the reason on `err`, when it cannot be played.
bool StartReplay(System& system, const Options& options, const ScratchFolder& scratch,
                 std::ostream& err) {
  if (scratch.path().empty()) {
    err << "orlan-cli: cannot make a temporary folder for the replay\n";
    return false;
  }
  std::vector<uint8_t> journal;
  if (IoResult read = ReadWholeFile(options.replay, kRecordingLimit, journal); !read) {
    err << "orlan-cli: " << read.error << '\n';
    return false;
  }
  const ReplayOutcome outcome = Replay(system, journal, options.machine, scratch.path());
  if (!outcome.error.empty()) {
    err << "orlan-cli: " << options.replay << ": " << outcome.error << '\n';
    return false;
  }
  for (const std::string& note : outcome.notes) {
    err << "orlan-cli: " << options.replay << ": " << note << '\n';
  }
  return true;
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
  std::optional<ScratchFolder> scratch;  // outlives the system, whose files are in it
  auto system = std::make_unique<System>();
  StreamMessageSink sink(err);
  if (!options.replay.empty()) {
    scratch.emplace();
    if (!StartReplay(*system, options, *scratch, err)) return kExitUsage;
  } else if (!StartSystem(*system, options, sink, err)) {
    return kExitUsage;
  }
  const bool whole_folder = !options.machine.empty();
  Session session{*system, out};
  if (whole_folder) {
    session.messages = &sink;
    LoadMachineSymbols(options.machine, session.symbols,
                       [&sink](const std::string& problem) { sink.Warning(problem); });
  }
  // The debug window's base unless the command line names one; octal without a folder.
  // A replay powers on from the recording, not from the folder's settings.
  int folder_radix = system->settings().radix;
  if (!options.replay.empty()) {
    const std::filesystem::path ini = std::filesystem::path(options.machine) / kSettingsFileName;
    if (HostFileKind(ini) == FileKind::kRegular) folder_radix = ReadSettingsFile(ini).radix;
  }
  session.format = NumberFormat::ForRadix(options.radix.value_or(whole_folder ? folder_radix : 8));
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
  // A trace still open must reach its file whole.
  try {
    EndTrace(session);
  } catch (const UsageError& e) {
    err << "orlan-cli: " << e.what() << '\n';
    return Finish(kExitUsage, out, err);
  }
  return Finish(kExitOk, out, err);
}

}  // namespace orlan::cli
