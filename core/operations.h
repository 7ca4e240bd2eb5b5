// What the single- and double-operand instructions compute and which condition codes
// they set, once for both ways of running them: the decoder's handlers (any operand)
// and the batch handlers specialised by operand form. The codes are computed without
// branches.
#ifndef ORLAN_CORE_OPERATIONS_H_
#define ORLAN_CORE_OPERATIONS_H_

#include <cstdint>

#include "core/cpu_state.h"
#include "core/operand_width.h"

namespace orlan::ops {

template <class W>
using Value = typename W::Value;

template <class W>
inline constexpr int kBits = 8 * sizeof(Value<W>);

// N and Z of a result.
template <class W>
inline uint16_t NzBits(Value<W> result) {
  const unsigned r = result;
  return static_cast<uint16_t>(((r >> (kBits<W> - 4)) & kPswN) | (r == 0 ? kPswZ : 0));
}

// The codes of r = a + b (words): C the carry, V when r's sign differs from both.
inline uint16_t SumBits(unsigned a, unsigned b) {
  const unsigned sum = a + b;
  const unsigned r = sum & 0177777;
  return static_cast<uint16_t>(((r >> 12) & kPswN) | (r == 0 ? kPswZ : 0) |
                               ((((a ^ r) & (b ^ r)) >> 14) & kPswV) | (sum >> 16));
}

// The codes of r = a - b: C the borrow, V when a and b differ in sign and r has b's.
template <class W>
inline uint16_t DifferenceBits(unsigned a, unsigned b, unsigned r) {
  return static_cast<uint16_t>(NzBits<W>(static_cast<Value<W>>(r)) |
                               ((((a ^ b) & (a ^ r)) >> (kBits<W> - 2)) & kPswV) |
                               (a < b ? kPswC : 0));
}

// The codes in `defined` replaced by `bits`; the others kept.
inline void SetCc(CpuState& c, uint16_t defined, uint16_t bits) {
  c.psw = static_cast<uint16_t>((c.psw & ~defined) | bits);
}

inline uint16_t CarryIn(const CpuState& c) { return c.psw & kPswC; }

// N and Z from the result, V and C as given.
template <class W>
void SetNzvc(CpuState& c, Value<W> r, bool v, bool carry) {
  SetCc(c, kPswNzvc, NzBits<W>(r) | (v ? kPswV : 0) | (carry ? kPswC : 0));
}

// The logical results (MOV, BIT, BIC, BIS, XOR): N and Z, V cleared, C kept.
template <class W>
void SetLogic(CpuState& c, Value<W> r) {
  SetCc(c, kPswN | kPswZ | kPswV, NzBits<W>(r));
}

// Shifts and rotates: N and C from the result and the bit shifted out, V = N XOR C.
template <class W>
Value<W> Shifted(CpuState& c, Value<W> r, bool out) {
  const uint16_t n = static_cast<uint16_t>(r >> (kBits<W> - 1));
  const uint16_t carry = out ? 1 : 0;
  SetCc(c, kPswNzvc, NzBits<W>(r) | static_cast<uint16_t>((n ^ carry) << 1) | carry);
  return r;
}

// --- single operand: Apply<W>(c, d) gives the result and sets the codes -------------
struct Com {
  template <class W>
  static Value<W> Apply(CpuState& c, Value<W> d) {
    const auto r = static_cast<Value<W>>(~d);
    SetNzvc<W>(c, r, false, true);
    return r;
  }
};
struct Inc {
  template <class W>
  static Value<W> Apply(CpuState& c, Value<W> d) {
    const auto r = static_cast<Value<W>>(d + 1);
    SetCc(c, kPswN | kPswZ | kPswV, NzBits<W>(r) | (r == W::kSign ? kPswV : 0));
    return r;
  }
};
struct Dec {
  template <class W>
  static Value<W> Apply(CpuState& c, Value<W> d) {
    const auto r = static_cast<Value<W>>(d - 1);
    SetCc(c, kPswN | kPswZ | kPswV, NzBits<W>(r) | (r == W::kMaxPositive ? kPswV : 0));
    return r;
  }
};
struct Neg {
  template <class W>
  static Value<W> Apply(CpuState& c, Value<W> d) {
    const auto r = static_cast<Value<W>>(0 - d);
    SetNzvc<W>(c, r, d == W::kSign, r != 0);
    return r;
  }
};
// With C clear, ADC and SBC store the operand unchanged and clear V and C.
struct Adc {
  template <class W>
  static Value<W> Apply(CpuState& c, Value<W> d) {
    const bool cin = CarryIn(c) != 0;
    const auto r = static_cast<Value<W>>(d + (cin ? 1 : 0));
    SetNzvc<W>(c, r, cin && d == W::kMaxPositive, cin && d == W::kAllOnes);
    return r;
  }
};
struct Sbc {
  template <class W>
  static Value<W> Apply(CpuState& c, Value<W> d) {
    const bool cin = CarryIn(c) != 0;
    const auto r = static_cast<Value<W>>(d - (cin ? 1 : 0));
    SetNzvc<W>(c, r, cin && d == W::kSign, cin && d == 0);
    return r;
  }
};
struct Ror {
  template <class W>
  static Value<W> Apply(CpuState& c, Value<W> d) {
    const auto r = static_cast<Value<W>>((d >> 1) | (CarryIn(c) ? W::kSign : 0));
    return Shifted<W>(c, r, d & 1);
  }
};
struct Rol {
  template <class W>
  static Value<W> Apply(CpuState& c, Value<W> d) {
    const auto r = static_cast<Value<W>>((d << 1) | CarryIn(c));
    return Shifted<W>(c, r, (d & W::kSign) != 0);
  }
};
struct Asr {
  template <class W>
  static Value<W> Apply(CpuState& c, Value<W> d) {
    const auto r = static_cast<Value<W>>((d >> 1) | (d & W::kSign));
    return Shifted<W>(c, r, d & 1);
  }
};
struct Asl {
  template <class W>
  static Value<W> Apply(CpuState& c, Value<W> d) {
    const auto r = static_cast<Value<W>>(d << 1);
    return Shifted<W>(c, r, (d & W::kSign) != 0);
  }
};
// N and Z come from the new low byte (the former high byte).
struct Swab {
  template <class W>
  static uint16_t Apply(CpuState& c, uint16_t d) {
    const auto r = static_cast<uint16_t>((d << 8) | (d >> 8));
    SetCc(c, kPswNzvc, NzBits<ByteWidth>(static_cast<uint8_t>(r)));
    return r;
  }
};

// --- double operand: source s, destination d ---------------------------------------
// Read only (CMP, BIT): Apply<W>(c, s, d) sets the codes.
struct Cmp {
  template <class W>
  static void Apply(CpuState& c, Value<W> s, Value<W> d) {
    SetCc(c, kPswNzvc, DifferenceBits<W>(s, d, static_cast<Value<W>>(s - d)));
  }
};
struct Bit {
  template <class W>
  static void Apply(CpuState& c, Value<W> s, Value<W> d) {
    SetLogic<W>(c, static_cast<Value<W>>(s & d));
  }
};
// Read-modify-write (BIC, BIS, ADD, SUB): Apply<W>(c, s, d) gives the new destination.
struct Bic {
  template <class W>
  static Value<W> Apply(CpuState& c, Value<W> s, Value<W> d) {
    const auto r = static_cast<Value<W>>(d & ~s);
    SetLogic<W>(c, r);
    return r;
  }
};
struct Bis {
  template <class W>
  static Value<W> Apply(CpuState& c, Value<W> s, Value<W> d) {
    const auto r = static_cast<Value<W>>(d | s);
    SetLogic<W>(c, r);
    return r;
  }
};
struct Add {
  template <class W>
  static uint16_t Apply(CpuState& c, uint16_t s, uint16_t d) {
    SetCc(c, kPswNzvc, SumBits(d, s));
    return static_cast<uint16_t>(d + s);
  }
};
struct Sub {
  template <class W>
  static uint16_t Apply(CpuState& c, uint16_t s, uint16_t d) {
    const auto r = static_cast<uint16_t>(d - s);
    SetCc(c, kPswNzvc, DifferenceBits<W>(d, s, r));
    return r;
  }
};

}  // namespace orlan::ops

#endif  // ORLAN_CORE_OPERATIONS_H_
