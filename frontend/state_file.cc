#include "frontend/state_file.h"

#include <algorithm>

#include "core/crc32.h"
#include "core/machine.h"
#include "core/state_io.h"

namespace orlan {
namespace {

constexpr std::size_t kCrcOffset = 20;

uint32_t LoadU32(const uint8_t* p) {
  return static_cast<uint32_t>(p[0]) | static_cast<uint32_t>(p[1]) << 8 |
         static_cast<uint32_t>(p[2]) << 16 | static_cast<uint32_t>(p[3]) << 24;
}

// The checksum covers the header up to its own field, then the payload.
uint32_t StateChecksum(std::span<const uint8_t> header, std::span<const uint8_t> payload) {
  return Crc32(payload, Crc32(header.first(kCrcOffset)));
}

}  // namespace

uint32_t RomFingerprint(const Machine& machine) { return Crc32(machine.rom()); }

std::vector<uint8_t> WrapState(uint32_t fingerprint, std::span<const uint8_t> payload) {
  StateWriter out;
  out.Bytes(kStateMagic);
  out.U32(kStateVersion);
  out.U32(fingerprint);
  out.U32(static_cast<uint32_t>(payload.size()));
  std::vector<uint8_t> file = out.Take();
  const uint32_t crc = StateChecksum(file, payload);
  for (int i = 0; i < 4; ++i) file.push_back(static_cast<uint8_t>(crc >> (8 * i)));
  file.insert(file.end(), payload.begin(), payload.end());
  return file;
}

UnwrappedState UnwrapState(std::span<const uint8_t> file, uint32_t fingerprint) {
  if (file.empty()) return {{}, "an empty file"};
  const std::size_t magic_bytes = std::min(file.size(), kStateMagic.size());
  if (!std::equal(file.begin(), file.begin() + magic_bytes, kStateMagic.begin())) {
    return {{}, "not a saved state"};
  }
  if (file.size() < kStateHeaderSize) {
    return {{}, "truncated: " + std::to_string(file.size()) + " bytes, shorter than its header"};
  }
  const uint32_t version = LoadU32(&file[8]);
  if (version != kStateVersion) {
    return {{},
            "a saved state of format version " + std::to_string(version) +
                "; this emulator reads version " + std::to_string(kStateVersion)};
  }
  const std::size_t length = LoadU32(&file[16]);
  const std::size_t whole = kStateHeaderSize + length;
  if (file.size() < whole) {
    return {{},
            "truncated: " + std::to_string(file.size()) + " of its " + std::to_string(whole) +
                " bytes"};
  }
  if (file.size() > whole) {
    return {{}, "damaged: " + std::to_string(file.size() - whole) + " bytes after its end"};
  }
  const std::span<const uint8_t> payload = file.subspan(kStateHeaderSize);
  if (StateChecksum(file, payload) != LoadU32(&file[kCrcOffset])) {
    return {{}, "damaged: its checksum does not match its contents"};
  }
  if (LoadU32(&file[12]) != fingerprint) {
    return {{}, "the state of another machine: its ROM images differ from this one's"};
  }
  return {payload, ""};
}

}  // namespace orlan
