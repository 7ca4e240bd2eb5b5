// Operand addressing: a 6-bit operand field (8 x mode + register) to a location.
#ifndef ORLAN_CORE_ADDRESSING_H_
#define ORLAN_CORE_ADDRESSING_H_

#include <array>
#include <cstdint>

#include "core/machine.h"

namespace orlan {

using ModeRoutine = void (*)(Machine&);

// One routine per operand field; they leave the effective address in cpu.ea and
// apply the mode's register side effects, using cpu.mask for the width.
extern const std::array<ModeRoutine, 64> kModeTable;

inline void ComputeEA(Machine& m, unsigned field) { kModeTable[field & 077](m); }

// Mode 0 gives the register cell and touches nothing else.
inline uint8_t* OperandForRead(Machine& m, unsigned field) {
  if (field < 010) return m.cpu.Cell(static_cast<int>(field));
  ComputeEA(m, field);
  return m.BusLocateRead();
}

inline uint8_t* OperandForWrite(Machine& m, unsigned field) {
  if (field < 010) return m.cpu.Cell(static_cast<int>(field));
  ComputeEA(m, field);
  return m.BusLocateWrite();
}

// The write location of a read-modify-write operand that OperandForRead has already
// located: the same register cell, or the bus's write location for the EA left, so
// the mode's side effects happen once.
inline uint8_t* RmwWriteLocation(Machine& m, unsigned field, uint8_t* read_location) {
  if (field < 010) return read_location;
  return m.BusLocateWrite();
}

}  // namespace orlan

#endif  // ORLAN_CORE_ADDRESSING_H_
