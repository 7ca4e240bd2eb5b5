// The System's saved states and its recording of a session.
#include <memory>

#include "core/crc32.h"
#include "core/state_io.h"
#include "devices/atomic_file.h"
#include "frontend/journal.h"
#include "frontend/read_file.h"
#include "frontend/state_file.h"
#include "frontend/system.h"

namespace orlan {
namespace {

// A state is some 80 KB; anything far larger is no state.
constexpr std::size_t kStateFileLimit = 1 << 20;

}  // namespace

void System::WriteState(StateWriter& out) const {
  machine_.SaveState(out);
  board_.lcd.SaveState(out);
  board_.rtc.SaveState(out);
  board_.channel.SaveState(out);
  // The phase of the monitor's schedule, so that a run after a load ticks as it would
  // have after the save.
  out.Section("TIME");
  out.U64(time_.now_ms());
  for (const uint64_t count : {ticks_.run, ticks_.rtc, ticks_.refresh, ticks_.second}) {
    out.U64(count);
  }
}

void System::ReadState(StateReader& in, std::vector<std::string>* warnings) {
  machine_.LoadState(in);
  board_.lcd.LoadState(in);
  board_.rtc.LoadState(in);
  board_.channel.LoadState(in, warnings);
  in.Section("TIME");
  time_.set_now_ms(in.U64());
  for (uint64_t* count : {&ticks_.run, &ticks_.rtc, &ticks_.refresh, &ticks_.second}) {
    *count = in.U64();
  }
}

std::vector<uint8_t> System::SaveState() const {
  StateWriter out;
  WriteState(out);
  return WrapState(rom_fingerprint_, out.bytes());
}

StateLoadResult System::LoadState(std::span<const uint8_t> file, RunStop run_stop) {
  const UnwrappedState state = UnwrapState(file, rom_fingerprint_);
  if (!state.error.empty()) return {state.error, {}};
  {
    // Read whole into a machine of its own first, so that a state that is damaged
    // after all changes nothing here.
    const auto scratch = std::make_unique<System>();
    StateReader in(state.payload);
    scratch->ReadState(in, nullptr);
    if (!in.ok()) return {"damaged: " + in.error(), {}};
    if (!in.at_end()) return {"damaged: bytes after its last part", {}};
  }
  StateLoadResult result;
  const bool stopped = machine_.run.run_stopped();
  StateReader in(state.payload);
  ReadState(in, &result.warnings);
  if (run_stop == RunStop::kKeep && machine_.run.run_stopped() != stopped) {
    if (stopped) {
      machine_.run.Stop();
    } else {
      machine_.run.Resume(machine_.run.resume_delay());
    }
  }
  if (journal_) journal_->RecordBytes(JournalRecord::kState, SaveState());
  return result;
}

IoResult System::SaveStateFile(const std::filesystem::path& path) const {
  return WriteFileAtomically(path, SaveState());
}

StateLoadResult System::LoadStateFile(const std::filesystem::path& path, RunStop run_stop) {
  std::vector<uint8_t> file;
  if (IoResult read = ReadWholeFile(path, kStateFileLimit, file); !read) return {read.error, {}};
  StateLoadResult result = LoadState(file, run_stop);
  if (!result.ok()) result.error = PathText(path) + ": " + result.error;
  return result;
}

IoResult System::StartRecording(const std::filesystem::path& path) {
  JournalHeader header;
  header.fingerprint = rom_fingerprint_;
  header.cpu_speed = machine_.run.steps_per_tick();
  header.clock_start = power_on_time_;
  for (int n = 0; n < kCartridgeCount; ++n) {
    const Cartridge& c = board_.cartridges.cartridge(n);
    JournalCartridge& recorded = header.cartridges[n];
    recorded.present = c.present;
    if (!c.present) continue;
    recorded.size = c.size;
    std::vector<uint8_t> bytes;
    const std::filesystem::path file = folder_ / kCartridgeFileNames[n];
    if (IoResult read = ReadWholeFile(file, c.size, bytes); !read) return read;
    if (bytes.size() != c.size) return IoResult::Failure(PathText(file) + ": changed size");
    recorded.crc = Crc32(bytes);
    if (JournalCarries(c.size)) recorded.contents = std::move(bytes);
  }
  auto journal = std::make_unique<JournalWriter>();
  if (IoResult opened = journal->Open(path, header); !opened) return opened;
  journal_ = std::move(journal);
  journal_->RecordBytes(JournalRecord::kState, SaveState());
  if (paused()) Journal(JournalRecord::kPause, 1);
  cartridge_faults_ = board_.cartridges.faults();
  return IoResult::Ok();
}

bool System::recording() const { return journal_ && journal_->open(); }

void System::Journal(JournalRecord kind, uint32_t operand) {
  if (journal_) journal_->Record(kind, operand);
}

void System::EndRecording(JournalEnd reason) {
  if (journal_) journal_->End(reason);
}

void System::DebuggerOpened() {
  if (!debugger_open_) cartridge_writes_at_open_ = board_.cartridges.writes();
  debugger_open_ = true;
  // A stop at a breakpoint comes inside a run tick, and the tick's record comes first.
  if (in_run_tick_) {
    opened_in_run_tick_ = true;
  } else {
    Journal(JournalRecord::kDebuggerOpened);
  }
}

void System::DebuggerReleased() {
  if (!debugger_open_) return;
  debugger_open_ = false;
  if (!recording()) return;
  // The debugger's own steps may have written a cartridge, which a replay cannot redo.
  if (board_.cartridges.writes() != cartridge_writes_at_open_) {
    EndRecording(JournalEnd::kDebuggerCartridge);
    return;
  }
  journal_->RecordBytes(JournalRecord::kState, SaveState());
}

}  // namespace orlan
