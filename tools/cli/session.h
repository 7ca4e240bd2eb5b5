// What the monitor's commands work on.
#ifndef ORLAN_TOOLS_CLI_SESSION_H_
#define ORLAN_TOOLS_CLI_SESSION_H_

#include <ostream>

#include "core/machine.h"

namespace orlan::cli {

struct Session {
  Machine& machine;
  std::ostream& out;  // command output; errors go elsewhere
  bool quit = false;  // set by "quit": no further line of any script runs
};

}  // namespace orlan::cli

#endif  // ORLAN_TOOLS_CLI_SESSION_H_
