// Double-operand instructions: MOV, CMP, BIT, BIC, BIS, ADD, SUB and the byte forms.
// The source is located and read completely before the destination is located.
#include <type_traits>

#include "core/instructions.h"
#include "core/operand_width.h"

namespace orlan {
namespace {

// C is the carry (borrow) out of the top bit, that is the top bit of the carry vector
// k; V is set when the carries out of the top two bits differ.
template <class W>
void SetCarryFlags(CpuState& c, typename W::Value result, unsigned k) {
  ClearCc(c, kPswNzvc);
  SetNZ(c, W::Signed(result));
  if (k & W::kSign) c.psw |= kPswC;
  if (((k >> 1) ^ k) & (W::kSign >> 1)) c.psw |= kPswV;
}

// r = a - b with the borrow vector's flags.
template <class W>
typename W::Value Subtract(CpuState& c, typename W::Value a, typename W::Value b) {
  const auto r = static_cast<typename W::Value>(a - b);
  const unsigned k = (~a & (b | r)) | (b & r);
  SetCarryFlags<W>(c, r, k);
  return r;
}

uint16_t Add(CpuState& c, uint16_t a, uint16_t b) {
  const auto r = static_cast<uint16_t>(a + b);
  const unsigned k = (a & b) | ((a | b) & ~r);
  SetCarryFlags<WordWidth>(c, r, k);
  return r;
}

// The logical results: N and Z from the result, V cleared, C unchanged.
template <class W>
void SetLogicFlags(CpuState& c, typename W::Value result) {
  ClearCc(c, kPswN | kPswZ | kPswV);
  SetNZ(c, W::Signed(result));
}

template <class W>
typename W::Value ReadSource(Machine& m) {
  m.cpu.mask = W::kMask;
  return ReadOperand<W>(m, SourceField(m.cpu));
}

// Write-only destination: the old value is never read, so a device register's read
// side effect does not happen.
template <class W>
uint16_t Move(Machine& m) {
  CpuState& c = m.cpu;
  const typename W::Value s = ReadSource<W>(m);
  const unsigned dd = DestinationField(c);
  if constexpr (std::is_same_v<W, ByteWidth>) {
    if (dd < 010) {
      // MOVB into a register sign-extends the byte into the whole register.
      c.SetR(static_cast<int>(dd), static_cast<uint16_t>(W::Signed(s)));
      SetLogicFlags<W>(c, s);
      return 0;
    }
  }
  W::Store(OperandForWrite(m, dd), s);
  SetLogicFlags<W>(c, s);
  return 0;
}

template <class W>
uint16_t Compare(Machine& m) {
  const typename W::Value s = ReadSource<W>(m);
  const typename W::Value d = ReadOperand<W>(m, DestinationField(m.cpu));
  Subtract<W>(m.cpu, s, d);
  return 0;
}

template <class W>
uint16_t BitTest(Machine& m) {
  const typename W::Value s = ReadSource<W>(m);
  const typename W::Value d = ReadOperand<W>(m, DestinationField(m.cpu));
  SetLogicFlags<W>(m.cpu, static_cast<typename W::Value>(s & d));
  return 0;
}

template <class W>
uint16_t BitClear(Machine& m) {
  CpuState& c = m.cpu;
  const typename W::Value s = ReadSource<W>(m);
  ModifyOperand<W>(m, DestinationField(c), [&c, s](typename W::Value d) {
    const auto r = static_cast<typename W::Value>(d & ~s);
    SetLogicFlags<W>(c, r);
    return r;
  });
  return 0;
}

template <class W>
uint16_t BitSet(Machine& m) {
  CpuState& c = m.cpu;
  const typename W::Value s = ReadSource<W>(m);
  ModifyOperand<W>(m, DestinationField(c), [&c, s](typename W::Value d) {
    const auto r = static_cast<typename W::Value>(d | s);
    SetLogicFlags<W>(c, r);
    return r;
  });
  return 0;
}

}  // namespace

uint16_t OpMov(Machine& m) { return Move<WordWidth>(m); }
uint16_t OpCmp(Machine& m) { return Compare<WordWidth>(m); }
uint16_t OpBit(Machine& m) { return BitTest<WordWidth>(m); }
uint16_t OpBic(Machine& m) { return BitClear<WordWidth>(m); }
uint16_t OpBis(Machine& m) { return BitSet<WordWidth>(m); }

uint16_t OpAdd(Machine& m) {
  CpuState& c = m.cpu;
  const uint16_t s = ReadSource<WordWidth>(m);
  ModifyOperand<WordWidth>(m, DestinationField(c), [&c, s](uint16_t d) { return Add(c, d, s); });
  return 0;
}

uint16_t OpSub(Machine& m) {
  CpuState& c = m.cpu;
  const uint16_t s = ReadSource<WordWidth>(m);
  ModifyOperand<WordWidth>(m, DestinationField(c),
                           [&c, s](uint16_t d) { return Subtract<WordWidth>(c, d, s); });
  return 0;
}

uint16_t OpMovb(Machine& m) { return Move<ByteWidth>(m); }
uint16_t OpCmpb(Machine& m) { return Compare<ByteWidth>(m); }
uint16_t OpBitb(Machine& m) { return BitTest<ByteWidth>(m); }
uint16_t OpBicb(Machine& m) { return BitClear<ByteWidth>(m); }
uint16_t OpBisb(Machine& m) { return BitSet<ByteWidth>(m); }

}  // namespace orlan
