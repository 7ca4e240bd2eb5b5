// Little-endian word access at a host memory location.
//
// Every machine location (a RAM or ROM byte, a register cell, a device latch) is a
// pointer to at least two bytes; the machine word is stored low byte first. A word is
// copied as two bytes and put in order on a big-endian host, so that it means the
// same on any host and compiles to one unaligned access on a little-endian one.
#ifndef ORLAN_CORE_WORD_H_
#define ORLAN_CORE_WORD_H_

#include <bit>
#include <cstdint>
#include <cstring>

namespace orlan {

inline uint16_t HostOrder(uint16_t v) {
  if constexpr (std::endian::native == std::endian::little) {
    return v;
  } else {
    return static_cast<uint16_t>((v >> 8) | (v << 8));
  }
}

inline uint16_t LoadWord(const uint8_t* p) {
  uint16_t v;
  std::memcpy(&v, p, sizeof v);
  return HostOrder(v);
}

inline void StoreWord(uint8_t* p, uint16_t value) {
  const uint16_t v = HostOrder(value);
  std::memcpy(p, &v, sizeof v);
}

inline uint8_t LoadByte(const uint8_t* p) { return p[0]; }

inline void StoreByte(uint8_t* p, uint8_t value) { p[0] = value; }

// Sign extensions used by the condition codes and MOVB.
inline int32_t SignedWord(uint16_t w) { return static_cast<int16_t>(w); }
inline int32_t SignedByte(uint8_t b) { return static_cast<int8_t>(b); }

}  // namespace orlan

#endif  // ORLAN_CORE_WORD_H_
