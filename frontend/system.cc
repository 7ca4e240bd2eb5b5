#include "frontend/system.h"

#include <algorithm>
#include <system_error>
#include <utility>
#include <vector>

#include "devices/host_file.h"
#include "devices/key_tables.h"
#include "frontend/rom_files.h"

namespace orlan {

std::string SkippedCharactersNotice(std::size_t count) {
  return "Skipped " + std::to_string(count) + (count == 1 ? " character" : " characters") +
         " of the pasted text that no key of the machine types.";
}

System::System()
    : board_(InstallDevices(machine_)),
      keys_([this](const KeyChange& change) { return ApplyKeyChange(change); }) {}

System::~System() = default;

namespace {

// Messages name full paths, so a user started from the wrong folder sees where the
// files were looked for.
std::filesystem::path FullPath(const std::filesystem::path& path) {
  std::error_code ec;
  std::filesystem::path full = std::filesystem::absolute(path, ec);
  return ec ? path : full;
}

}  // namespace

PowerOnResult System::PowerOn(const PowerOnOptions& options, MessageSink& sink) {
  folder_ = FullPath(options.folder);
  power_on_result_ = LoadMachineFiles(options, sink);
  return power_on_result_;
}

bool System::NeedsLock(const PowerOnOptions& options) const {
  if (options.use == FolderUse::kMachine) return true;
  // Only the cartridges can be damaged by two writers; the monitor without a machine
  // folder claims its --dir only when it opens one there.
  return std::ranges::any_of(kCartridgeFileNames, [this](std::string_view name) {
    return HostFileKind(folder_ / name) != FileKind::kMissing;
  });
}

PowerOnResult System::LoadMachineFiles(const PowerOnOptions& options, MessageSink& sink) {
  if (NeedsLock(options)) {
    if (IoResult locked = lock_.Acquire(folder_); !locked) {
      sink.Warning(locked.error);
      return PowerOnResult::kFolderInUse;
    }
  }
  owns_folder_ = true;

  const bool whole_folder = options.use == FolderUse::kMachine;
  const std::filesystem::path ini = folder_ / kSettingsFileName;
  if (whole_folder && HostFileKind(ini) == FileKind::kOther) {
    sink.Warning(NotRegularFile(ini).error);  // and the defaults
  } else if (whole_folder) {
    settings_ = ReadSettingsFile(ini);
  }
  machine_.run.set_steps_per_tick(settings_.cpu_speed);
  machine_.SetRamSize(RamSizeFromSetting(options.ram_size.value_or(settings_.ram_size)));

  std::ranges::fill(machine_.rom(), 0377);
  struct Source {
    const RomImage& image;
    const std::optional<std::filesystem::path>& named;
    bool reported_missing;  // "rom.bin" is; "romt.bin" is optional
  };
  for (const Source& s :
       {Source{kExtraRomImage, options.romt, false}, Source{kMainRomImage, options.rom, true}}) {
    if (!s.named && !whole_folder) continue;
    const std::filesystem::path path = s.named ? FullPath(*s.named) : folder_ / s.image.file_name;
    if (!s.named && HostFileKind(path) == FileKind::kMissing) {
      if (s.reported_missing) sink.Warning(LoadFailedMessage(PathText(path)));
      continue;
    }
    if (IoResult loaded = LoadRomImage(machine_, s.image, path); !loaded) {
      sink.Warning(loaded.error);
      return PowerOnResult::kFileError;
    }
  }

  board_.lcd.LcdInit();
  if (IoResult opened = board_.channel.ChannelInit(folder_); !opened) {
    sink.Warning(opened.error);
    return PowerOnResult::kFileError;
  }
  board_.rtc.RtcInit(options.now);
  return PowerOnResult::kStarted;
}

void System::Start(const FrontEndSteps& steps) {
  keys_.Clear();
  board_.keyboard.set_mouse_key(0);
  board_.keyboard.set_host_key(0);
  machine_.run.Free();
  if (steps.load_pictures) steps.load_pictures();
  board_.lcd.InvalidateLcd();
  machine_.CpuReset();
  if (steps.start_timers) steps.start_timers();
  board_.lcd.set_changed(true);
}

bool System::Close(const FrontEndSteps& steps, MessageSink& sink) {
  if (closed_) return true;
  closed_ = true;
  machine_.run.Stop();
  if (steps.stop_timers) steps.stop_timers();
  const bool ok = CloseMachineFiles(sink);
  if (steps.release_pictures) steps.release_pictures();
  OfferRomSave(steps, sink);
  return ok;
}

bool System::CloseMachineFiles(MessageSink& sink) {
  bool ok = true;
  if (IoResult closed = board_.channel.ChannelClose(); !closed) {
    sink.Warning(closed.error);
    ok = false;
  }
  if (!owns_folder_) return ok;
  if (IoResult saved = board_.rtc.RtcSave(folder_); !saved) {
    sink.Warning(saved.error);
    ok = false;
  }
  lock_.Release();
  return ok;
}

void System::OfferRomSave(const FrontEndSteps& steps, MessageSink& sink) {
  if (settings_.save_rom == 0 || !machine_.run.rom_modified() || !steps.choose_rom_target) {
    return;
  }
  const std::optional<std::filesystem::path> target = steps.choose_rom_target();
  if (target && !SaveRomImage(machine_, *target).ok()) sink.Warning(kSaveFailedText);
}

bool System::Tick(TickKind kind) {
  switch (kind) {
    case TickKind::kRun: {
      // Only a tick in which the processor runs counts for the keys: not one while
      // the run is stopped or waits to resume.
      const bool runs = !machine_.run.run_stopped() && machine_.run.resume_delay() <= 0;
      machine_.RunSlice();
      ++ticks_.run;
      if (runs) KeysRanTick();
      return false;
    }
    case TickKind::kClock:
      board_.rtc.RtcPeriodicTick();
      ++ticks_.rtc;
      return false;
    case TickKind::kRefresh:
      ++ticks_.refresh;
      return RefreshDisplay();
    case TickKind::kSecond:
      board_.rtc.RtcSecondTick();
      ++ticks_.second;
      return false;
  }
  return false;
}

void System::RunFor(uint64_t ms) {
  time_.Advance(ms, [this](TickKind kind) { Tick(kind); });
}

bool System::RefreshDisplay() {
  board_.lcd.DrawLcd();
  return TakeDisplayChanged();
}

bool System::TakeDisplayChanged() {
  const bool changed = board_.lcd.changed();
  board_.lcd.set_changed(false);
  return changed;
}

bool System::ApplyKeyChange(const KeyChange& change) {
  Keyboard& keyboard = board_.keyboard;
  if (change.source == KeySource::kMouse) {
    keyboard.set_mouse_key(change.key_index);
    // The window's buttons are no machine keys: the machine never sees them.
    if (change.key_index < kFirstMachineKey) return false;
  } else {
    keyboard.set_host_key(change.key_index);
    if (change.key_index == 0) return false;
  }
  keyboard.RaiseKeyInterrupt();
  return !machine_.run.run_stopped();
}

bool System::HostKeyDown(int virtual_key) {
  if (virtual_key == kVirtualKeyEscape) CancelPaste();
  const int key_index = KeyIndexForVirtualKey(virtual_key);
  if (key_index == 0) return false;
  keys_.Submit(KeyChange{KeySource::kHost, key_index});
  return true;
}

bool System::HostCharacter(char32_t ch) {
  const int key_index = KeyIndexForCharacter(ch);
  if (key_index == 0) return false;
  keys_.Submit(KeyChange{KeySource::kHost, key_index});
  return true;
}

void System::HostKeyUp() { keys_.Submit(KeyChange{KeySource::kHost, 0}); }

void System::SetMouseKey(int key_index) { keys_.Submit(KeyChange{KeySource::kMouse, key_index}); }

void System::PressKey(int key_index) {
  keys_.ForgetHost();
  board_.keyboard.PressHostKey(key_index);
}

PasteResult System::Paste(std::u32string_view text) {
  PasteResult result;
  std::vector<uint8_t> keys;
  keys.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    int key_index = 0;
    if (text[i] == U'\r' || text[i] == U'\n') {
      key_index = kEnterKey;
      if (text[i] == U'\r' && i + 1 < text.size() && text[i + 1] == U'\n') ++i;
    } else {
      key_index = KeyIndexForTypedCharacter(text[i]);
    }
    if (key_index == 0) {
      ++result.skipped;
    } else {
      keys.push_back(static_cast<uint8_t>(key_index));
    }
  }
  result.keys = keys.size();
  paste_skipped_ += result.skipped;
  keys_.Type(keys);
  // A text with no key at all is done at once.
  if (!keys_.typing()) FinishPaste();
  return result;
}

bool System::CancelPaste() {
  paste_skipped_ = 0;
  return keys_.CancelTyping();
}

void System::KeysRanTick() {
  const bool was_typing = keys_.typing();
  keys_.RunTickDone();
  if (was_typing && !keys_.typing()) FinishPaste();
}

void System::FinishPaste() {
  if (paste_skipped_ > 0) paste_notice_ = SkippedCharactersNotice(paste_skipped_);
  paste_skipped_ = 0;
}

std::optional<std::string> System::TakePasteNotice() { return std::exchange(paste_notice_, {}); }

void System::ResetButton() { machine_.CpuReset(); }

std::optional<std::string> System::TakeDeviceError() { return board_.cartridges.TakeError(); }

}  // namespace orlan
