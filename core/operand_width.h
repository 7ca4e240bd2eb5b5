// Word and byte operands for the data instructions, and the operand access patterns
// they share. The handlers are templates over one of the two width types.
#ifndef ORLAN_CORE_OPERAND_WIDTH_H_
#define ORLAN_CORE_OPERAND_WIDTH_H_

#include <cstdint>

#include "core/addressing.h"
#include "core/machine.h"
#include "core/word.h"

namespace orlan {

struct WordWidth {
  using Value = uint16_t;
  static constexpr uint16_t kMask = kWordMask;
  static constexpr Value kSign = 0100000;
  static constexpr Value kMaxPositive = 077777;
  static constexpr Value kAllOnes = 0177777;
  static Value Load(const uint8_t* p) { return LoadWord(p); }
  static void Store(uint8_t* p, Value v) { StoreWord(p, v); }
  static int32_t Signed(Value v) { return SignedWord(v); }
};

// A byte operand in a register is the cell's low byte, so a byte store into a register
// keeps its high byte.
struct ByteWidth {
  using Value = uint8_t;
  static constexpr uint16_t kMask = kByteMask;
  static constexpr Value kSign = 0200;
  static constexpr Value kMaxPositive = 0177;
  static constexpr Value kAllOnes = 0377;
  static Value Load(const uint8_t* p) { return LoadByte(p); }
  static void Store(uint8_t* p, Value v) { StoreByte(p, v); }
  static int32_t Signed(Value v) { return SignedByte(v); }
};

inline unsigned DestinationField(const CpuState& c) { return c.ir & 077; }
inline unsigned SourceField(const CpuState& c) { return (c.ir >> 6) & 077; }
inline int RegisterField(const CpuState& c) { return (c.ir >> 6) & 7; }

// Read pattern: locate and read at once (a device latch is shared by its window).
template <class W>
typename W::Value ReadOperand(Machine& m, unsigned field) {
  return W::Load(OperandForRead(m, field));
}

// Read-modify-write pattern: the field is evaluated once; `compute` maps the old value
// to the new one (and sets the condition codes), which is stored through the write
// location of the same register cell or effective address.
template <class W, class Compute>
void ModifyOperand(Machine& m, unsigned field, Compute compute) {
  uint8_t* read_location = OperandForRead(m, field);
  const typename W::Value result = compute(W::Load(read_location));
  W::Store(RmwWriteLocation(m, field, read_location), result);
}

// Clears the condition codes in `defined`; the caller then sets them from the result.
inline void ClearCc(CpuState& c, uint16_t defined) { c.psw &= static_cast<uint16_t>(~defined); }

}  // namespace orlan

#endif  // ORLAN_CORE_OPERAND_WIDTH_H_
