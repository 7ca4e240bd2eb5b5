// Single-operand instructions (CLR through ASL and their byte forms), SWAB, SXT, and
// the processor-status moves MTPS and MFPS.
#include "core/instructions.h"
#include "core/operand_width.h"
#include "core/operations.h"

namespace orlan {
namespace {

// The read-modify-write pattern on the destination with the width's mask.
template <class Op, class W>
uint16_t Modify(Machine& m) {
  CpuState& c = m.cpu;
  c.mask = W::kMask;
  ModifyOperand<W>(m, DestinationField(c),
                   [&c](typename W::Value d) { return Op::template Apply<W>(PswCodes(c), d); });
  return 0;
}

template <class W>
uint16_t Clear(Machine& m) {
  CpuState& c = m.cpu;
  c.mask = W::kMask;
  W::Store(OperandForWrite(m, DestinationField(c)), 0);  // write only: never read
  PswCodes(c).Nzvc<W>(0, false, false);
  return 0;
}

template <class W>
uint16_t Test(Machine& m) {
  CpuState& c = m.cpu;
  c.mask = W::kMask;
  PswCodes(c).Nzvc<W>(ReadOperand<W>(m, DestinationField(c)), false, false);
  return 0;
}

}  // namespace

uint16_t OpClr(Machine& m) { return Clear<WordWidth>(m); }
uint16_t OpCom(Machine& m) { return Modify<ops::Com, WordWidth>(m); }
uint16_t OpInc(Machine& m) { return Modify<ops::Inc, WordWidth>(m); }
uint16_t OpDec(Machine& m) { return Modify<ops::Dec, WordWidth>(m); }
uint16_t OpNeg(Machine& m) { return Modify<ops::Neg, WordWidth>(m); }
uint16_t OpAdc(Machine& m) { return Modify<ops::Adc, WordWidth>(m); }
uint16_t OpSbc(Machine& m) { return Modify<ops::Sbc, WordWidth>(m); }
uint16_t OpTst(Machine& m) { return Test<WordWidth>(m); }
uint16_t OpRor(Machine& m) { return Modify<ops::Ror, WordWidth>(m); }
uint16_t OpRol(Machine& m) { return Modify<ops::Rol, WordWidth>(m); }
uint16_t OpAsr(Machine& m) { return Modify<ops::Asr, WordWidth>(m); }
uint16_t OpAsl(Machine& m) { return Modify<ops::Asl, WordWidth>(m); }

uint16_t OpClrb(Machine& m) { return Clear<ByteWidth>(m); }
uint16_t OpComb(Machine& m) { return Modify<ops::Com, ByteWidth>(m); }
uint16_t OpIncb(Machine& m) { return Modify<ops::Inc, ByteWidth>(m); }
uint16_t OpDecb(Machine& m) { return Modify<ops::Dec, ByteWidth>(m); }
uint16_t OpNegb(Machine& m) { return Modify<ops::Neg, ByteWidth>(m); }
uint16_t OpAdcb(Machine& m) { return Modify<ops::Adc, ByteWidth>(m); }
uint16_t OpSbcb(Machine& m) { return Modify<ops::Sbc, ByteWidth>(m); }
uint16_t OpTstb(Machine& m) { return Test<ByteWidth>(m); }
uint16_t OpRorb(Machine& m) { return Modify<ops::Ror, ByteWidth>(m); }
uint16_t OpRolb(Machine& m) { return Modify<ops::Rol, ByteWidth>(m); }
uint16_t OpAsrb(Machine& m) { return Modify<ops::Asr, ByteWidth>(m); }
uint16_t OpAslb(Machine& m) { return Modify<ops::Asl, ByteWidth>(m); }

uint16_t OpSwab(Machine& m) { return Modify<ops::Swab, WordWidth>(m); }

// Write only; N and C are left as they are.
uint16_t OpSxt(Machine& m) {
  CpuState& c = m.cpu;
  c.mask = kWordMask;
  const uint16_t value = (c.psw & kPswN) ? 0177777 : 0;
  WordWidth::Store(OperandForWrite(m, DestinationField(c)), value);
  ClearCc(c, kPswZ | kPswV);
  if (value == 0) c.psw |= kPswZ;
  return 0;
}

// The T bit and the whole high byte (with the halt-mode bit) keep their values.
uint16_t OpMtps(Machine& m) {
  CpuState& c = m.cpu;
  c.mask = kByteMask;
  const uint8_t s = ReadOperand<ByteWidth>(m, DestinationField(c));
  c.psw = static_cast<uint16_t>((c.psw & 0177420) | (s & 0357));
  return 0;
}

// The status byte is taken before the destination is located; a register receives it
// sign-extended, memory as a byte through the write location (never read).
uint16_t OpMfps(Machine& m) {
  CpuState& c = m.cpu;
  c.mask = kByteMask;
  const auto b = static_cast<uint8_t>(c.psw);
  const unsigned dd = DestinationField(c);
  if (dd < 010) {
    c.SetR(static_cast<int>(dd), static_cast<uint16_t>(SignedByte(b)));
  } else {
    ComputeEA(m, dd);
    StoreByte(m.BusLocateWrite(), b);
  }
  ClearCc(c, kPswN | kPswZ | kPswV);
  SetNZ(c, SignedByte(b));
  return 0;
}

}  // namespace orlan
