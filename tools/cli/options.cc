#include "tools/cli/options.h"

#include <chrono>
#include <sstream>

#include "debugger/number_text.h"
#include "devices/local_time.h"
#include "tools/cli/number.h"

namespace orlan::cli {

namespace {

// The decimal number of `digits` digits at `at` in `text`, or -1.
int Digits(std::string_view text, std::size_t at, std::size_t digits) {
  int value = 0;
  for (std::size_t i = at; i < at + digits; ++i) {
    if (text[i] < '0' || text[i] > '9') return -1;
    value = value * 10 + (text[i] - '0');
  }
  return value;
}

}  // namespace

std::optional<LocalTime> ParseTimeOption(std::string_view text) {
  constexpr std::string_view kPattern = "dddd-dd-ddTdd:dd:dd";
  if (text.size() != kPattern.size()) return std::nullopt;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (kPattern[i] != 'd' && text[i] != kPattern[i]) return std::nullopt;
  }
  LocalTime t;
  t.year = Digits(text, 0, 4);
  t.month = Digits(text, 5, 2);
  t.day = Digits(text, 8, 2);
  t.hour = Digits(text, 11, 2);
  t.minute = Digits(text, 14, 2);
  t.second = Digits(text, 17, 2);
  if (t.year < 1900 || t.year > 2099 || t.month < 0 || t.day < 0 || t.hour < 0 || t.hour > 23 ||
      t.minute < 0 || t.minute > 59 || t.second < 0 || t.second > 59) {
    return std::nullopt;
  }
  const std::chrono::year_month_day date{std::chrono::year(t.year),
                                         std::chrono::month(static_cast<unsigned>(t.month)),
                                         std::chrono::day(static_cast<unsigned>(t.day))};
  if (!date.ok()) return std::nullopt;
  t.weekday = static_cast<int>(std::chrono::weekday(std::chrono::sys_days(date)).iso_encoding());
  return t;
}

Options ParseOptions(std::span<const std::string_view> args) {
  Options options;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string_view arg = args[i];
    if (arg == "replay" && options.scripts.empty() && options.replay.empty()) {
      if (i + 1 == args.size()) throw UsageError("missing recording after replay");
      options.replay = args[++i];
      continue;
    }
    if (!arg.starts_with("--")) {
      options.scripts.emplace_back(arg);
      continue;
    }
    if (arg == "--help") {
      options.help = true;
      continue;
    }
    if (arg != "--ram-size" && arg != "--rom" && arg != "--romt" && arg != "--radix" &&
        arg != "--dir" && arg != "--machine" && arg != "--time") {
      throw UsageError("unknown option: " + std::string(arg));
    }
    if (i + 1 == args.size()) throw UsageError("missing value for " + std::string(arg));
    const std::string value(args[++i]);
    if (arg == "--rom") {
      options.rom = value;
    } else if (arg == "--romt") {
      options.romt = value;
    } else if (arg == "--dir") {
      options.dir = value;
    } else if (arg == "--machine") {
      options.machine = value;
    } else if (arg == "--time") {
      options.time = ParseTimeOption(value);
      if (!options.time) throw UsageError("bad time (want YYYY-MM-DDTHH:MM:SS): " + value);
    } else {
      const auto number = ParseNumber(value, 10);
      if (!number) throw UsageError("bad number: " + value);
      const uint64_t max = arg == "--radix" ? kMaxRadix : 0xFFFFFFFF;
      const uint64_t min = arg == "--radix" ? kMinRadix : 0;
      if (*number > max || *number < min) throw UsageError("number out of range: " + value);
      if (arg == "--radix") {
        options.radix = static_cast<int>(*number);
      } else {
        options.ram_size = static_cast<int64_t>(*number);
      }
    }
  }
  // The folder's own files say what these would.
  const bool placed =
      options.ram_size || !options.rom.empty() || !options.romt.empty() || options.dir != ".";
  if (!options.machine.empty() && placed) {
    throw UsageError("--machine takes the place of --ram-size, --rom, --romt and --dir");
  }
  if (!options.replay.empty() && (options.machine.empty() || options.time)) {
    throw UsageError("replay takes a --machine folder and no --time (the recording has it)");
  }
  return options;
}

PowerOnOptions MachinePowerOn(const Options& options) {
  PowerOnOptions power_on;
  power_on.now = options.time.value_or(HostLocalTime());
  if (!options.machine.empty()) {
    power_on.folder = options.machine;
    power_on.use = FolderUse::kMachine;
    return power_on;
  }
  power_on.folder = options.dir;
  power_on.use = FolderUse::kDevices;
  if (!options.rom.empty()) power_on.rom = options.rom;
  if (!options.romt.empty()) power_on.romt = options.romt;
  power_on.ram_size = options.ram_size;
  return power_on;
}

std::string HelpText(const CommandTable& table) {
  std::ostringstream text;
  text << "usage: orlan-cli [OPTION]... [replay RECORDING] [SCRIPT]...\n"
          "Runs monitor commands, one per line, from the SCRIPT files or else from standard\n"
          "input, on an Orlan machine that starts as the emulator starts it: RAM zero,\n"
          "processor reset. Numbers are octal; 0x17 is hexadecimal, 15. decimal.\n"
          "A bad line prints \"line N: message\" and ends the run with status 2; an\n"
          "instruction that asm cannot assemble prints \"error at P\" (P its position).\n\n"
          "options:\n"
          "  --ram-size N   RAM size in bytes (16384 to 32768; option values are decimal)\n"
          "  --rom FILE     image of 100000-177377 (its first 32512 bytes)\n"
          "  --romt FILE    image of 040000-077777 (its first 16384 bytes)\n"
          "  --radix N      base of the dis and asm texts, 8 to 16 (default 8)\n"
          "  --dir DIR      directory of smp0.bin, smp1.bin and rtc.bin (default .)\n"
          "  --machine DIR  start as the emulator does from DIR's orlan.ini, rom.bin,\n"
          "                 romt.bin, smp0.bin and smp1.bin (instead of the four above);\n"
          "                 the debugger's base is then DIR's Radix setting\n"
          "  --time YYYY-MM-DDTHH:MM:SS  set the clock to this time, not the host's\n"
          "  --help         print this text\n\n"
          "replay RECORDING (with --machine DIR) plays a session that orlan --record wrote\n"
          "on DIR's machine, without writing DIR's files; the scripts then see the machine\n"
          "as the window left it.\n\n"
          "commands (\"#\" starts a comment, except in the TEXT of asm and type):\n";
  for (const Command& c : table.commands()) {
    text << "  " << c.synopsis
         << std::string(c.synopsis.size() < 20 ? 20 - c.synopsis.size() : 1, ' ') << c.summary
         << '\n';
  }
  return text.str();
}

}  // namespace orlan::cli
