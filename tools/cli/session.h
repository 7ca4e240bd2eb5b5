// What the monitor's commands work on.
#ifndef ORLAN_TOOLS_CLI_SESSION_H_
#define ORLAN_TOOLS_CLI_SESSION_H_

#include <ostream>

#include "debugger/number_text.h"
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

  Machine& machine() const { return system.machine(); }
};

}  // namespace orlan::cli

#endif  // ORLAN_TOOLS_CLI_SESSION_H_
