// Device commands: keys, clock ticks, the display and the close of the machine files.
#include <string>

#include "devices/board.h"
#include "devices/key_tables.h"
#include "frontend/message_sink.h"
#include "frontend/startup.h"
#include "tools/cli/command_table.h"

namespace orlan::cli {

namespace {

Board& Devices(const Session& session) {
  if (session.board == nullptr) throw UsageError("no devices attached");
  return *session.board;
}

Action ParseKey(const Args& args, const Session& session) {
  args.ExpectCount(1, 1);
  Devices(session);
  // As a host key-up: releases the host key whichever it was.
  if (args[0] == "up") return [](Session& s) { s.board->keyboard.HostKeyUp(); };
  const auto index = static_cast<int>(args.Number(0, kKeyIndexCount - 1));
  if (index < kFirstMachineKey) throw UsageError("not a machine key: " + std::string(args[0]));
  return [index](Session& s) { s.board->keyboard.PressHostKey(index); };
}

Action ParseRtc(const Args& args, const Session& session) {
  args.ExpectCount(1, 1);
  Devices(session);
  if (args[0] == "second") return [](Session& s) { s.board->rtc.RtcSecondTick(); };
  if (args[0] == "periodic") return [](Session& s) { s.board->rtc.RtcPeriodicTick(); };
  throw UsageError("unknown clock tick: " + std::string(args[0]));
}

Action ParseLcd(const Args& args, const Session& session) {
  args.ExpectCount(0, 0);
  Devices(session);
  return [](Session& s) {
    // What a refresh tick puts on the screen: the picture after DrawLcd.
    Lcd& lcd = s.board->lcd;
    lcd.DrawLcd();
    lcd.set_changed(false);
    std::string row(kLcdWidth, '.');
    for (int y = 0; y < kLcdHeight; ++y) {
      for (int x = 0; x < kLcdWidth; ++x) {
        row[x] = lcd.Pixel(x * kLcdScale, y * kLcdScale) == kLcdDark ? '#' : '.';
      }
      s.out << row << '\n';
    }
  };
}

Action ParseClose(const Args& args, const Session& session) {
  args.ExpectCount(0, 0);
  Devices(session);
  return [](Session& s) {
    CapturingMessageSink sink;
    if (!CloseMachineFiles(*s.board, s.dir, sink)) throw UsageError(sink.messages.front());
  };
}

}  // namespace

void AddDeviceCommands(CommandTable& table) {
  table.Add({"key", "key INDEX|up", "hold a machine key (3-77) and raise its interrupt; release",
             ParseKey});
  table.Add({"rtc", "rtc second|periodic", "give the clock one tick of that kind", ParseRtc});
  table.Add({"lcd", "lcd", "refresh and print the display (# dark, . light)", ParseLcd});
  table.Add({"close", "close", "close the cartridge files and write the clock file", ParseClose});
}

}  // namespace orlan::cli
