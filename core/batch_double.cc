// Double-operand instructions and XOR for the batch loop, one handler per pair of
// operand forms. The source is located and read completely before the destination.
#include <array>
#include <utility>

#include "core/batch_handlers.h"
#include "core/batch_operand.h"

namespace orlan::batch {
namespace {

enum class Kind { kRead, kWrite, kModify };

struct Mov {
  static constexpr Kind kKind = Kind::kWrite;
  template <class W>
  static void Flags(CpuState& c, typename W::Value s) {
    SetCc(c, kPswN | kPswZ | kPswV, NzBits<W>(s));
  }
};

struct Cmp {
  static constexpr Kind kKind = Kind::kRead;
  template <class W>
  static void Apply(CpuState& c, typename W::Value s, typename W::Value d) {
    const auto r = static_cast<typename W::Value>(s - d);
    const unsigned k = (~s & (d | r)) | (d & r);
    SetCc(c, kPswNzvc, NzBits<W>(r) | CarryBits<W>(k));
  }
};

struct Bit {
  static constexpr Kind kKind = Kind::kRead;
  template <class W>
  static void Apply(CpuState& c, typename W::Value s, typename W::Value d) {
    SetCc(c, kPswN | kPswZ | kPswV, NzBits<W>(static_cast<typename W::Value>(s & d)));
  }
};

struct Bic {
  static constexpr Kind kKind = Kind::kModify;
  template <class W>
  static typename W::Value Apply(CpuState& c, typename W::Value s, typename W::Value d) {
    const auto r = static_cast<typename W::Value>(d & ~s);
    SetCc(c, kPswN | kPswZ | kPswV, NzBits<W>(r));
    return r;
  }
};

struct Bis {
  static constexpr Kind kKind = Kind::kModify;
  template <class W>
  static typename W::Value Apply(CpuState& c, typename W::Value s, typename W::Value d) {
    const auto r = static_cast<typename W::Value>(d | s);
    SetCc(c, kPswN | kPswZ | kPswV, NzBits<W>(r));
    return r;
  }
};

struct Add {
  static constexpr Kind kKind = Kind::kModify;
  template <class W>
  static uint16_t Apply(CpuState& c, uint16_t s, uint16_t d) {
    const auto r = static_cast<uint16_t>(d + s);
    const unsigned k = (d & s) | ((d | s) & ~r);
    SetCc(c, kPswNzvc, NzBits<W>(r) | CarryBits<W>(k));
    return r;
  }
};

struct Sub {
  static constexpr Kind kKind = Kind::kModify;
  template <class W>
  static uint16_t Apply(CpuState& c, uint16_t s, uint16_t d) {
    const auto r = static_cast<uint16_t>(d - s);
    const unsigned k = (~d & (s | r)) | (s & r);
    SetCc(c, kPswNzvc, NzBits<W>(r) | CarryBits<W>(k));
    return r;
  }
};

template <class Op, class W, unsigned kSrc, unsigned kDst>
uint16_t Double(Machine& m, uint16_t pc, uint16_t ir) {
  using V = typename W::Value;
  CpuState& c = m.cpu;
  if constexpr (kIsByte<W>) c.mask = kByteMask;  // the fetch left the word mask
  const V s = W::Load(ForRead<W, kSrc>(m, pc, (ir >> 6) & 7).at);
  const unsigned dn = ir & 7;
  if constexpr (Op::kKind == Kind::kRead) {
    Op::template Apply<W>(c, s, W::Load(ForRead<W, kDst>(m, pc, dn).at));
  } else if constexpr (Op::kKind == Kind::kWrite) {
    if constexpr (kIsByte<W> && kDst / 2 == 0) {
      // MOVB into a register sign-extends the byte into the whole register.
      SetReg(c, dn, static_cast<uint16_t>(SignedByte(s)));
    } else {
      W::Store(ForWrite<W, kDst>(m, pc, dn), s);
    }
    Op::template Flags<W>(c, s);
  } else {
    const Operand d = ForRead<W, kDst>(m, pc, dn);
    const V r = Op::template Apply<W>(c, s, W::Load(d.at));
    W::Store(RmwLocation<kDst>(m, pc, d), r);
  }
  return pc;
}

// The destination is located and read first, so XOR R2,(R2)+ uses R2 after the
// increment; C is left as it is.
template <unsigned kDst>
uint16_t Xor(Machine& m, uint16_t pc, uint16_t ir) {
  CpuState& c = m.cpu;
  const Operand d = ForRead<WordWidth, kDst>(m, pc, ir & 7);
  const auto r = static_cast<uint16_t>(Reg(c, (ir >> 6) & 7) ^ LoadWord(d.at));
  SetCc(c, kPswN | kPswZ | kPswV, NzBits<WordWidth>(r));
  StoreWord(RmwLocation<kDst>(m, pc, d), r);
  return pc;
}

template <class Op, class W, std::size_t kIndex>
constexpr BatchHandler DoubleAt() {
  constexpr unsigned kSrc = kIndex / kForms, kDst = kIndex % kForms;
  if constexpr (Specialised(kSrc) && Specialised(kDst)) {
    return &Double<Op, W, kSrc, kDst>;
  } else {
    return nullptr;
  }
}

template <class Op, class W, std::size_t... kIndex>
constexpr std::array<BatchHandler, kForms * kForms> MakeDouble(std::index_sequence<kIndex...>) {
  return {DoubleAt<Op, W, kIndex>()...};
}

template <class Op, class W>
BatchHandler DoubleFor(uint16_t word) {
  static constexpr auto kTable = MakeDouble<Op, W>(std::make_index_sequence<kForms * kForms>());
  return kTable[FormOf((word >> 6) & 077) * kForms + FormOf(word & 077)];
}

template <std::size_t kForm>
constexpr BatchHandler XorAt() {
  if constexpr (Specialised(kForm)) {
    return &Xor<kForm>;
  } else {
    return nullptr;
  }
}

template <std::size_t... kForm>
constexpr std::array<BatchHandler, kForms> MakeXor(std::index_sequence<kForm...>) {
  return {XorAt<kForm>()...};
}

}  // namespace

BatchHandler DoubleOperandHandler(Handler h, uint16_t word) {
  if (h == &OpMov) return DoubleFor<Mov, WordWidth>(word);
  if (h == &OpCmp) return DoubleFor<Cmp, WordWidth>(word);
  if (h == &OpBit) return DoubleFor<Bit, WordWidth>(word);
  if (h == &OpBic) return DoubleFor<Bic, WordWidth>(word);
  if (h == &OpBis) return DoubleFor<Bis, WordWidth>(word);
  if (h == &OpAdd) return DoubleFor<Add, WordWidth>(word);
  if (h == &OpSub) return DoubleFor<Sub, WordWidth>(word);
  if (h == &OpMovb) return DoubleFor<Mov, ByteWidth>(word);
  if (h == &OpCmpb) return DoubleFor<Cmp, ByteWidth>(word);
  if (h == &OpBitb) return DoubleFor<Bit, ByteWidth>(word);
  if (h == &OpBicb) return DoubleFor<Bic, ByteWidth>(word);
  if (h == &OpBisb) return DoubleFor<Bis, ByteWidth>(word);
  if (h == &OpXor && ((word >> 6) & 7) != 7) {
    static constexpr auto kXor = MakeXor(std::make_index_sequence<kForms>());
    return kXor[FormOf(word & 077)];
  }
  return nullptr;
}

}  // namespace orlan::batch
