// The whole monitor behind main(): options, machine start-up and the scripts.
#ifndef ORLAN_TOOLS_CLI_MONITOR_H_
#define ORLAN_TOOLS_CLI_MONITOR_H_

#include <istream>
#include <ostream>
#include <span>
#include <string_view>

#include "frontend/message_sink.h"
#include "frontend/system.h"
#include "tools/cli/options.h"

namespace orlan::cli {

// Powers the system on and starts it as the options say. From a --machine folder it
// starts as the window does, reporting file errors to `sink` and running anyway
// (unless another emulator has the folder: false); otherwise a file error prints
// "orlan-cli: ..." to `err` and gives false. False: the monitor ends.
bool StartSystem(System& system, const Options& options, MessageSink& sink, std::ostream& err);

// Runs the monitor with the command-line arguments (without the program name);
// reads `in` when no script file is named. Returns the process's exit status.
int RunMonitor(std::span<const std::string_view> args, std::istream& in, std::ostream& out,
               std::ostream& err);

}  // namespace orlan::cli

#endif  // ORLAN_TOOLS_CLI_MONITOR_H_
