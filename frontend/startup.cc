#include "frontend/startup.h"

#include "core/machine.h"
#include "frontend/io_error.h"
#include "frontend/rom_files.h"

namespace orlan {

StartupResult StartMachine(Machine& machine, Board& board, const std::filesystem::path& dir,
                           const LocalTime& now, MessageSink& sink) {
  StartupResult result;
  result.settings = LoadSettings(SettingsFileReader(dir));
  machine.run.set_steps_per_tick(result.settings.cpu_speed);
  machine.SetRamSize(RamSizeFromSetting(result.settings.ram_size));
  try {
    LoadRom(machine, dir, sink);
  } catch (const IoError& e) {
    sink.Warning(e.what());
    result.ok = false;
    return result;
  }
  board.lcd.LcdInit();
  if (IoResult opened = board.channel.ChannelInit(dir); !opened) {
    sink.Warning(opened.error);
    result.ok = false;
    return result;
  }
  board.rtc.RtcInit(now);
  return result;
}

void ResetRunState(Machine& machine, Board& board) {
  board.keyboard.set_mouse_key(0);
  board.keyboard.set_host_key(0);
  machine.run.Free();
}

void ResetForRun(Machine& machine, Board& board) {
  board.lcd.InvalidateLcd();
  machine.CpuReset();
}

bool CloseMachineFiles(Board& board, const std::filesystem::path& dir, MessageSink& sink) {
  bool ok = true;
  if (IoResult closed = board.channel.ChannelClose(); !closed) {
    sink.Warning(closed.error);
    ok = false;
  }
  if (IoResult saved = board.rtc.RtcSave(dir); !saved) {
    sink.Warning(saved.error);
    ok = false;
  }
  return ok;
}

bool RomSaveOffered(const Settings& settings, const Machine& machine) {
  return settings.save_rom != 0 && machine.run.rom_modified();
}

bool OfferRomSave(const Machine& machine, const Settings& settings,
                  const std::function<std::optional<std::filesystem::path>()>& choose_target,
                  MessageSink& sink) {
  if (!RomSaveOffered(settings, machine)) return false;
  const auto target = choose_target();
  if (!target) return false;
  if (SaveRomImage(machine, *target)) return true;
  sink.Warning(kSaveFailedText);
  return false;
}

void ReportDeviceErrors(Board& board, MessageSink& sink) {
  if (auto error = board.cartridges.TakeError()) sink.Warning(*error);
}

}  // namespace orlan
