// Single-operand instructions (CLR through ASL and their byte forms), SWAB, SXT, and
// the processor-status moves MTPS and MFPS.
#include "core/instructions.h"
#include "core/operand_width.h"

namespace orlan {
namespace {

bool CarryIn(const CpuState& c) { return (c.psw & kPswC) != 0; }

// Runs the read-modify-write pattern on the destination with the width's mask.
template <class W, class Compute>
uint16_t Modify(Machine& m, Compute compute) {
  m.cpu.mask = W::kMask;
  ModifyOperand<W>(m, DestinationField(m.cpu), compute);
  return 0;
}

// Clears the condition codes the instruction defines, sets N and Z from the result,
// then V and C as given; codes outside `defined` are never touched.
template <class W>
void SetArithmeticFlags(CpuState& c, uint16_t defined, typename W::Value result, bool v,
                        bool c_bit) {
  ClearCc(c, defined);
  SetNZ(c, W::Signed(result));
  if (v) c.psw |= kPswV;
  if (c_bit) c.psw |= kPswC;
}

template <class W>
uint16_t Clear(Machine& m) {
  CpuState& c = m.cpu;
  c.mask = W::kMask;
  W::Store(OperandForWrite(m, DestinationField(c)), 0);  // write only: never read
  c.psw = static_cast<uint16_t>((c.psw & ~kPswNzvc) | kPswZ);
  return 0;
}

template <class W>
uint16_t Complement(Machine& m) {
  CpuState& c = m.cpu;
  return Modify<W>(m, [&c](typename W::Value d) {
    const auto r = static_cast<typename W::Value>(~d);
    SetArithmeticFlags<W>(c, kPswNzvc, r, false, true);
    return r;
  });
}

template <class W>
uint16_t Increment(Machine& m) {
  CpuState& c = m.cpu;
  return Modify<W>(m, [&c](typename W::Value d) {
    const auto r = static_cast<typename W::Value>(d + 1);
    SetArithmeticFlags<W>(c, kPswN | kPswZ | kPswV, r, r == W::kSign, false);
    return r;
  });
}

template <class W>
uint16_t Decrement(Machine& m) {
  CpuState& c = m.cpu;
  return Modify<W>(m, [&c](typename W::Value d) {
    const auto r = static_cast<typename W::Value>(d - 1);
    SetArithmeticFlags<W>(c, kPswN | kPswZ | kPswV, r, r == W::kMaxPositive, false);
    return r;
  });
}

template <class W>
uint16_t Negate(Machine& m) {
  CpuState& c = m.cpu;
  return Modify<W>(m, [&c](typename W::Value d) {
    const auto r = static_cast<typename W::Value>(0 - d);
    SetArithmeticFlags<W>(c, kPswNzvc, r, d == W::kSign, r != 0);
    return r;
  });
}

// ADC and SBC set V and C only when C was set before: with C clear the operand is
// stored unchanged and V and C end cleared.
template <class W>
uint16_t AddCarry(Machine& m) {
  CpuState& c = m.cpu;
  return Modify<W>(m, [&c](typename W::Value d) {
    const bool cin = CarryIn(c);
    const auto r = static_cast<typename W::Value>(d + cin);
    SetArithmeticFlags<W>(c, kPswNzvc, r, cin && d == W::kMaxPositive, cin && d == W::kAllOnes);
    return r;
  });
}

template <class W>
uint16_t SubtractCarry(Machine& m) {
  CpuState& c = m.cpu;
  return Modify<W>(m, [&c](typename W::Value d) {
    const bool cin = CarryIn(c);
    const auto r = static_cast<typename W::Value>(d - cin);
    SetArithmeticFlags<W>(c, kPswNzvc, r, cin && d == W::kSign, cin && d == 0);
    return r;
  });
}

template <class W>
uint16_t Test(Machine& m) {
  CpuState& c = m.cpu;
  c.mask = W::kMask;
  const typename W::Value d = ReadOperand<W>(m, DestinationField(c));
  SetArithmeticFlags<W>(c, kPswNzvc, d, false, false);
  return 0;
}

// Shifts and rotates: N and C from the result and the bit shifted out, then V = N XOR C.
template <class W>
typename W::Value ShiftResult(CpuState& c, typename W::Value r, bool shifted_out) {
  SetArithmeticFlags<W>(c, kPswNzvc, r, false, shifted_out);
  SetVFromNC(c);
  return r;
}

template <class W>
uint16_t RotateRight(Machine& m) {
  CpuState& c = m.cpu;
  return Modify<W>(m, [&c](typename W::Value d) {
    const auto r = static_cast<typename W::Value>((d >> 1) | (CarryIn(c) ? W::kSign : 0));
    return ShiftResult<W>(c, r, d & 1);
  });
}

template <class W>
uint16_t RotateLeft(Machine& m) {
  CpuState& c = m.cpu;
  return Modify<W>(m, [&c](typename W::Value d) {
    const auto r = static_cast<typename W::Value>((d << 1) | (CarryIn(c) ? 1 : 0));
    return ShiftResult<W>(c, r, d & W::kSign);
  });
}

template <class W>
uint16_t ShiftRight(Machine& m) {
  CpuState& c = m.cpu;
  return Modify<W>(m, [&c](typename W::Value d) {
    const auto r = static_cast<typename W::Value>((d >> 1) | (d & W::kSign));
    return ShiftResult<W>(c, r, d & 1);
  });
}

template <class W>
uint16_t ShiftLeft(Machine& m) {
  CpuState& c = m.cpu;
  return Modify<W>(m, [&c](typename W::Value d) {
    const auto r = static_cast<typename W::Value>(d << 1);
    return ShiftResult<W>(c, r, d & W::kSign);
  });
}

}  // namespace

uint16_t OpClr(Machine& m) { return Clear<WordWidth>(m); }
uint16_t OpCom(Machine& m) { return Complement<WordWidth>(m); }
uint16_t OpInc(Machine& m) { return Increment<WordWidth>(m); }
uint16_t OpDec(Machine& m) { return Decrement<WordWidth>(m); }
uint16_t OpNeg(Machine& m) { return Negate<WordWidth>(m); }
uint16_t OpAdc(Machine& m) { return AddCarry<WordWidth>(m); }
uint16_t OpSbc(Machine& m) { return SubtractCarry<WordWidth>(m); }
uint16_t OpTst(Machine& m) { return Test<WordWidth>(m); }
uint16_t OpRor(Machine& m) { return RotateRight<WordWidth>(m); }
uint16_t OpRol(Machine& m) { return RotateLeft<WordWidth>(m); }
uint16_t OpAsr(Machine& m) { return ShiftRight<WordWidth>(m); }
uint16_t OpAsl(Machine& m) { return ShiftLeft<WordWidth>(m); }

uint16_t OpClrb(Machine& m) { return Clear<ByteWidth>(m); }
uint16_t OpComb(Machine& m) { return Complement<ByteWidth>(m); }
uint16_t OpIncb(Machine& m) { return Increment<ByteWidth>(m); }
uint16_t OpDecb(Machine& m) { return Decrement<ByteWidth>(m); }
uint16_t OpNegb(Machine& m) { return Negate<ByteWidth>(m); }
uint16_t OpAdcb(Machine& m) { return AddCarry<ByteWidth>(m); }
uint16_t OpSbcb(Machine& m) { return SubtractCarry<ByteWidth>(m); }
uint16_t OpTstb(Machine& m) { return Test<ByteWidth>(m); }
uint16_t OpRorb(Machine& m) { return RotateRight<ByteWidth>(m); }
uint16_t OpRolb(Machine& m) { return RotateLeft<ByteWidth>(m); }
uint16_t OpAsrb(Machine& m) { return ShiftRight<ByteWidth>(m); }
uint16_t OpAslb(Machine& m) { return ShiftLeft<ByteWidth>(m); }

// N and Z come from the new low byte (the former high byte).
uint16_t OpSwab(Machine& m) {
  CpuState& c = m.cpu;
  return Modify<WordWidth>(m, [&c](uint16_t d) {
    const auto r = static_cast<uint16_t>((d << 8) | (d >> 8));
    SetArithmeticFlags<ByteWidth>(c, kPswNzvc, static_cast<uint8_t>(r), false, false);
    return r;
  });
}

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
