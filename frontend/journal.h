// A session recording: everything that entered the machine, in order. Every tick and
// key runs on one thread in one order, so the machine at the start, the ticks, the keys
// and the host-dependent step counts determine the whole run; a replay redoes them.
//
// The file: a header, then records until the end of the file. Numbers are little-endian.
//
//   magic "ORLJOURN" (8 bytes), format version (u32), ROM fingerprint of the machine
//   folder at power-on (u32, as in saved states), CpuSpeed (i32), the clock's start at
//   power-on (year u16; month, day, weekday, hour, minute, second u8); then for
//   cartridge 0 and 1: present (u8), size (u32), CRC-32 of its file when the recording
//   began (u32), and, for a writable cartridge (under 65536 bytes), its bytes.
//
// A record is one kind byte and its operands (JournalRecord). The first record is a
// saved state of the machine as the recording began; one comes again wherever the
// machine changed by other means than ticks and keys (a state loaded, the debug window
// closed). The writer flushes every record, so a recording cut short by a crash plays
// up to its last whole record.
#ifndef ORLAN_FRONTEND_JOURNAL_H_
#define ORLAN_FRONTEND_JOURNAL_H_

#include <array>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "devices/cartridges.h"
#include "devices/io_result.h"
#include "devices/local_time.h"

namespace orlan {

inline constexpr std::array<uint8_t, 8> kJournalMagic = {'O', 'R', 'L', 'J', 'O', 'U', 'R', 'N'};
inline constexpr uint32_t kJournalVersion = 1;

enum class JournalRecord : uint8_t {
  kRunTick = 1,         // a run tick of the CpuSpeed budget
  kRunTickSteps = 2,    // u32: a run tick of this many steps (cut by time, fast-forward)
  kClockTick = 3,       // the clock's periodic tick
  kRefreshTick = 4,     // the display refresh
  kSecondTick = 5,      // the clock's second tick
  kHostKeyDown = 16,    // u16 virtual-key code
  kHostCharacter = 17,  // u32 character
  kHostKeyUp = 18,
  kPressKey = 19,  // u8 key index
  kMouseKey = 20,  // u8 key index
  kResetButton = 21,
  kStart = 22,  // what showing the window does
  kPaste = 23,  // u32 length, then the text, 4 bytes a character
  kCancelPaste = 24,
  kPause = 32,           // u8: 1 paused, 0 going on
  kDebuggerOpened = 33,  // the run stops as the debug window shows
  kState = 34,           // u32 length, then a saved state to take over
  kEnd = 127,            // u8 JournalEnd
};

enum class JournalEnd : uint8_t {
  kClosed = 0,             // the window closed
  kCartridgeError = 1,     // a cartridge file failed: the host's doing, not replayable
  kDebuggerCartridge = 2,  // the debugger's steps wrote a cartridge
};

struct JournalCartridge {
  bool present = false;
  uint32_t size = 0;
  uint32_t crc = 0;
  std::vector<uint8_t> contents;  // writable cartridges only
};

struct JournalHeader {
  uint32_t fingerprint = 0;
  int32_t cpu_speed = 0;
  LocalTime clock_start;
  std::array<JournalCartridge, kCartridgeCount> cartridges;
};

// A cartridge is carried in a recording when it is writable: its file may change.
inline bool JournalCarries(uint32_t size) { return size < kCartridgeReadOnlySize; }

// Writes a recording as it happens. After a write fails nothing more is written and
// the error waits in TakeError.
class JournalWriter {
 public:
  JournalWriter() = default;
  ~JournalWriter();
  JournalWriter(const JournalWriter&) = delete;
  JournalWriter& operator=(const JournalWriter&) = delete;

  // Creates (or replaces) the file and writes the header.
  IoResult Open(const std::filesystem::path& path, const JournalHeader& header);
  // A record without operands, or with the one operand its kind takes.
  void Record(JournalRecord kind, uint32_t operand = 0);
  // A record of a kind that carries bytes (kState, kPaste).
  void RecordBytes(JournalRecord kind, std::span<const uint8_t> bytes);
  // The last record; the file is closed.
  void End(JournalEnd reason);

  bool open() const { return file_ != nullptr; }
  std::optional<std::string> TakeError();

 private:
  void Write(std::span<const uint8_t> bytes);
  void Close();

  std::FILE* file_ = nullptr;
  std::filesystem::path path_;
  std::optional<std::string> error_;
};

// One record as read back.
struct JournalEvent {
  JournalRecord kind = JournalRecord::kEnd;
  uint32_t operand = 0;
  std::span<const uint8_t> bytes;  // kState, kPaste
};

// Reads a recording held in memory.
class JournalReader {
 public:
  explicit JournalReader(std::span<const uint8_t> file);

  // Empty when the header was read; otherwise why the file is no recording.
  const std::string& error() const { return error_; }
  const JournalHeader& header() const { return header_; }

  // The next record; nullopt at the end of the file, after the end record, or at a
  // record that is cut short (cut_short()) or unknown (error()).
  std::optional<JournalEvent> Next();
  bool cut_short() const { return cut_short_; }
  // Where the next record begins.
  std::size_t offset() const { return at_; }

 private:
  bool Take(std::size_t n, std::span<const uint8_t>& bytes);

  std::span<const uint8_t> file_;
  std::size_t at_ = 0;
  JournalHeader header_;
  std::string error_;
  bool cut_short_ = false;
  bool ended_ = false;
};

}  // namespace orlan

#endif  // ORLAN_FRONTEND_JOURNAL_H_
