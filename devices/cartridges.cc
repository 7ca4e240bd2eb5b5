#include "devices/cartridges.h"

#include <cerrno>
#include <system_error>

#include "core/state_io.h"
#include "devices/host_file.h"

namespace orlan {
namespace {

std::string ErrorText(std::string_view name, std::string_view what, int error_number) {
  std::string text(name);
  text += ": ";
  text += what;
  text += ": ";
  text += std::generic_category().message(error_number != 0 ? error_number : EIO);
  return text;
}

bool ValidNumber(int n) { return n >= 0 && n < kCartridgeCount; }

}  // namespace

Cartridges::~Cartridges() {
  for (Cartridge& c : carts_) {
    if (c.file != nullptr) std::fclose(c.file);
  }
}

IoResult Cartridges::CartOpen(int n, const std::filesystem::path& directory) {
  if (!ValidNumber(n)) return IoResult::Ok();
  Cartridge& c = carts_[n];
  if (c.file != nullptr) {
    std::fclose(c.file);
    c.file = nullptr;
  }
  c.present = false;
  faulted_[n] = false;
  const std::filesystem::path path = directory / kCartridgeFileNames[n];
  switch (HostFileKind(path)) {
    case FileKind::kMissing:
      return IoResult::Ok();  // absent, silently
    case FileKind::kOther:
      return NotRegularFile(path);
    case FileKind::kRegular:
      break;
  }
  std::error_code ec;
  const uintmax_t size = std::filesystem::file_size(path, ec);
  if (ec) return IoResult::FromError(path, "cannot open", ec);
  errno = 0;
  std::FILE* f = OpenHostFile(path, "r+b");
  if (f == nullptr) return IoResult::FromErrno(path, "cannot open", errno);
  // No user-space buffer: each stored byte goes to the file as it is written.
  std::setvbuf(f, nullptr, _IONBF, 0);
  c.file = f;
  c.present = true;
  c.size = size > 0xFFFFFFFFu ? 0xFFFFFFFFu : static_cast<uint32_t>(size);
  c.address = 0;
  c.address_mask = c.size < kCartridgeReadOnlySize ? 0xFFFF : 0xFFFFFF;
  c.command = 0;
  return IoResult::Ok();
}

IoResult Cartridges::CartClose(int n) {
  if (!ValidNumber(n)) return IoResult::Ok();
  Cartridge& c = carts_[n];
  c.present = false;
  if (c.file == nullptr) return IoResult::Ok();
  errno = 0;
  const int result = std::fclose(c.file);
  c.file = nullptr;
  if (result != 0) {
    return IoResult::Failure(ErrorText(kCartridgeFileNames[n], "cannot close", errno));
  }
  return IoResult::Ok();
}

uint8_t Cartridges::CartSetCommand(int n, uint8_t value) {
  if (ValidNumber(n)) carts_[n].command = value;
  return 0;
}

void Cartridges::SaveState(StateWriter& out) const {
  out.Section("CART");
  for (const Cartridge& c : carts_) {
    out.Bool(c.present);
    out.U32(c.size);
    out.U32(c.address);
    out.U8(c.command);
  }
}

void Cartridges::LoadState(StateReader& in, std::vector<std::string>* warnings) {
  in.Section("CART");
  for (int n = 0; n < kCartridgeCount; ++n) {
    Cartridge& c = carts_[n];
    const bool present = in.Bool();
    const uint32_t size = in.U32();
    const uint32_t address = in.U32();
    if (address > 0xFFFFFF) in.Bad("cartridge address");
    c.address = address & (c.present ? c.address_mask : 0xFFFFFF);
    c.command = in.U8();
    if (warnings == nullptr || (present == c.present && (!present || size == c.size))) continue;
    const auto describe = [](bool there, uint32_t bytes) {
      return there ? std::to_string(bytes) + " bytes" : std::string("absent");
    };
    warnings->push_back(std::string(kCartridgeFileNames[n]) + ": " + describe(present, size) +
                        " when the state was saved, " + describe(c.present, c.size) + " now");
  }
}

void Cartridges::RecordError(int n, std::string_view what, int error_number) {
  ++faults_;
  if (faulted_[n]) return;
  faulted_[n] = true;
  errors_.push_back(ErrorText(kCartridgeFileNames[n], what, error_number));
}

std::optional<std::string> Cartridges::TakeError() {
  if (errors_.empty()) return std::nullopt;
  std::string error = std::move(errors_.front());
  errors_.erase(errors_.begin());
  return error;
}

bool Cartridges::ReadByte(int n, uint8_t& value) {
  Cartridge& c = carts_[n];
  errno = 0;
  if (std::fseek(c.file, static_cast<long>(c.address), SEEK_SET) != 0) {
    RecordError(n, "read failed", errno);
    return false;
  }
  const int ch = std::fgetc(c.file);
  if (ch == EOF) {
    // Also a file that shrank under us: its size was taken at start-up.
    RecordError(n, "read failed", std::ferror(c.file) ? errno : EIO);
    std::clearerr(c.file);
    return false;
  }
  value = static_cast<uint8_t>(ch);
  faulted_[n] = false;
  return true;
}

bool Cartridges::WriteByte(int n, uint8_t value) {
  Cartridge& c = carts_[n];
  ++writes_;
  errno = 0;
  if (std::fseek(c.file, static_cast<long>(c.address), SEEK_SET) != 0 ||
      std::fputc(value, c.file) == EOF || std::fflush(c.file) != 0) {
    RecordError(n, "write failed", errno);
    std::clearerr(c.file);
    return false;
  }
  faulted_[n] = false;
  return true;
}

uint8_t Cartridges::CartTransfer(int n, uint8_t data) {
  if (!ValidNumber(n) || !carts_[n].present) return 0377;
  Cartridge& c = carts_[n];
  uint8_t result = 0377;
  const uint8_t command = c.command & 0xF0;
  switch (command) {
    case kCartNone:
      return 0;
    case kCartReadDown:
    case kCartReadUp:
      if (c.address < c.size && !ReadByte(n, result)) result = 0377;
      c.address = (command & 0x80 ? c.address + 1 : c.address - 1) & c.address_mask;
      break;
    case kCartWriteDown:
    case kCartWriteUp:
    case kCartWriteDown2:
      if (c.address < c.size && c.size < kCartridgeReadOnlySize) WriteByte(n, data);
      c.address = (command & 0x20 ? c.address - 1 : c.address + 1) & c.address_mask;
      break;
    case kCartLoadAddress:
      c.address = ((c.address << 8) | data) & c.address_mask;
      break;
    default:
      break;
  }
  return result;
}

}  // namespace orlan
