#include "tools/cli/command_table.h"

#include <string>

#include "tools/cli/number.h"

namespace orlan::cli {

void Args::ExpectCount(std::size_t min, std::size_t max) const {
  if (words_.size() < min) throw UsageError("missing argument");
  if (words_.size() > max) throw UsageError("too many arguments");
}

uint64_t Args::Number(std::size_t i, uint64_t max) const {
  const std::string text(words_.at(i));
  const auto value = ParseNumber(text);
  if (!value) throw UsageError("bad number: " + text);
  if (*value > max) throw UsageError("number out of range: " + text);
  return *value;
}

uint16_t Args::Address(std::size_t i, const SymbolTable& symbols) const {
  const std::string_view text = words_.at(i);
  if (symbols.empty() || ParseNumber(text)) return Word(i);
  const SymbolRead read = ReadSymbol(text, 8, symbols);
  if (read.kind == SymbolRead::kKnown && read.length == text.size()) return read.value;
  if (read.kind == SymbolRead::kUnknown) {
    throw UsageError("unknown symbol: " + std::string(text.substr(0, read.length)));
  }
  throw UsageError("bad number: " + std::string(text));
}

void CommandTable::Add(Command command) {
  if (Find(command.name) != nullptr) throw std::logic_error("command added twice: " + command.name);
  commands_.push_back(std::move(command));
}

const Command* CommandTable::Find(std::string_view name) const {
  for (const Command& c : commands_) {
    if (c.name == name) return &c;
  }
  return nullptr;
}

CommandTable StandardCommands() {
  CommandTable table;
  AddCoreCommands(table);
  AddDeviceCommands(table);
  AddTimeCommands(table);
  AddStateCommands(table);
  AddDebuggerCommands(table);
  AddWatchCommands(table);
  return table;
}

}  // namespace orlan::cli
