// What the single- and double-operand instructions compute and which condition codes
// they set, once for both ways of running them: the decoder's handlers (any operand,
// codes into the PSW) and the batch handlers specialised by operand form (codes kept
// lazily).
#ifndef ORLAN_CORE_OPERATIONS_H_
#define ORLAN_CORE_OPERATIONS_H_

#include <cstdint>

#include "core/condition_codes.h"
#include "core/operand_width.h"

namespace orlan::ops {

// Each Apply takes the codes' destination `cc` (PswCodes or LazyCodes) and sets the
// codes its instruction defines.

// Shifts and rotates: N and C from the result and the bit shifted out, V = N XOR C.
template <class W, class Codes>
Value<W> Shifted(Codes cc, Value<W> r, bool out) {
  const bool n = (r >> (kBits<W> - 1)) != 0;
  cc.template Nzvc<W>(r, n != out, out);
  return r;
}

// --- single operand: Apply<W>(cc, d) gives the result and sets the codes -------------
struct Com {
  template <class W, class Codes>
  static Value<W> Apply(Codes cc, Value<W> d) {
    const auto r = static_cast<Value<W>>(~d);
    cc.template Nzvc<W>(r, false, true);
    return r;
  }
};
struct Inc {
  template <class W, class Codes>
  static Value<W> Apply(Codes cc, Value<W> d) {
    const auto r = static_cast<Value<W>>(d + 1);
    cc.template Nzv<W>(r, r == W::kSign);
    return r;
  }
};
struct Dec {
  template <class W, class Codes>
  static Value<W> Apply(Codes cc, Value<W> d) {
    const auto r = static_cast<Value<W>>(d - 1);
    cc.template Nzv<W>(r, r == W::kMaxPositive);
    return r;
  }
};
struct Neg {
  template <class W, class Codes>
  static Value<W> Apply(Codes cc, Value<W> d) {
    const auto r = static_cast<Value<W>>(0 - d);
    cc.template Nzvc<W>(r, d == W::kSign, r != 0);
    return r;
  }
};
// With C clear, ADC and SBC store the operand unchanged and clear V and C.
struct Adc {
  template <class W, class Codes>
  static Value<W> Apply(Codes cc, Value<W> d) {
    const bool cin = cc.Carry() != 0;
    const auto r = static_cast<Value<W>>(d + (cin ? 1 : 0));
    cc.template Nzvc<W>(r, cin && d == W::kMaxPositive, cin && d == W::kAllOnes);
    return r;
  }
};
struct Sbc {
  template <class W, class Codes>
  static Value<W> Apply(Codes cc, Value<W> d) {
    const bool cin = cc.Carry() != 0;
    const auto r = static_cast<Value<W>>(d - (cin ? 1 : 0));
    cc.template Nzvc<W>(r, cin && d == W::kSign, cin && d == 0);
    return r;
  }
};
struct Ror {
  template <class W, class Codes>
  static Value<W> Apply(Codes cc, Value<W> d) {
    const auto r = static_cast<Value<W>>((d >> 1) | (cc.Carry() ? W::kSign : 0));
    return Shifted<W>(cc, r, d & 1);
  }
};
struct Rol {
  template <class W, class Codes>
  static Value<W> Apply(Codes cc, Value<W> d) {
    const auto r = static_cast<Value<W>>((d << 1) | cc.Carry());
    return Shifted<W>(cc, r, (d & W::kSign) != 0);
  }
};
struct Asr {
  template <class W, class Codes>
  static Value<W> Apply(Codes cc, Value<W> d) {
    const auto r = static_cast<Value<W>>((d >> 1) | (d & W::kSign));
    return Shifted<W>(cc, r, d & 1);
  }
};
struct Asl {
  template <class W, class Codes>
  static Value<W> Apply(Codes cc, Value<W> d) {
    const auto r = static_cast<Value<W>>(d << 1);
    return Shifted<W>(cc, r, (d & W::kSign) != 0);
  }
};
// N and Z come from the new low byte (the former high byte).
struct Swab {
  template <class W, class Codes>
  static uint16_t Apply(Codes cc, uint16_t d) {
    const auto r = static_cast<uint16_t>((d << 8) | (d >> 8));
    cc.template Nzvc<ByteWidth>(static_cast<uint8_t>(r), false, false);
    return r;
  }
};

// --- double operand: source s, destination d ---------------------------------------
// Read only (CMP, BIT): Apply<W>(cc, s, d) sets the codes.
struct Cmp {
  template <class W, class Codes>
  static void Apply(Codes cc, Value<W> s, Value<W> d) {
    cc.template Difference<W>(s, d, static_cast<Value<W>>(s - d));
  }
};
struct Bit {
  template <class W, class Codes>
  static void Apply(Codes cc, Value<W> s, Value<W> d) {
    cc.template Logic<W>(static_cast<Value<W>>(s & d));
  }
};
// Read-modify-write (BIC, BIS, ADD, SUB): Apply<W>(cc, s, d) gives the new destination.
struct Bic {
  template <class W, class Codes>
  static Value<W> Apply(Codes cc, Value<W> s, Value<W> d) {
    const auto r = static_cast<Value<W>>(d & ~s);
    cc.template Logic<W>(r);
    return r;
  }
};
struct Bis {
  template <class W, class Codes>
  static Value<W> Apply(Codes cc, Value<W> s, Value<W> d) {
    const auto r = static_cast<Value<W>>(d | s);
    cc.template Logic<W>(r);
    return r;
  }
};
struct Add {
  template <class W, class Codes>
  static uint16_t Apply(Codes cc, uint16_t s, uint16_t d) {
    cc.Sum(d, s);
    return static_cast<uint16_t>(d + s);
  }
};
struct Sub {
  template <class W, class Codes>
  static uint16_t Apply(Codes cc, uint16_t s, uint16_t d) {
    const auto r = static_cast<uint16_t>(d - s);
    cc.template Difference<W>(d, s, r);
    return r;
  }
};

}  // namespace orlan::ops

#endif  // ORLAN_CORE_OPERATIONS_H_
