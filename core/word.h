// Little-endian word access at a host memory location.
//
// Every machine location (a RAM or ROM byte, a register cell, a device latch) is a
// pointer to at least two bytes; the machine word is stored low byte first. The
// accesses are written out byte by byte so that they mean the same on any host.
#ifndef ORLAN_CORE_WORD_H_
#define ORLAN_CORE_WORD_H_

#include <cstdint>

namespace orlan {

inline uint16_t LoadWord(const uint8_t* p) { return static_cast<uint16_t>(p[0] | (p[1] << 8)); }

inline void StoreWord(uint8_t* p, uint16_t value) {
  p[0] = static_cast<uint8_t>(value);
  p[1] = static_cast<uint8_t>(value >> 8);
}

inline uint8_t LoadByte(const uint8_t* p) { return p[0]; }

inline void StoreByte(uint8_t* p, uint8_t value) { p[0] = value; }

// Sign extensions used by the condition codes and MOVB.
inline int32_t SignedWord(uint16_t w) { return static_cast<int16_t>(w); }
inline int32_t SignedByte(uint8_t b) { return static_cast<int8_t>(b); }

}  // namespace orlan

#endif  // ORLAN_CORE_WORD_H_
