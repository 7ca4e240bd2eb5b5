// Double-operand instructions: MOV, CMP, BIT, BIC, BIS, ADD, SUB and the byte forms.
// The source is located and read completely before the destination is located.
#include <type_traits>

#include "core/instructions.h"
#include "core/operand_width.h"
#include "core/operations.h"

namespace orlan {
namespace {

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
      PswCodes(c).Logic<W>(s);
      return 0;
    }
  }
  W::Store(OperandForWrite(m, dd), s);
  PswCodes(c).Logic<W>(s);
  return 0;
}

// CMP and BIT: both operands read, only the codes set.
template <class Op, class W>
uint16_t ReadBoth(Machine& m) {
  const typename W::Value s = ReadSource<W>(m);
  const typename W::Value d = ReadOperand<W>(m, DestinationField(m.cpu));
  Op::template Apply<W>(PswCodes(m.cpu), s, d);
  return 0;
}

// BIC, BIS, ADD and SUB: the destination read, modified and written back.
template <class Op, class W>
uint16_t Modify(Machine& m) {
  CpuState& c = m.cpu;
  const typename W::Value s = ReadSource<W>(m);
  ModifyOperand<W>(m, DestinationField(c), [&c, s](typename W::Value d) {
    return Op::template Apply<W>(PswCodes(c), s, d);
  });
  return 0;
}

}  // namespace

uint16_t OpMov(Machine& m) { return Move<WordWidth>(m); }
uint16_t OpCmp(Machine& m) { return ReadBoth<ops::Cmp, WordWidth>(m); }
uint16_t OpBit(Machine& m) { return ReadBoth<ops::Bit, WordWidth>(m); }
uint16_t OpBic(Machine& m) { return Modify<ops::Bic, WordWidth>(m); }
uint16_t OpBis(Machine& m) { return Modify<ops::Bis, WordWidth>(m); }
uint16_t OpAdd(Machine& m) { return Modify<ops::Add, WordWidth>(m); }
uint16_t OpSub(Machine& m) { return Modify<ops::Sub, WordWidth>(m); }

uint16_t OpMovb(Machine& m) { return Move<ByteWidth>(m); }
uint16_t OpCmpb(Machine& m) { return ReadBoth<ops::Cmp, ByteWidth>(m); }
uint16_t OpBitb(Machine& m) { return ReadBoth<ops::Bit, ByteWidth>(m); }
uint16_t OpBicb(Machine& m) { return Modify<ops::Bic, ByteWidth>(m); }
uint16_t OpBisb(Machine& m) { return Modify<ops::Bis, ByteWidth>(m); }

}  // namespace orlan
