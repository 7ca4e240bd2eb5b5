// The whole monitor behind main(): options, machine start-up and the scripts.
#ifndef ORLAN_TOOLS_CLI_MONITOR_H_
#define ORLAN_TOOLS_CLI_MONITOR_H_

#include <istream>
#include <ostream>
#include <span>
#include <string_view>

namespace orlan::cli {

// Runs the monitor with the command-line arguments (without the program name);
// reads `in` when no script file is named. Returns the process's exit status.
int RunMonitor(std::span<const std::string_view> args, std::istream& in, std::ostream& out,
               std::ostream& err);

}  // namespace orlan::cli

#endif  // ORLAN_TOOLS_CLI_MONITOR_H_
