// Where the instructions put the condition codes: straight into the PSW (PswCodes), or,
// in the batch loop, as the values the codes come from (LazyCodes), made into PSW bits
// only when a branch or the end of the batch reads them. Both offer the same setters,
// so each instruction's codes are defined once (core/operations.h).
#ifndef ORLAN_CORE_CONDITION_CODES_H_
#define ORLAN_CORE_CONDITION_CODES_H_

#include <cstdint>

#include "core/cpu_state.h"

namespace orlan {

// The codes as values: N is the sign of `nz`, Z whether its low 16 bits are zero, V the
// sign of `v`, C the low bit of `c`. A result sign-extended to 32 bits gives N and Z
// directly; -65536 holds N and Z together, which a PSW loaded by MTPS or RTI may have.
struct CodeSources {
  int32_t nz = 1;
  int32_t v = 0;
  uint32_t c = 0;
};

constexpr uint16_t CodeBits(const CodeSources& s) {
  return static_cast<uint16_t>(((static_cast<uint32_t>(s.nz) >> 31) << 3) |
                               (static_cast<uint16_t>(s.nz) == 0 ? kPswZ : 0) |
                               ((static_cast<uint32_t>(s.v) >> 31) << 1) | (s.c & 1));
}

constexpr CodeSources SourcesOf(uint16_t psw) {
  const bool n = psw & kPswN, z = psw & kPswZ;
  return {n ? (z ? -65536 : -1) : (z ? 0 : 1), (psw & kPswV) ? -1 : 0,
          static_cast<uint32_t>(psw & kPswC)};
}

constexpr bool EveryCodeSurvivesTheRoundTrip() {
  for (uint16_t bits = 0; bits <= kPswNzvc; ++bits) {
    if (CodeBits(SourcesOf(bits)) != bits) return false;
  }
  return true;
}
static_assert(EveryCodeSurvivesTheRoundTrip());

// The PSW with its codes taken from `s`.
constexpr uint16_t WithCodes(uint16_t psw, const CodeSources& s) {
  return static_cast<uint16_t>((psw & ~kPswNzvc) | CodeBits(s));
}

template <class W>
using Value = typename W::Value;

// A result's sign extended to 32 bits.
template <class W>
constexpr int32_t Extended(Value<W> r) {
  if constexpr (sizeof(Value<W>) == 1) {
    return static_cast<int8_t>(r);
  } else {
    return static_cast<int16_t>(r);
  }
}

template <class W>
inline constexpr int kBits = 8 * sizeof(Value<W>);

// N and Z of a result.
template <class W>
constexpr uint16_t NzBits(Value<W> result) {
  const unsigned r = result;
  return static_cast<uint16_t>(((r >> (kBits<W> - 4)) & kPswN) | (r == 0 ? kPswZ : 0));
}

// The PSW's codes, set at once.
class PswCodes {
 public:
  explicit PswCodes(CpuState& c) : c_(c) {}
  uint16_t Carry() const { return c_.psw & kPswC; }
  // N and Z from the result, V cleared, C kept (MOV, BIT, BIC, BIS, XOR).
  template <class W>
  void Logic(Value<W> r) {
    Set(kPswN | kPswZ | kPswV, NzBits<W>(r));
  }
  // N and Z from the result, V as given, C kept (INC, DEC).
  template <class W>
  void Nzv(Value<W> r, bool v) {
    Set(kPswN | kPswZ | kPswV, NzBits<W>(r) | (v ? kPswV : 0));
  }
  template <class W>
  void Nzvc(Value<W> r, bool v, bool carry) {
    Set(kPswNzvc, NzBits<W>(r) | (v ? kPswV : 0) | (carry ? kPswC : 0));
  }
  // r = a + b on words: C the carry, V when r's sign differs from both.
  void Sum(unsigned a, unsigned b) {
    const unsigned sum = a + b;
    const unsigned r = sum & 0177777;
    Set(kPswNzvc, static_cast<uint16_t>(((r >> 12) & kPswN) | (r == 0 ? kPswZ : 0) |
                                        ((((a ^ r) & (b ^ r)) >> 14) & kPswV) | (sum >> 16)));
  }
  // r = a - b: C the borrow, V when a and b differ in sign and r has b's.
  template <class W>
  void Difference(unsigned a, unsigned b, unsigned r) {
    Set(kPswNzvc, static_cast<uint16_t>(NzBits<W>(static_cast<Value<W>>(r)) |
                                        ((((a ^ b) & (a ^ r)) >> (kBits<W> - 2)) & kPswV) |
                                        (a < b ? kPswC : 0)));
  }

 private:
  void Set(uint16_t defined, uint16_t bits) {
    c_.psw = static_cast<uint16_t>((c_.psw & ~defined) | bits);
  }
  CpuState& c_;
};

// The batch loop's codes, kept as values: each setter is a few stores, no bit work.
class LazyCodes {
 public:
  explicit LazyCodes(CodeSources& s) : s_(s) {}
  uint16_t Carry() const { return static_cast<uint16_t>(s_.c & 1); }
  template <class W>
  void Logic(Value<W> r) {
    s_.nz = Extended<W>(r);
    s_.v = 0;
  }
  template <class W>
  void Nzv(Value<W> r, bool v) {
    s_.nz = Extended<W>(r);
    s_.v = -static_cast<int32_t>(v);
  }
  template <class W>
  void Nzvc(Value<W> r, bool v, bool carry) {
    Nzv<W>(r, v);
    s_.c = carry;
  }
  // Bit 15 of the 17-bit sum is the result's sign, so the sum serves for N, Z and V.
  void Sum(unsigned a, unsigned b) {
    const unsigned sum = a + b;
    s_.nz = static_cast<int16_t>(sum);
    s_.v = static_cast<int16_t>((a ^ sum) & (b ^ sum));
    s_.c = sum >> 16;
  }
  template <class W>
  void Difference(unsigned a, unsigned b, unsigned r) {
    s_.nz = Extended<W>(static_cast<Value<W>>(r));
    s_.v = Extended<W>(static_cast<Value<W>>((a ^ b) & (a ^ r)));
    s_.c = a < b;
  }

 private:
  CodeSources& s_;
};

}  // namespace orlan

#endif  // ORLAN_CORE_CONDITION_CODES_H_
