#include "tools/cli/interpreter.h"

#include <optional>
#include <string>
#include <vector>

namespace orlan::cli {

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\v' || c == '\f'; }

// Splits off the words of a line up to a word that starts with "#", at most
// `limit` of them; `line` keeps what follows the last word taken, without the blanks
// before it.
std::vector<std::string_view> SplitWords(std::string_view& line, std::size_t limit) {
  std::vector<std::string_view> words;
  std::size_t i = 0;
  while (words.size() < limit) {
    while (i < line.size() && IsBlank(line[i])) ++i;
    if (i == line.size() || line[i] == '#') {
      i = line.size();
      break;
    }
    const std::size_t start = i;
    while (i < line.size() && !IsBlank(line[i])) ++i;
    words.push_back(line.substr(start, i - start));
  }
  while (i < line.size() && IsBlank(line[i])) ++i;
  line.remove_prefix(i);
  return words;
}

}  // namespace

Outcome Interpreter::RunLine(std::string_view line, int line_number) {
  while (!line.empty() && (line.back() == '\r' || line.back() == '\n')) line.remove_suffix(1);
  const std::vector<std::string_view> name = SplitWords(line, 1);
  if (name.empty()) return Outcome::kContinue;
  try {
    const Command* command = table_.Find(name[0]);
    if (command == nullptr) throw UsageError("unknown command: " + std::string(name[0]));
    const std::size_t limit =
        command->text_after < 0 ? line.size() : static_cast<std::size_t>(command->text_after);
    std::vector<std::string_view> words = SplitWords(line, limit);
    if (command->text_after < 0) line = {};
    const Action action = command->parse(Args(std::move(words), line), session_);
    action(session_);
    // A cartridge file that failed while the machine ran would otherwise lose data
    // without a word.
    if (std::optional<std::string> error = session_.system.TakeDeviceError()) {
      throw UsageError(*error);
    }
    // Stop at the first output that cannot be written rather than run on unseen.
    if (!session_.out.flush()) throw UsageError("cannot write the output");
  } catch (const AssemblyError& e) {
    err_ << e.what() << '\n';
    return Outcome::kError;
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
