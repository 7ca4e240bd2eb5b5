// Single-operand instructions (CLR through ASL, their byte forms and SWAB) for the
// batch loop, one handler per operand form.
#include <array>
#include <utility>

#include "core/batch_handlers.h"
#include "core/batch_operand.h"

namespace orlan::batch {
namespace {

template <class W>
using Value = typename W::Value;

uint16_t CarryIn(const CpuState& c) { return c.psw & kPswC; }

// N and Z from the result, V and C as given.
template <class W>
void SetNzvc(CpuState& c, Value<W> r, bool v, bool carry) {
  SetCc(c, kPswNzvc, NzBits<W>(r) | (v ? kPswV : 0) | (carry ? kPswC : 0));
}

// Shifts and rotates: N and C from the result and the bit shifted out, V = N XOR C.
template <class W>
Value<W> Shifted(CpuState& c, Value<W> r, bool out) {
  const uint16_t n = static_cast<uint16_t>(r >> (kBits<W> - 1));
  const uint16_t carry = out ? 1 : 0;
  SetCc(c, kPswNzvc, NzBits<W>(r) | static_cast<uint16_t>((n ^ carry) << 1) | carry);
  return r;
}

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
struct Clr {};  // write only: never read
struct Tst {};

template <class Op, class W, unsigned kForm>
uint16_t Single(Machine& m, uint16_t pc, uint16_t ir) {
  CpuState& c = m.cpu;
  if constexpr (kIsByte<W>) c.mask = kByteMask;  // the fetch left the word mask
  const unsigned n = ir & 7;
  if constexpr (std::is_same_v<Op, Clr>) {
    W::Store(ForWrite<W, kForm>(m, pc, n), 0);
    SetCc(c, kPswNzvc, kPswZ);
  } else if constexpr (std::is_same_v<Op, Tst>) {
    SetNzvc<W>(c, W::Load(ForRead<W, kForm>(m, pc, n).at), false, false);
  } else {
    const Operand d = ForRead<W, kForm>(m, pc, n);
    const Value<W> r = Op::template Apply<W>(c, W::Load(d.at));
    W::Store(RmwLocation<kForm>(m, pc, d), r);
  }
  return pc;
}

template <class Op, class W, std::size_t kForm>
constexpr BatchHandler SingleAt() {
  if constexpr (Specialised(kForm)) {
    return &Single<Op, W, kForm>;
  } else {
    return nullptr;
  }
}

template <class Op, class W, std::size_t... kForm>
constexpr std::array<BatchHandler, kForms> MakeSingle(std::index_sequence<kForm...>) {
  return {SingleAt<Op, W, kForm>()...};
}

template <class Op, class W>
BatchHandler SingleFor(uint16_t word) {
  static constexpr auto kTable = MakeSingle<Op, W>(std::make_index_sequence<kForms>());
  return kTable[FormOf(word & 077)];
}

template <class Op>
BatchHandler Both(Handler h, Handler word_handler, Handler byte_handler, uint16_t word) {
  if (h == word_handler) return SingleFor<Op, WordWidth>(word);
  if (h == byte_handler) return SingleFor<Op, ByteWidth>(word);
  return nullptr;
}

}  // namespace

BatchHandler SingleOperandHandler(Handler h, uint16_t word) {
  BatchHandler b = nullptr;
  if ((b = Both<Clr>(h, &OpClr, &OpClrb, word))) return b;
  if ((b = Both<Com>(h, &OpCom, &OpComb, word))) return b;
  if ((b = Both<Inc>(h, &OpInc, &OpIncb, word))) return b;
  if ((b = Both<Dec>(h, &OpDec, &OpDecb, word))) return b;
  if ((b = Both<Neg>(h, &OpNeg, &OpNegb, word))) return b;
  if ((b = Both<Adc>(h, &OpAdc, &OpAdcb, word))) return b;
  if ((b = Both<Sbc>(h, &OpSbc, &OpSbcb, word))) return b;
  if ((b = Both<Tst>(h, &OpTst, &OpTstb, word))) return b;
  if ((b = Both<Ror>(h, &OpRor, &OpRorb, word))) return b;
  if ((b = Both<Rol>(h, &OpRol, &OpRolb, word))) return b;
  if ((b = Both<Asr>(h, &OpAsr, &OpAsrb, word))) return b;
  if ((b = Both<Asl>(h, &OpAsl, &OpAslb, word))) return b;
  if (h == &OpSwab) return SingleFor<Swab, WordWidth>(word);
  return nullptr;
}

}  // namespace orlan::batch
