// Register-operand instructions: MUL, DIV, ASH, ASHC and XOR. All are word
// instructions. Which of the register and the other operand is read first matters
// when the other operand's mode changes the register, so each handler keeps its order.
#include <cstdint>

#include "core/instructions.h"
#include "core/operand_width.h"
#include "core/operations.h"

namespace orlan {
namespace {

// The partner of a register pair: R+1 for an even R, R itself for an odd R.
int PairOf(int r) { return r | 1; }

uint16_t ReadWordOperand(Machine& m) {
  m.cpu.mask = kWordMask;
  return ReadOperand<WordWidth>(m, DestinationField(m.cpu));
}

uint32_t ReadPair(const CpuState& c, int r) {
  return (static_cast<uint32_t>(c.R(r)) << 16) | c.R(PairOf(r));
}

// R receives the high word first, then R|1 the low word, so an odd R ends with the low.
void WritePair(CpuState& c, int r, uint32_t v) {
  c.SetR(r, static_cast<uint16_t>(v >> 16));
  c.SetR(PairOf(r), static_cast<uint16_t>(v));
}

void SetNZ64(CpuState& c, int64_t v) {
  if (v < 0) c.psw |= kPswN;
  if (v == 0) c.psw |= kPswZ;
}

bool FitsInWord(int64_t v) { return v >= -32768 && v <= 32767; }

// True when bits `top` down to `top - count` of `v` are all equal, that is when a left
// shift by `count` keeps the sign at every step.
bool SignKept(uint32_t v, int top, int count) {
  const uint32_t field = (v >> (top - count)) & ((uint32_t{2} << count) - 1);
  return field == 0 || field == ((uint32_t{2} << count) - 1);
}

}  // namespace

// The source is read before the register.
uint16_t OpMul(Machine& m) {
  CpuState& c = m.cpu;
  const int r = RegisterField(c);
  const int32_t s = SignedWord(ReadWordOperand(m));
  const int32_t p = SignedWord(c.R(r)) * s;
  ClearCc(c, kPswNzvc);
  SetNZ(c, p);
  if (!FitsInWord(p)) c.psw |= kPswC;
  WritePair(c, r, static_cast<uint32_t>(p));
  return 0;
}

// The divisor is read before the dividend. The registers are written also when the
// quotient overflows: R|1 the low word of the remainder, then R the low word of the
// quotient. The arithmetic is 64-bit, so that -2147483648 / -1 cannot fault: its
// quotient 2147483648 is taken as it is, giving V = 1, N = 0 and Z = 0 (from the true
// quotient), R = 0 (its low word) and R|1 = 0 (the remainder).
uint16_t OpDiv(Machine& m) {
  CpuState& c = m.cpu;
  const int r = RegisterField(c);
  const int64_t d = SignedWord(ReadWordOperand(m));
  ClearCc(c, kPswNzvc);
  if (d == 0) {
    c.psw |= kPswV | kPswC;
    return 0;
  }
  const int64_t n = static_cast<int32_t>(ReadPair(c, r));
  const int64_t q = n / d;  // truncated toward zero
  const int64_t rem = n - q * d;
  c.SetR(PairOf(r), static_cast<uint16_t>(rem));
  c.SetR(r, static_cast<uint16_t>(q));
  SetNZ64(c, q);
  if (!FitsInWord(q)) c.psw |= kPswV;
  return 0;
}

// The register is read before the source is located. Counts 1-31 shift left, 32-63
// shift right by 64 - count.
uint16_t OpAsh(Machine& m) {
  CpuState& c = m.cpu;
  const int r = RegisterField(c);
  const uint16_t value = c.R(r);
  const int count = ReadWordOperand(m) & 077;
  ClearCc(c, kPswNzvc);
  uint16_t result = value;
  if (count >= 1 && count <= 15) {
    if ((value >> (16 - count)) & 1) c.psw |= kPswC;
    if (!SignKept(value, 15, count)) c.psw |= kPswV;
    result = static_cast<uint16_t>(value << count);
  } else if (count >= 16 && count <= 31) {
    result = 0;
    if (value != 0) c.psw |= kPswV;
    if (count == 16 && (value & 1)) c.psw |= kPswC;
  } else if (count >= 32) {
    const int n = 64 - count > 16 ? 16 : 64 - count;
    const int32_t extended = SignedWord(value);
    if ((extended >> (n - 1)) & 1) c.psw |= kPswC;
    result = static_cast<uint16_t>(extended >> n);
  }
  c.SetR(r, result);
  SetNZ(c, SignedWord(result));
  return 0;
}

// The register pair is read before the source is located.
uint16_t OpAshc(Machine& m) {
  CpuState& c = m.cpu;
  const int r = RegisterField(c);
  uint32_t value = ReadPair(c, r);
  const int count = ReadWordOperand(m) & 077;
  ClearCc(c, kPswNzvc);
  if (count >= 1 && count <= 31) {
    if ((value >> (32 - count)) & 1) c.psw |= kPswC;
    if (!SignKept(value, 31, count)) c.psw |= kPswV;
    value <<= count;
  } else if (count >= 32) {
    const int n = 64 - count;  // 1 to 32
    const int64_t extended = static_cast<int32_t>(value);
    if ((extended >> (n - 1)) & 1) c.psw |= kPswC;
    value = static_cast<uint32_t>(extended >> n);
  }
  WritePair(c, r, value);
  SetNZ(c, static_cast<int32_t>(value));
  return 0;
}

// The destination is located and read first, so XOR R2,(R2)+ uses R2 after the
// increment. C is left as it is.
uint16_t OpXor(Machine& m) {
  CpuState& c = m.cpu;
  c.mask = kWordMask;
  const int r = RegisterField(c);
  ModifyOperand<WordWidth>(m, DestinationField(c), [&c, r](uint16_t d) {
    const auto x = static_cast<uint16_t>(c.R(r) ^ d);
    PswCodes(c).Logic<WordWidth>(x);
    return x;
  });
  return 0;
}

}  // namespace orlan
