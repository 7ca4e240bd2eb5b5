#include "frontend/journal.h"

#include <algorithm>
#include <cerrno>

#include "core/crc32.h"
#include "core/state_io.h"
#include "devices/host_file.h"

namespace orlan {
namespace {

// Bytes of each kind's operand; -1 for a kind that does not exist.
int OperandSize(uint8_t kind) {
  switch (static_cast<JournalRecord>(kind)) {
    case JournalRecord::kRunTick:
    case JournalRecord::kClockTick:
    case JournalRecord::kRefreshTick:
    case JournalRecord::kSecondTick:
    case JournalRecord::kHostKeyUp:
    case JournalRecord::kResetButton:
    case JournalRecord::kStart:
    case JournalRecord::kDebuggerOpened:
    case JournalRecord::kCancelPaste:
      return 0;
    case JournalRecord::kPressKey:
    case JournalRecord::kMouseKey:
    case JournalRecord::kPause:
    case JournalRecord::kEnd:
      return 1;
    case JournalRecord::kHostKeyDown:
      return 2;
    case JournalRecord::kRunTickSteps:
    case JournalRecord::kHostCharacter:
    case JournalRecord::kState:
    case JournalRecord::kPaste:
      return 4;
  }
  return -1;
}

void WriteOperand(StateWriter& out, int size, uint32_t operand) {
  if (size == 1) out.U8(static_cast<uint8_t>(operand));
  if (size == 2) out.U16(static_cast<uint16_t>(operand));
  if (size == 4) out.U32(operand);
}

}  // namespace

JournalWriter::~JournalWriter() { Close(); }

IoResult JournalWriter::Open(const std::filesystem::path& path, const JournalHeader& header) {
  Close();
  error_.reset();
  path_ = path;
  errno = 0;
  file_ = OpenHostFile(path, "wb");
  if (file_ == nullptr) return IoResult::FromErrno(path, "cannot create", errno);
  StateWriter out;
  out.Bytes(kJournalMagic);
  out.U32(kJournalVersion);
  out.U32(header.fingerprint);
  out.I32(header.cpu_speed);
  const LocalTime& t = header.clock_start;
  out.U16(static_cast<uint16_t>(t.year));
  for (const int field : {t.month, t.day, t.weekday, t.hour, t.minute, t.second}) {
    out.U8(static_cast<uint8_t>(field));
  }
  for (const JournalCartridge& c : header.cartridges) {
    out.Bool(c.present);
    out.U32(c.size);
    out.U32(c.crc);
    if (c.present && JournalCarries(c.size)) out.Bytes(c.contents);
  }
  Write(out.bytes());
  if (std::optional<std::string> error = TakeError()) return IoResult::Failure(*error);
  return IoResult::Ok();
}

void JournalWriter::Record(JournalRecord kind, uint32_t operand) {
  StateWriter out;
  out.U8(static_cast<uint8_t>(kind));
  WriteOperand(out, OperandSize(static_cast<uint8_t>(kind)), operand);
  Write(out.bytes());
}

void JournalWriter::RecordBytes(JournalRecord kind, std::span<const uint8_t> bytes) {
  StateWriter out;
  out.U8(static_cast<uint8_t>(kind));
  out.U32(static_cast<uint32_t>(bytes.size()));
  out.Bytes(bytes);
  Write(out.bytes());
}

void JournalWriter::End(JournalEnd reason) {
  Record(JournalRecord::kEnd, static_cast<uint8_t>(reason));
  if (file_ != nullptr && std::fclose(file_) != 0 && !error_) {
    error_ = IoResult::FromErrno(path_, "cannot write", errno).error;
  }
  file_ = nullptr;
}

void JournalWriter::Write(std::span<const uint8_t> bytes) {
  if (file_ == nullptr) return;
  errno = 0;
  // Flushed at once: a crash leaves every record written so far.
  if (std::fwrite(bytes.data(), 1, bytes.size(), file_) != bytes.size() ||
      std::fflush(file_) != 0) {
    error_ = IoResult::FromErrno(path_, "cannot write", errno).error + "; the recording ends here";
    Close();
  }
}

void JournalWriter::Close() {
  if (file_ != nullptr) std::fclose(file_);
  file_ = nullptr;
}

std::optional<std::string> JournalWriter::TakeError() {
  std::optional<std::string> error = std::move(error_);
  error_.reset();
  return error;
}

JournalReader::JournalReader(std::span<const uint8_t> file) : file_(file) {
  if (file.size() < kJournalMagic.size() ||
      !std::equal(kJournalMagic.begin(), kJournalMagic.end(), file.begin())) {
    error_ = "not a recording";
    return;
  }
  StateReader in(file.subspan(kJournalMagic.size()));
  const uint32_t version = in.U32();
  if (in.ok() && version != kJournalVersion) {
    error_ = "a recording of format version " + std::to_string(version) +
             "; this emulator reads version " + std::to_string(kJournalVersion);
    return;
  }
  header_.fingerprint = in.U32();
  header_.cpu_speed = in.I32();
  LocalTime& t = header_.clock_start;
  t.year = in.U16();
  for (int* field : {&t.month, &t.day, &t.weekday, &t.hour, &t.minute, &t.second}) {
    *field = in.U8();
  }
  for (JournalCartridge& c : header_.cartridges) {
    c.present = in.Bool();
    c.size = in.U32();
    c.crc = in.U32();
    if (!c.present || !JournalCarries(c.size) || !in.ok()) continue;
    c.contents.resize(c.size);
    in.Bytes(c.contents);
    if (in.ok() && Crc32(c.contents) != c.crc) in.Bad("cartridge checksum");
  }
  if (!in.ok()) {
    error_ = "damaged recording: its header " + in.error();
    return;
  }
  at_ = kJournalMagic.size() + in.offset();
}

bool JournalReader::Take(std::size_t n, std::span<const uint8_t>& bytes) {
  if (file_.size() - at_ < n) {
    cut_short_ = true;
    return false;
  }
  bytes = file_.subspan(at_, n);
  at_ += n;
  return true;
}

std::optional<JournalEvent> JournalReader::Next() {
  if (!error_.empty() || cut_short_ || ended_ || at_ == file_.size()) return std::nullopt;
  const std::size_t start = at_;
  std::span<const uint8_t> bytes;
  Take(1, bytes);
  const int size = OperandSize(bytes[0]);
  if (size < 0) {
    error_ = "damaged recording: unknown record " + std::to_string(bytes[0]) + " at byte " +
             std::to_string(start);
    return std::nullopt;
  }
  JournalEvent event;
  event.kind = static_cast<JournalRecord>(bytes[0]);
  if (!Take(static_cast<std::size_t>(size), bytes)) {
    at_ = start;
    return std::nullopt;
  }
  for (int i = size - 1; i >= 0; --i) event.operand = event.operand << 8 | bytes[i];
  if (event.kind == JournalRecord::kState || event.kind == JournalRecord::kPaste) {
    if (!Take(event.operand, event.bytes)) {
      at_ = start;
      return std::nullopt;
    }
  }
  if (event.kind == JournalRecord::kEnd) ended_ = true;
  return event;
}

}  // namespace orlan
