// The monitor's command line.
#ifndef ORLAN_TOOLS_CLI_OPTIONS_H_
#define ORLAN_TOOLS_CLI_OPTIONS_H_

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "devices/local_time.h"
#include "frontend/system.h"
#include "tools/cli/command_table.h"

namespace orlan::cli {

struct Options {
  std::optional<int64_t> ram_size;  // a RamSize setting, applied as the start-up does
  std::string rom;                  // image for 100000-177377
  std::string romt;                 // image for 040000-077777
  std::optional<int> radix;         // base of the debugger's texts, 8 to 16
  std::string dir = ".";            // the cartridge files and the clock file
  // A machine folder to start from as the window does (settings, ROM images,
  // cartridges); excludes the options above except the radix.
  std::string machine;
  std::optional<LocalTime> time;  // the clock's start; none: the host's time
  bool help = false;
  std::vector<std::string> scripts;  // none: standard input
  // "replay FILE" before the scripts: the recording to play first (with --machine).
  std::string replay;
};

// Throws UsageError for an unknown option, a missing value or a bad number. Option
// values are decimal, like the settings they stand for ("0x" for hexadecimal).
Options ParseOptions(std::span<const std::string_view> args);

// "YYYY-MM-DDTHH:MM:SS", a valid date from 1900 to 2099 and time of day, with the
// weekday it falls on. No value: not such a text.
std::optional<LocalTime> ParseTimeOption(std::string_view text);

// How the system powers on for these options: from the --machine folder as the window
// does, or else from the images named and the cartridges of --dir; the clock at --time
// or the host's time.
PowerOnOptions MachinePowerOn(const Options& options);

// The --help text: options and the table's commands.
std::string HelpText(const CommandTable& table);

}  // namespace orlan::cli

#endif  // ORLAN_TOOLS_CLI_OPTIONS_H_
