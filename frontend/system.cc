#include "frontend/system.h"

#include <algorithm>
#include <chrono>
#include <system_error>
#include <utility>
#include <vector>

#include "devices/host_file.h"
#include "devices/key_tables.h"
#include "frontend/journal.h"
#include "frontend/rom_files.h"
#include "frontend/state_file.h"

namespace orlan {
namespace {

// A timed run tick looks at the host clock after every chunk of this many steps.
constexpr int32_t kChunkSteps = 4096;

// A journaled key index: any value outside 0-63 acts as one outside, and fits a byte.
uint32_t JournalKey(int key_index) { return static_cast<uint32_t>(std::clamp(key_index, 0, 255)); }

}  // namespace

HostClock SteadyHostClock() {
  return [] {
    return std::chrono::duration_cast<std::chrono::microseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
  };
}

std::string SkippedCharactersNotice(std::size_t count) {
  return "Skipped " + std::to_string(count) + (count == 1 ? " character" : " characters") +
         " of the pasted text that no key of the machine types.";
}

System::System()
    : board_(InstallDevices(machine_)),
      keys_([this](const KeyChange& change) { return ApplyKeyChange(change); }),
      rom_fingerprint_(RomFingerprint(machine_)) {}

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
  power_on_time_ = options.now;
  power_on_result_ = LoadMachineFiles(options, sink);
  rom_fingerprint_ = RomFingerprint(machine_);
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
  Journal(JournalRecord::kStart);
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
  // What the debug window changed since it showed, then the end.
  if (debugger_open_) DebuggerReleased();
  EndRecording(JournalEnd::kClosed);
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
  return TickWith(kind, host_clock_ ? RunMode::kTimed : RunMode::kUntimed);
}

bool System::TickWith(TickKind kind, RunMode mode) {
  bool changed = false;
  switch (kind) {
    case TickKind::kRun:
      RunTick(mode);
      break;
    case TickKind::kClock:
      board_.rtc.RtcPeriodicTick();
      ++ticks_.rtc;
      Journal(JournalRecord::kClockTick);
      break;
    case TickKind::kRefresh:
      ++ticks_.refresh;
      changed = RefreshDisplay();
      Journal(JournalRecord::kRefreshTick);
      break;
    case TickKind::kSecond:
      board_.rtc.RtcSecondTick();
      ++ticks_.second;
      Journal(JournalRecord::kSecondTick);
      break;
  }
  return changed;
}

void System::RunTick(RunMode mode, uint32_t recorded_steps) {
  ++ticks_.run;
  RunControl& run = machine_.run;
  const int32_t budget = run.steps_per_tick();
  // Only a tick in which the processor runs counts for the keys: not one while the
  // run is stopped, paused or waits to resume.
  const bool runs = !run.paused() && !run.run_stopped() && run.resume_delay() <= 0;
  RunResult result{0, true};  // no step: replays from the budget alone
  in_run_tick_ = true;
  // While paused not even the resume delay counts down.
  if (!run.paused() && !run.SkipDelayedTick()) {
    switch (mode) {
      case RunMode::kUntimed:
        result = machine_.RunSteps(budget);
        break;
      case RunMode::kTimed:
        result = TimedRun(budget);
        break;
      case RunMode::kRecorded:
        result =
            machine_.RunSteps(static_cast<int32_t>(std::min<uint32_t>(recorded_steps, INT32_MAX)));
        break;
    }
  }
  in_run_tick_ = false;
  last_run_steps_ = result.steps;
  if (runs) KeysRanTick();
  // A tick of the budget, or stopped within it, replays from the budget alone; one cut
  // by host time or fast-forwarded needs its count.
  if (result.steps == std::max(budget, 0) || (result.stopped && result.steps < budget)) {
    Journal(JournalRecord::kRunTick);
  } else {
    Journal(JournalRecord::kRunTickSteps, static_cast<uint32_t>(result.steps));
  }
  if (opened_in_run_tick_) {
    opened_in_run_tick_ = false;
    Journal(JournalRecord::kDebuggerOpened);
  }
  // A cartridge that failed answered what the host made it answer: a replay would not.
  if (board_.cartridges.faults() != cartridge_faults_) {
    cartridge_faults_ = board_.cartridges.faults();
    EndRecording(JournalEnd::kCartridgeError);
  }
}

