// The machine that the monitor drives: the processor and memory with the devices on
// their bus windows, and the emulated time that ticks them as the window's timers do.
#ifndef ORLAN_TOOLS_CLI_MONITOR_MACHINE_H_
#define ORLAN_TOOLS_CLI_MONITOR_MACHINE_H_

#include "core/machine.h"
#include "devices/board.h"
#include "frontend/emulated_time.h"

namespace orlan::cli {

struct MonitorMachine {
  MonitorMachine() : board(InstallDevices(machine)), time(machine, board) {}
  MonitorMachine(const MonitorMachine&) = delete;
  MonitorMachine& operator=(const MonitorMachine&) = delete;

  Machine machine;
  Board board;  // refers to devices that the machine owns
  EmulatedTime time;
};

}  // namespace orlan::cli

#endif  // ORLAN_TOOLS_CLI_MONITOR_MACHINE_H_
