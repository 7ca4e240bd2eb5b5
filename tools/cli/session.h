// What the monitor's commands work on.
#ifndef ORLAN_TOOLS_CLI_SESSION_H_
#define ORLAN_TOOLS_CLI_SESSION_H_

#include <filesystem>
#include <optional>
#include <ostream>

#include "core/machine.h"
#include "debugger/number_text.h"
#include "debugger/symbol_table.h"
#include "devices/board.h"
#include "frontend/emulated_time.h"
#include "frontend/message_sink.h"
#include "frontend/settings.h"

namespace orlan::cli {

struct Session {
  Machine& machine;
  std::ostream& out;  // command output; errors go elsewhere
  // The devices behind the bus windows; null when the machine has none attached.
  Board* board = nullptr;
  // The timers' schedule for "run" and "type"; null when the machine has none.
  EmulatedTime* time = nullptr;
  // The settings of a machine started from its folder (--machine), for the close.
  std::optional<Settings> settings = std::nullopt;
  // Where warnings for the user go (a machine started from its folder); may be null.
  MessageSink* messages = nullptr;
  bool closed = false;  // set by "close": the timers are stopped for good
  // Where "close" writes the clock file (the cartridges were opened there).
  std::filesystem::path dir = ".";
  // The base of the debugger's texts (dis, asm): octal unless --radix says otherwise.
  NumberFormat format = NumberFormat::ForRadix(8);
  // Names of addresses ("sym", and the machine folder's symbol files): address
  // arguments take them, "dis" shows them, "asm" reads them.
  SymbolTable symbols = SymbolTable();
  bool quit = false;  // set by "quit": no further line of any script runs
};

}  // namespace orlan::cli

#endif  // ORLAN_TOOLS_CLI_SESSION_H_
