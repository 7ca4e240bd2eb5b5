// Saved-state commands: the whole machine into a file and back.
#include <string>

#include "tools/cli/command_table.h"

namespace orlan::cli {

namespace {

Action ParseState(const Args& args, const Session& session) {
  args.ExpectCount(2, 2);
  const std::string path(args[1]);
  if (args[0] == "save") {
    return [path](Session& s) {
      if (IoResult saved = s.system.SaveStateFile(path); !saved) throw UsageError(saved.error);
    };
  }
  if (args[0] != "load") throw UsageError("unknown state command: " + std::string(args[0]));
  // The cartridge files are closed for good.
  if (session.system.closed()) throw UsageError("the machine is closed");
  return [path](Session& s) {
    const StateLoadResult loaded = s.system.LoadStateFile(path);
    if (!loaded.ok()) throw UsageError(loaded.error);
    for (const std::string& warning : loaded.warnings) {
      if (s.messages != nullptr) {
        s.messages->Warning(warning);
      } else {
        s.out << "warning: " << warning << '\n';
      }
    }
  };
}

}  // namespace

void AddStateCommands(CommandTable& table) {
  table.Add({"state", "state save|load FILE",
             "save the whole machine into FILE, or load it from there (the cartridge files "
             "stay as they are)",
             ParseState});
}

}  // namespace orlan::cli
