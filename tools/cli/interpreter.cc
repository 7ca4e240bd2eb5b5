#include "tools/cli/interpreter.h"

#include <string>
#include <vector>

namespace orlan::cli {

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\v' || c == '\f'; }

// The words of a line up to a word that starts with "#".
std::vector<std::string_view> SplitWords(std::string_view line) {
  std::vector<std::string_view> words;
  std::size_t i = 0;
  while (i < line.size()) {
    while (i < line.size() && IsBlank(line[i])) ++i;
    if (i == line.size() || line[i] == '#') break;
    const std::size_t start = i;
    while (i < line.size() && !IsBlank(line[i])) ++i;
    words.push_back(line.substr(start, i - start));
  }
  return words;
}

}  // namespace

Outcome Interpreter::RunLine(std::string_view line, int line_number) {
  std::vector<std::string_view> words = SplitWords(line);
  if (words.empty()) return Outcome::kContinue;
  try {
    const Command* command = table_.Find(words[0]);
    if (command == nullptr) throw UsageError("unknown command: " + std::string(words[0]));
    words.erase(words.begin());
    const Action action = command->parse(Args(std::move(words)), session_);
    action(session_);
  } catch (const UsageError& e) {
    err_ << "line " << line_number << ": " << e.what() << '\n';
    return Outcome::kError;
  }
  return session_.quit ? Outcome::kQuit : Outcome::kContinue;
}

Outcome Interpreter::RunScript(std::istream& in) {
  std::string line;
  for (int number = 1; std::getline(in, line); ++number) {
    const Outcome outcome = RunLine(line, number);
    if (outcome != Outcome::kContinue) return outcome;
  }
  return Outcome::kContinue;
}

}  // namespace orlan::cli
