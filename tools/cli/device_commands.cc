// Device commands: keys, clock ticks, the display and the close of the machine files.
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "devices/atomic_file.h"
#include "devices/key_tables.h"
#include "frontend/lcd_image.h"
#include "frontend/message_sink.h"
#include "tools/cli/command_table.h"

namespace orlan::cli {

namespace {

constexpr char kRomNotSavedText[] =
    "The ROM was changed in the debugger but is not saved: the monitor asks for no file";

Action ParseKey(const Args& args, const Session&) {
  args.ExpectCount(1, 1);
  // As a host key-up: releases the host key whichever it was.
  if (args[0] == "up") return [](Session& s) { s.system.HostKeyUp(); };
  const auto index = static_cast<int>(args.Number(0, kKeyIndexCount - 1));
  if (index < kFirstMachineKey) throw UsageError("not a machine key: " + std::string(args[0]));
  return [index](Session& s) { s.system.PressKey(index); };
}

Action ParseRtc(const Args& args, const Session&) {
  args.ExpectCount(1, 1);
  if (args[0] == "second") return [](Session& s) { s.system.Tick(TickKind::kSecond); };
  if (args[0] == "periodic") return [](Session& s) { s.system.Tick(TickKind::kClock); };
  throw UsageError("unknown clock tick: " + std::string(args[0]));
}

// The display as a refresh leaves it: the picture shows exactly the dots of display
// memory.
const Lcd& RefreshedLcd(Session& s) {
  s.system.RefreshDisplay();
  return s.system.board().lcd;
}

Action ParseLcd(const Args& args, const Session&) {
  args.ExpectCount(0, 3);
  if (args.size() == 0) {
    return [](Session& s) { s.out << RefreshedLcd(s).DotsText('#', '.'); };
  }
  if (args[0] != "png") throw UsageError("unknown display output: " + std::string(args[0]));
  if (args.size() < 2) throw UsageError("missing argument");
  const std::string path(args[1]);
  // The default is the window's own picture size.
  const int scale = args.size() > 2 ? static_cast<int>(args.Number(2, 32)) : kLcdScale;
  if (scale == 0) throw UsageError("number out of range: " + std::string(args[2]));
  return [path, scale](Session& s) {
    const std::vector<uint8_t> png = EncodeLcdPng(RefreshedLcd(s), scale);
    if (IoResult written = WriteFileAtomically(path, png); !written) {
      throw UsageError(written.error);
    }
  };
}

Action ParseClose(const Args& args, const Session& session) {
  args.ExpectCount(0, 0);
  if (session.system.closed()) throw UsageError("the machine is closed");
  return [](Session& s) {
    // As the window closes: the run stops and the timers with it, for good.
    FrontEndSteps steps;
    // The window would now offer to save the changed ROM, also after a file error;
    // here nobody can answer, so the offer is declined aloud rather than the change
    // lost without a word.
    steps.choose_rom_target = [&s]() -> std::optional<std::filesystem::path> {
      if (s.messages != nullptr) s.messages->Warning(kRomNotSavedText);
      return std::nullopt;
    };
    CapturingMessageSink sink;
    const bool closed = s.system.Close(steps, sink);
    if (!closed) {
      std::string errors;
      for (const std::string& message : sink.messages) {
        errors += (errors.empty() ? "" : "; ") + message;
      }
      throw UsageError(errors);
    }
  };
}

}  // namespace

void AddDeviceCommands(CommandTable& table) {
  table.Add({"key", "key INDEX|up", "hold a machine key (3-77) and raise its interrupt; release",
             ParseKey});
  table.Add({"rtc", "rtc second|periodic", "give the clock one tick of that kind", ParseRtc});
  table.Add({"lcd", "lcd [png FILE [N]]",
             "print the display (# dark, . light), or write it as a PNG image with each dot "
             "N by N pixels (default 3)",
             ParseLcd});
  table.Add({"close", "close", "close the cartridge files and write the clock file", ParseClose});
}

}  // namespace orlan::cli
