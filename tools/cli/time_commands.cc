// Commands that let emulated time pass: the window's timers and typing on its keyboard.
#include <string>
#include <vector>

#include "core/digits.h"
#include "devices/key_tables.h"
#include "tools/cli/command_table.h"

namespace orlan::cli {

namespace {

// A typed character's key is held this long, then released for as long.
constexpr uint64_t kKeyHoldMs = 50;
constexpr uint64_t kKeyGapMs = 50;
constexpr int kSpaceKey = 60;

// Closing stops the timers for good, and the cartridge files are closed.
void ExpectOpen(const Session& session) {
  if (session.system.closed()) throw UsageError("the machine is closed");
}

Action ParseRun(const Args& args, const Session& session) {
  args.ExpectCount(1, 1);
  ExpectOpen(session);
  const uint64_t ms = args.Number(0, 0xFFFFFFFF);
  return [ms](Session& s) { s.system.RunFor(ms); };
}

// The machine key of a typed character: a blank is the Space key, anything else goes
// through the keyboard's character table (letters in either case); 0 for none.
int KeyForCharacter(char c) {
  if (c == ' ') return kSpaceKey;
  const auto byte = static_cast<unsigned char>(c);
  return byte < 0200 ? KeyIndexForCharacter(byte) : 0;
}

Action ParseType(const Args& args, const Session& session) {
  args.ExpectCount(0, 0);
  ExpectOpen(session);
  const std::string_view text = args.text();
  if (text.empty()) throw UsageError("missing argument");
  std::vector<int> keys;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const int key = KeyForCharacter(text[i]);
    if (key == 0) {
      throw UsageError("no key for character " + std::to_string(i + 1) +
                       " of the text: " + Octal6(static_cast<unsigned char>(text[i])));
    }
    keys.push_back(key);
  }
  return [keys](Session& s) {
    for (const int key : keys) {
      s.system.PressKey(key);
      s.system.RunFor(kKeyHoldMs);
      s.system.HostKeyUp();
      s.system.RunFor(kKeyGapMs);
    }
  };
}

}  // namespace

void AddTimeCommands(CommandTable& table) {
  table.Add(
      {"run", "run MS", "let MS milliseconds of emulated time pass, timers and all", ParseRun});
  table.Add({"type", "type TEXT",
             "type TEXT (rest of the line): each key held 50 ms, then 50 ms up", ParseType, 0});
}

}  // namespace orlan::cli
