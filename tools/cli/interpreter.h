// Runs monitor scripts: one command per line, "#" to the end of the line a comment.
#ifndef ORLAN_TOOLS_CLI_INTERPRETER_H_
#define ORLAN_TOOLS_CLI_INTERPRETER_H_

#include <istream>
#include <ostream>
#include <string_view>

#include "tools/cli/command_table.h"
#include "tools/cli/session.h"

namespace orlan::cli {

inline constexpr int kExitOk = 0;
inline constexpr int kExitUsage = 2;  // a bad command line, option or file

enum class Outcome { kContinue, kQuit, kError };

class Interpreter {
 public:
  Interpreter(const CommandTable& table, Session& session, std::ostream& err)
      : table_(table), session_(session), err_(err) {}

  // Runs one line; on a bad line prints "line N: message" to the error stream and
  // leaves the machine untouched.
  Outcome RunLine(std::string_view line, int line_number);
  // Runs the lines of a script until its end, "quit" or the first bad line.
  Outcome RunScript(std::istream& in);

 private:
  const CommandTable& table_;
  Session& session_;
  std::ostream& err_;
};

}  // namespace orlan::cli

#endif  // ORLAN_TOOLS_CLI_INTERPRETER_H_