RunResult System::TimedRun(int32_t budget) {
  if (budget <= 0) return {0, false};
  const int64_t start = host_clock_();
  int64_t tally = 0;
  for (;;) {
    const int64_t want =
        fast_forward_ ? kChunkSteps : std::min<int64_t>(kChunkSteps, budget - tally);
    if (want <= 0) break;
    const RunResult chunk = machine_.RunSteps(static_cast<int32_t>(want));
    tally += chunk.steps;
    if (chunk.stopped) return {static_cast<int32_t>(tally), true};
    const int64_t elapsed = host_clock_() - start;
    if (elapsed >= kRunTickLimitUs) break;
    if (fast_forward_ && elapsed >= kFastForwardUs && tally >= budget) break;
  }
  return {static_cast<int32_t>(tally), false};
}

void System::RunTickOf(uint32_t steps) { RunTick(RunMode::kRecorded, steps); }

void System::RunFor(uint64_t ms) {
  time_.Advance(ms, [this](TickKind kind) { TickWith(kind, RunMode::kUntimed); });
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
  // Nor does it take a press while stopped or paused.
  return !machine_.run.requests_held();
}

// The key entries are journaled as they come, before the pacer: it does the same with
// them in a replay.
bool System::HostKeyDown(int virtual_key) {
  if (virtual_key < 0 || virtual_key > 0xFFFF) return false;  // no such key
  Journal(JournalRecord::kHostKeyDown, static_cast<uint32_t>(virtual_key));
  if (virtual_key == kVirtualKeyEscape) StopPaste();
  const int key_index = KeyIndexForVirtualKey(virtual_key);
  if (key_index == 0) return false;
  keys_.Submit(KeyChange{KeySource::kHost, key_index});
  return true;
}

bool System::HostCharacter(char32_t ch) {
  const int key_index = KeyIndexForCharacter(ch);
  if (key_index == 0) return false;
  Journal(JournalRecord::kHostCharacter, ch);
  keys_.Submit(KeyChange{KeySource::kHost, key_index});
  return true;
}

void System::HostKeyUp() {
  Journal(JournalRecord::kHostKeyUp);
  keys_.Submit(KeyChange{KeySource::kHost, 0});
}

void System::SetMouseKey(int key_index) {
  Journal(JournalRecord::kMouseKey, JournalKey(key_index));
  keys_.Submit(KeyChange{KeySource::kMouse, static_cast<int>(JournalKey(key_index))});
}

void System::PressKey(int key_index) {
  Journal(JournalRecord::kPressKey, JournalKey(key_index));
  keys_.ForgetHost();
  board_.keyboard.PressHostKey(key_index);
}

PasteResult System::Paste(std::u32string_view text) {
  if (journal_) {
    std::vector<uint8_t> bytes;
    for (const char32_t ch : text) {
      for (int i = 0; i < 4; ++i) bytes.push_back(static_cast<uint8_t>(ch >> (8 * i)));
    }
    journal_->RecordBytes(JournalRecord::kPaste, bytes);
  }
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
  Journal(JournalRecord::kCancelPaste);
  return StopPaste();
}

bool System::StopPaste() {
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

void System::ResetButton() {
  Journal(JournalRecord::kResetButton);
  machine_.CpuReset();
}

void System::SetPaused(bool paused) {
  if (paused == machine_.run.paused()) return;
  machine_.run.set_paused(paused);
  Journal(JournalRecord::kPause, paused ? 1 : 0);
}

std::optional<std::string> System::TakeDeviceError() {
  if (std::optional<std::string> error = board_.cartridges.TakeError()) return error;
  if (journal_) return journal_->TakeError();
  return std::nullopt;
}

}  // namespace orlan
