// What the monitor's commands work on.
#ifndef ORLAN_TOOLS_CLI_SESSION_H_
#define ORLAN_TOOLS_CLI_SESSION_H_

#include <fstream>
#include <memory>
#include <ostream>
#include <string>

#include "debugger/number_text.h"
#include "debugger/run_watch.h"
#include "debugger/symbol_table.h"
#include "frontend/message_sink.h"
#include "frontend/system.h"

namespace orlan::cli {

struct Session {
  System& system;
  std::ostream& out;  // command output; errors go elsewhere
  // Where warnings for the user go (a machine started from its folder); may be null.
  MessageSink* messages = nullptr;
  // The base of the debugger's texts (dis, asm): octal unless --radix says otherwise.
  NumberFormat format = NumberFormat::ForRadix(8);
  // Names of addresses ("sym", and the machine folder's symbol files): address
  // arguments take them, "dis" shows them, "asm" reads them.
  SymbolTable symbols = SymbolTable();
  bool quit = false;  // set by "quit": no further line of any script runs
  // Breakpoints, watchpoints, stepping goals, history and trace of the runs.
  RunWatch watch{system.machine()};
  // The run was stopped by `watch`: the next command that runs resumes it.
  bool stopped_by_watch = false;
  // The file that "trace" writes, and its name for messages.
  std::unique_ptr<std::ofstream> trace_file = nullptr;
  std::string trace_path = std::string();

  Machine& machine() const { return system.machine(); }
};

}  // namespace orlan::cli

#endif  // ORLAN_TOOLS_CLI_SESSION_H_
