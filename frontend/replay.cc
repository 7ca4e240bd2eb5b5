#include "frontend/replay.h"

#include <cstdio>
#include <optional>

#include "core/crc32.h"
#include "devices/host_file.h"
#include "frontend/journal.h"
#include "frontend/message_sink.h"
#include "frontend/read_file.h"
#include "frontend/rom_files.h"

namespace orlan {
namespace {

std::string Describe(const JournalCartridge& c) {
  char crc[16];
  std::snprintf(crc, sizeof crc, "%08x", static_cast<unsigned>(c.crc));
  return std::to_string(c.size) + " bytes, CRC-32 " + crc;
}

IoResult WriteBytes(const std::filesystem::path& path, std::span<const uint8_t> bytes) {
  errno = 0;
  std::FILE* f = OpenHostFile(path, "wb");
  if (f == nullptr) return IoResult::FromErrno(path, "cannot create", errno);
  bool ok = std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
  ok = std::fclose(f) == 0 && ok;
  return ok ? IoResult::Ok() : IoResult::FromErrno(path, "cannot write", errno);
}

// The cartridge files the recording began with, in `scratch`: the writable ones from
// the recording, the read-only ones copied from the machine folder once they are found
// to be the same files.
std::string PrepareCartridges(const JournalHeader& header,
                              const std::filesystem::path& machine_folder,
                              const std::filesystem::path& scratch) {
  for (int n = 0; n < kCartridgeCount; ++n) {
    const JournalCartridge& c = header.cartridges[n];
    if (!c.present) continue;
    std::vector<uint8_t> bytes = c.contents;
    if (!JournalCarries(c.size)) {
      const std::filesystem::path source = machine_folder / kCartridgeFileNames[n];
      const IoResult read = ReadWholeFile(source, c.size, bytes);
      JournalCartridge found{true, static_cast<uint32_t>(bytes.size()), Crc32(bytes), {}};
      if (!read || found.size != c.size || found.crc != c.crc) {
        return PathText(source) + ": not the cartridge the recording began with (" +
               (read ? Describe(found) : read.error) + "; recorded: " + Describe(c) + ")";
      }
    }
    if (IoResult written = WriteBytes(scratch / kCartridgeFileNames[n], bytes); !written) {
      return written.error;
    }
  }
  return {};
}

std::string EndNote(uint32_t reason) {
  switch (static_cast<JournalEnd>(reason)) {
    case JournalEnd::kClosed:
      return {};
    case JournalEnd::kCartridgeError:
      return "the recording ends where a cartridge file failed in the emulator";
    case JournalEnd::kDebuggerCartridge:
      return "the recording ends where the debugger's steps wrote a cartridge";
  }
  return "the recording ends for an unknown reason";
}

}  // namespace

ReplayOutcome Replay(System& system, std::span<const uint8_t> journal,
                     const std::filesystem::path& machine_folder,
                     const std::filesystem::path& scratch) {
  ReplayOutcome outcome;
  JournalReader reader(journal);
  if (!reader.error().empty()) {
    outcome.error = reader.error();
    return outcome;
  }
  const JournalHeader& header = reader.header();
  outcome.error = PrepareCartridges(header, machine_folder, scratch);
  if (!outcome.error.empty()) return outcome;

  PowerOnOptions options;
  options.folder = scratch;
  options.use = FolderUse::kDevices;  // the cartridges of the scratch folder only
  for (const auto& [image, named] :
       {std::pair{kMainRomImage, &options.rom}, std::pair{kExtraRomImage, &options.romt}}) {
    const std::filesystem::path path = machine_folder / image.file_name;
    std::error_code ec;
    if (std::filesystem::exists(path, ec)) *named = path;
  }
  options.now = header.clock_start;
  CapturingMessageSink sink;
  if (system.PowerOn(options, sink) != PowerOnResult::kStarted) {
    outcome.error = sink.messages.empty() ? "power-on failed" : sink.messages.front();
    return outcome;
  }
  if (system.rom_fingerprint() != header.fingerprint) {
    outcome.error = "recorded on another machine: the ROM images of " + PathText(machine_folder) +
                    " differ from the recording's";
    return outcome;
  }
  system.machine().run.set_steps_per_tick(header.cpu_speed);

  bool ended = false;
  while (const std::optional<JournalEvent> event = reader.Next()) {
    if (outcome.records == 0 && event->kind != JournalRecord::kState) {
      outcome.error = "damaged recording: it does not begin with the machine's state";
      return outcome;
    }
    ++outcome.records;
    const uint32_t x = event->operand;
    switch (event->kind) {
      case JournalRecord::kRunTick:
        system.Tick(TickKind::kRun);
        break;
      case JournalRecord::kRunTickSteps:
        system.RunTickOf(x);
        break;
      case JournalRecord::kClockTick:
        system.Tick(TickKind::kClock);
        break;
      case JournalRecord::kRefreshTick:
        system.Tick(TickKind::kRefresh);
        break;
      case JournalRecord::kSecondTick:
        system.Tick(TickKind::kSecond);
        break;
      case JournalRecord::kHostKeyDown:
        system.HostKeyDown(static_cast<int>(x));
        break;
      case JournalRecord::kHostCharacter:
        system.HostCharacter(static_cast<char32_t>(x));
        break;
      case JournalRecord::kHostKeyUp:
        system.HostKeyUp();
        break;
      case JournalRecord::kPressKey:
        system.PressKey(static_cast<int>(x));
        break;
      case JournalRecord::kMouseKey:
        system.SetMouseKey(static_cast<int>(x));
        break;
      case JournalRecord::kResetButton:
        system.ResetButton();
        break;
      case JournalRecord::kStart:
        system.Start();
        break;
      case JournalRecord::kPaste: {
        std::u32string text;
        for (std::size_t i = 0; i + 4 <= event->bytes.size(); i += 4) {
          const auto* b = &event->bytes[i];
          text += static_cast<char32_t>(b[0] | b[1] << 8 | b[2] << 16 |
                                        static_cast<uint32_t>(b[3]) << 24);
        }
        system.Paste(text);
        break;
      }
      case JournalRecord::kCancelPaste:
        system.CancelPaste();
        break;
      case JournalRecord::kPause:
        system.SetPaused(x != 0);
        break;
      case JournalRecord::kDebuggerOpened:
        system.machine().StopIntoDebugger();
        break;
      case JournalRecord::kState: {
        const StateLoadResult loaded = system.LoadState(event->bytes, System::RunStop::kFromState);
        if (!loaded.ok()) {
          outcome.error = "damaged recording: the state of record " +
                          std::to_string(outcome.records) + " is " + loaded.error;
          return outcome;
        }
        break;
      }
      case JournalRecord::kEnd:
        ended = true;
        if (std::string note = EndNote(x); !note.empty()) outcome.notes.push_back(note);
        break;
    }
  }
  if (!reader.error().empty()) {
    outcome.error = reader.error();
  } else if (!ended) {
    outcome.notes.push_back(
        std::string(reader.cut_short() ? "the recording is cut short" : "the recording stops") +
        " after " + std::to_string(outcome.records) +
        " records without an end (the emulator did not close it); played up to there");
  }
  return outcome;
}

}  // namespace orlan
