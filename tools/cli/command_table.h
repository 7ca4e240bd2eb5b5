// The monitor's commands: each command group registers its commands into one table.
//
// A command runs in two phases so that a bad line changes nothing: its parser checks
// every argument (and reads any file it needs) and either throws UsageError or
// returns the action, which then fails only on a host file error (UsageError too).
#ifndef ORLAN_TOOLS_CLI_COMMAND_TABLE_H_
#define ORLAN_TOOLS_CLI_COMMAND_TABLE_H_

#include <cstddef>
#include <cstdint>
#include <functional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "debugger/symbol_table.h"
#include "tools/cli/session.h"
#include "tools/common/printable_text.h"

namespace orlan::cli {

// Messages quote words of the line, which may hold any byte: control bytes are kept
// escaped, so that a NUL cannot cut the message short nor a CR overwrite it.
class UsageError : public std::runtime_error {
 public:
  explicit UsageError(std::string_view message) : std::runtime_error(PrintableText(message)) {}
};

// An instruction that does not assemble: reported as `error at N` alone, N the 1-based
// position where the assembler stopped, the form scripts that patch code look for; a
// reason that the position does not tell (an unknown symbol) follows it.
class AssemblyError : public UsageError {
 public:
  explicit AssemblyError(int position, const std::string& reason = "")
      : UsageError("error at " + std::to_string(position) + (reason.empty() ? "" : ": " + reason)) {
  }
};

// The words of a command line after the command's name.
class Args {
 public:
  explicit Args(std::vector<std::string_view> words, std::string_view text = {})
      : words_(std::move(words)), text_(text) {}

  std::size_t size() const { return words_.size(); }
  std::string_view operator[](std::size_t i) const { return words_[i]; }

  // Throws unless the line has from `min` to `max` arguments.
  void ExpectCount(std::size_t min, std::size_t max) const;
  // Argument `i` as a number from 0 to `max`.
  uint64_t Number(std::size_t i, uint64_t max) const;
  uint16_t Word(std::size_t i) const { return static_cast<uint16_t>(Number(i, 0177777)); }
  // Argument `i` as an address: a word, or with symbols a name with an optional +N or
  // -N (N octal). A name that the table lacks is "unknown symbol: NAME".
  uint16_t Address(std::size_t i, const SymbolTable& symbols) const;
  // The verbatim rest of the line of a command that takes one (Command::text_after).
  std::string_view text() const { return text_; }

 private:
  std::vector<std::string_view> words_;
  std::string_view text_;
};

using Action = std::function<void(Session&)>;
using CommandParser = std::function<Action(const Args&, const Session&)>;

struct Command {
  std::string name;
  std::string synopsis;  // the name with its arguments, for the help text
  std::string summary;
  CommandParser parse;
  // When not negative: after this many arguments the rest of the line is one text,
  // taken as it stands ("#" included), for commands whose text has its own syntax.
  int text_after = -1;
};

class CommandTable {
 public:
  // Names are unique; adding one twice is a programming error and throws.
  void Add(Command command);
  const Command* Find(std::string_view name) const;
  const std::vector<Command>& commands() const { return commands_; }

 private:
  std::vector<Command> commands_;
};

// The command groups; each lives in its own source file.
void AddCoreCommands(CommandTable& table);
void AddDebuggerCommands(CommandTable& table);
void AddDeviceCommands(CommandTable& table);
void AddStateCommands(CommandTable& table);
void AddTimeCommands(CommandTable& table);
void AddWatchCommands(CommandTable& table);

// Every command the monitor offers.
CommandTable StandardCommands();

}  // namespace orlan::cli

#endif  // ORLAN_TOOLS_CLI_COMMAND_TABLE_H_
