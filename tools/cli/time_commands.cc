// Commands that let emulated time pass: the window's timers and typing on its keyboard.
#include <string>
#include <vector>

#include "core/digits.h"
#include "devices/key_tables.h"
#include "tools/cli/command_table.h"
#include "tools/cli/watched_run.h"

namespace orlan::cli {

namespace {

// A typed character's key is held this long, then released for as long.
constexpr uint64_t kKeyHoldMs = 50;
constexpr uint64_t kKeyGapMs = 50;

// Closing stops the timers for good, and the cartridge files are closed.
void ExpectOpen(const Session& session) {
  if (session.system.closed()) throw UsageError("the machine is closed");
}

Action ParseRun(const Args& args, const Session& session) {
  args.ExpectCount(1, 1);
  ExpectOpen(session);
  const uint64_t ms = args.Number(0, 0xFFFFFFFF);
  return [ms](Session& s) { RunWatched(s, ms); };
}

// The machine key of an escape: \n and \r Enter, \b Backspace, \\ the backslash key;
// 0 for none.
int KeyForEscape(char c) {
  switch (c) {
    case 'n':
    case 'r':
      return kEnterKey;
    case 'b':
      return kBackspaceKey;
    case '\\':
      return KeyIndexForCharacter(U'\\');
    default:
      return 0;
  }
}

Action ParseType(const Args& args, const Session& session) {
  args.ExpectCount(0, 0);
  ExpectOpen(session);
  const std::string_view text = args.text();
  if (text.empty()) throw UsageError("missing argument");
  std::vector<int> keys;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const auto at = [i] { return " at character " + std::to_string(i + 1) + " of the text"; };
    if (text[i] == '\\') {
      if (i + 1 == text.size()) throw UsageError("backslash without an escape" + at());
      const int key = KeyForEscape(text[++i]);
      if (key == 0) {
        throw UsageError("unknown escape \\" + std::string(1, text[i]) + at() +
                         " (\\n, \\r, \\b, \\\\)");
      }
      keys.push_back(key);
      continue;
    }
    // A blank is the Space key; letters in either case.
    const int key = KeyIndexForTypedCharacter(static_cast<unsigned char>(text[i]));
    if (key == 0) {
      throw UsageError("no key for character " + std::to_string(i + 1) +
                       " of the text: " + Octal6(static_cast<unsigned char>(text[i])));
    }
    keys.push_back(key);
  }
  return [keys](Session& s) {
    // A stop of the watch ends the typing there: the machine is the debugger's.
    for (const int key : keys) {
      s.system.PressKey(key);
      const bool stopped = RunWatched(s, kKeyHoldMs);
      s.system.HostKeyUp();
      if (stopped || RunWatched(s, kKeyGapMs)) return;
    }
  };
}

}  // namespace

void AddTimeCommands(CommandTable& table) {
  table.Add(
      {"run", "run MS", "let MS milliseconds of emulated time pass, timers and all", ParseRun});
  table.Add({"type", "type TEXT",
             "type TEXT (rest of the line): each key held 50 ms, then 50 ms up; \\n or \\r "
             "Enter, \\b Backspace, \\\\ a backslash",
             ParseType, 0});
}

}  // namespace orlan::cli
