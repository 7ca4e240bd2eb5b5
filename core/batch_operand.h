// Operands of the batch handlers: the addressing mode fixed when the handler is
// compiled, the register taken from the instruction, PC held in a local. Each form
// leaves the effective address and the registers exactly as the mode routines do.
#ifndef ORLAN_CORE_BATCH_OPERAND_H_
#define ORLAN_CORE_BATCH_OPERAND_H_

#include <cstdint>
#include <type_traits>

#include "core/machine.h"
#include "core/operand_width.h"
#include "core/operations.h"
#include "core/word.h"

namespace orlan::batch {

// The batch handlers' codes.
inline LazyCodes Codes(Machine& m) { return LazyCodes(m.codes); }

// A field's form: mode x 2, plus 1 when the register is PC.
inline constexpr unsigned kForms = 16;
constexpr unsigned FormOf(unsigned field) { return (field >> 3) * 2 + ((field & 7) == 7 ? 1 : 0); }
// Every mode on R0-SP; on PC the immediate, absolute, relative and relative-deferred
// modes. PC as a register, (PC), -(PC) and @-(PC) are left to the decoder's handlers.
constexpr bool Specialised(unsigned form) {
  const unsigned mode = form / 2;
  return form % 2 == 0 || mode == 2 || mode == 3 || mode == 6 || mode == 7;
}

template <class W>
inline constexpr bool kIsByte = std::is_same_v<W, ByteWidth>;

// Registers by cell offset (twice the number), as the fields give them cheaply.
inline constexpr unsigned kSpCell = 2 * kSp;
inline unsigned SourceCell(unsigned ir) { return (ir >> 5) & 016; }       // bits 8-6
inline unsigned DestinationCell(unsigned ir) { return (ir << 1) & 016; }  // bits 2-0
// Where a handler finds its registers: in the instruction word, or fixed when it is
// specialised for them (as for register operands, the commonest forms, which then
// decode nothing).
struct CellsFromWord {
  static unsigned Source(uint32_t ir) { return SourceCell(ir); }
  static unsigned Destination(uint32_t ir) { return DestinationCell(ir); }
};
template <unsigned kSource, unsigned kDestination>
struct FixedCells {
  static unsigned Source(uint32_t) { return 2 * kSource; }
  static unsigned Destination(uint32_t) { return 2 * kDestination; }
};

inline uint16_t Reg(const CpuState& c, unsigned cell) { return LoadWord(&c.cells[cell]); }
inline void SetReg(CpuState& c, unsigned cell, uint16_t v) { StoreWord(&c.cells[cell], v); }

// The word at PC, PC advanced past it (an index word).
inline uint16_t NextWord(Machine& m, uint16_t& pc) {
  const uint16_t a = pc;
  pc = static_cast<uint16_t>(pc + 2);
  return LoadWord(m.LocateRead(a, pc));
}

// The effective address of a memory mode (1-7) on the register at `n` (R0-SP) or PC, with
// its side effects. R0-R5 honour the width (word addresses even, byte steps of 1);
// SP and PC are used as they are and step by 2.
template <class W, unsigned kForm>
inline uint16_t Address(Machine& m, uint16_t& pc, unsigned n) {
  constexpr unsigned kMode = kForm / 2;
  constexpr uint16_t kMask = W::kMask;
  CpuState& c = m.cpu;
  if constexpr (kForm % 2 == 1) {
    if constexpr (kMode == 2) {
      const uint16_t a = pc;
      pc = static_cast<uint16_t>(pc + 2);
      return a;
    } else if constexpr (kMode == 3) {
      return NextWord(m, pc) & kMask;
    } else if constexpr (kMode == 6) {
      const uint16_t x = NextWord(m, pc);
      return static_cast<uint16_t>(x + pc) & kMask;
    } else {
      static_assert(kMode == 7);
      const uint16_t x = NextWord(m, pc);
      const uint16_t p = static_cast<uint16_t>(x + pc) & kWordMask;
      return LoadWord(m.LocateRead(p, pc)) & kMask;
    }
  } else {
    static_assert(kMode >= 1);
    const bool sp = n == kSpCell;
    const uint16_t mask = sp ? uint16_t{0177777} : kMask;
    const uint16_t step = sp || !kIsByte<W> ? 2 : 1;
    const uint16_t r = Reg(c, n);
    if constexpr (kMode == 1) {
      return r & mask;
    } else if constexpr (kMode == 2) {
      SetReg(c, n, static_cast<uint16_t>(r + step));
      return r & mask;
    } else if constexpr (kMode == 3) {
      SetReg(c, n, static_cast<uint16_t>(r + 2));
      const uint16_t p = sp ? r : static_cast<uint16_t>(r & kWordMask);
      return LoadWord(m.LocateRead(p, pc)) & kMask;
    } else if constexpr (kMode == 4) {
      const auto d = static_cast<uint16_t>(r - step);
      SetReg(c, n, d);
      return d & mask;
    } else if constexpr (kMode == 5) {
      const auto d = static_cast<uint16_t>(r - 2);
      SetReg(c, n, d);
      const uint16_t p = sp ? d : static_cast<uint16_t>(d & kWordMask);
      return LoadWord(m.LocateRead(p, pc)) & kMask;
    } else if constexpr (kMode == 6) {
      const uint16_t x = NextWord(m, pc);
      return static_cast<uint16_t>(x + Reg(c, n)) & kMask;
    } else {
      const uint16_t x = NextWord(m, pc);
      const uint16_t p = static_cast<uint16_t>(x + Reg(c, n)) & kWordMask;
      return LoadWord(m.LocateRead(p, pc)) & kMask;
    }
  }
}

// A located operand: where to read (or write) it, and its effective address.
struct Operand {
  uint8_t* at;
  uint16_t ea;
};

// Mode 0 is the register's cell and leaves the effective address as it is.
template <class W, unsigned kForm>
inline Operand ForRead(Machine& m, uint16_t& pc, unsigned n) {
  if constexpr (kForm / 2 == 0) {
    return {&m.cpu.cells[n], 0};
  } else {
    const uint16_t a = Address<W, kForm>(m, pc, n);
    m.cpu.ea = a;
    return {m.LocateRead(a, pc), a};
  }
}

template <class W, unsigned kForm>
inline uint8_t* ForWrite(Machine& m, uint16_t& pc, unsigned n) {
  if constexpr (kForm / 2 == 0) {
    return &m.cpu.cells[n];
  } else {
    const uint16_t a = Address<W, kForm>(m, pc, n);
    m.cpu.ea = a;
    return m.LocateWrite(a, pc);
  }
}

// The write location of a read-modify-write operand located by ForRead.
template <unsigned kForm>
inline uint8_t* RmwLocation(Machine& m, uint16_t pc, const Operand& op) {
  if constexpr (kForm / 2 == 0) {
    return op.at;
  } else {
    return m.LocateWrite(op.ea, pc);
  }
}

}  // namespace orlan::batch

#endif  // ORLAN_CORE_BATCH_OPERAND_H_
