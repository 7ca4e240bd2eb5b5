// The saved-state file: a header that says what the bytes are and whose they are, then
// the machine's parts as the System writes them.
//
//   offset  size  field
//   0       8     magic "ORLSTATE"
//   8       4     format version (kStateVersion)
//   12      4     machine fingerprint: CRC-32 of the ROM store as power-on loaded it
//   16      4     payload length in bytes
//   20      4     CRC-32 of bytes 0-19 and of the payload
//   24      ...   payload
//
// Numbers are little-endian. The fingerprint tells another machine's state: the ROM
// images loaded at power-on, whatever the debugger has changed since (the state itself
// carries the ROM as it is).
#ifndef ORLAN_FRONTEND_STATE_FILE_H_
#define ORLAN_FRONTEND_STATE_FILE_H_

#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace orlan {

class Machine;

inline constexpr std::array<uint8_t, 8> kStateMagic = {'O', 'R', 'L', 'S', 'T', 'A', 'T', 'E'};
inline constexpr uint32_t kStateVersion = 1;
inline constexpr std::size_t kStateHeaderSize = 24;

// The fingerprint of the ROM images in `machine`'s ROM store.
uint32_t RomFingerprint(const Machine& machine);

// A whole state file around `payload`.
std::vector<uint8_t> WrapState(uint32_t fingerprint, std::span<const uint8_t> payload);

// What a state file holds: its payload, or why it is refused (empty error: none).
struct UnwrappedState {
  std::span<const uint8_t> payload;
  std::string error;
};

// Checks the header of `file` in this order: magic, version, length, checksum,
// fingerprint (against `fingerprint`); each failure has a message of its own.
UnwrappedState UnwrapState(std::span<const uint8_t> file, uint32_t fingerprint);

}  // namespace orlan

#endif  // ORLAN_FRONTEND_STATE_FILE_H_
