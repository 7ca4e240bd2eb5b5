// Loading the ROM images named on the command line.
#ifndef ORLAN_TOOLS_CLI_ROM_LOADER_H_
#define ORLAN_TOOLS_CLI_ROM_LOADER_H_

#include <string>

#include "core/machine.h"

namespace orlan::cli {

// Fills the ROM store with 377, then places the first 16384 bytes of `romt_path` at
// 040000 and the first 32512 bytes of `rom_path` at 100000; an empty path is skipped.
// Both files are read before the store changes. Throws std::runtime_error when a file
// cannot be read or is shorter than the bytes it must supply.
void LoadRomImages(Machine& machine, const std::string& rom_path, const std::string& romt_path);

}  // namespace orlan::cli

#endif  // ORLAN_TOOLS_CLI_ROM_LOADER_H_
