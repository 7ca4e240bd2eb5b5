// Runs of the monitor under the debugger's watch: emulated time passes until it is
// over or a breakpoint, watchpoint or stepping goal stops the run.
#ifndef ORLAN_TOOLS_CLI_WATCHED_RUN_H_
#define ORLAN_TOOLS_CLI_WATCHED_RUN_H_

#include <cstdint>

#include "tools/cli/session.h"

namespace orlan::cli {

// Lets `ms` milliseconds pass as "run" does, resuming a run that the watch stopped.
// A stop ends it early and prints "stop at ADDR: REASON"; gives whether it stopped.
// A trace that could not be written ends with UsageError.
bool RunWatched(Session& s, uint64_t ms);

// Ends the trace, closing its file; UsageError when it could not be written whole.
void EndTrace(Session& s);

}  // namespace orlan::cli

#endif  // ORLAN_TOOLS_CLI_WATCHED_RUN_H_
