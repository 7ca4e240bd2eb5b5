// Double-operand instructions and XOR for the batch loop, one handler per pair of
// operand forms. The source is located and read completely before the destination.
#include <array>
#include <utility>

#include "core/batch_handlers.h"
#include "core/batch_operand.h"

namespace orlan::batch {
namespace {

enum class Kind { kRead, kWrite, kModify };

struct Mov {};  // write only: the destination is never read

// How each operation uses its destination.
template <class Op>
inline constexpr Kind kKindOf = Kind::kModify;
template <>
inline constexpr Kind kKindOf<Mov> = Kind::kWrite;
template <>
inline constexpr Kind kKindOf<ops::Cmp> = Kind::kRead;
template <>
inline constexpr Kind kKindOf<ops::Bit> = Kind::kRead;

template <class Op, class W, unsigned kSrc, unsigned kDst, class Cells = CellsFromWord>
uint16_t Double(Machine& m, uint16_t pc, uint32_t ir) {
  using V = typename W::Value;
  CpuState& c = m.cpu;
  if constexpr (kIsByte<W>) c.mask = kByteMask;
  const V s = W::Load(ForRead<W, kSrc>(m, pc, Cells::Source(ir)).at);
  const unsigned dn = Cells::Destination(ir);
  if constexpr (kKindOf<Op> == Kind::kRead) {
    Op::template Apply<W>(Codes(m), s, W::Load(ForRead<W, kDst>(m, pc, dn).at));
  } else if constexpr (kKindOf<Op> == Kind::kWrite) {
    if constexpr (kIsByte<W> && kDst / 2 == 0) {
      // MOVB into a register sign-extends the byte into the whole register.
      SetReg(c, dn, static_cast<uint16_t>(SignedByte(s)));
    } else {
      W::Store(ForWrite<W, kDst>(m, pc, dn), s);
    }
    Codes(m).Logic<W>(s);
  } else {
    const Operand d = ForRead<W, kDst>(m, pc, dn);
    const V r = Op::template Apply<W>(Codes(m), s, W::Load(d.at));
    W::Store(RmwLocation<kDst>(m, pc, d), r);
  }
  return pc;
}

// The destination is located and read first, so XOR R2,(R2)+ uses R2 after the
// increment; C is left as it is.
template <unsigned kDst, class Cells = CellsFromWord>
uint16_t Xor(Machine& m, uint16_t pc, uint32_t ir) {
  CpuState& c = m.cpu;
  const Operand d = ForRead<WordWidth, kDst>(m, pc, Cells::Destination(ir));
  const auto r = static_cast<uint16_t>(Reg(c, Cells::Source(ir)) ^ LoadWord(d.at));
  Codes(m).Logic<WordWidth>(r);
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

// Register operands, by source and destination register (PC as a register is left to
// the decoder's handlers).
template <class Op, class W, std::size_t kIndex>
constexpr BatchHandler RegistersAt() {
  constexpr unsigned kSource = kIndex / 8, kDestination = kIndex % 8;
  if constexpr (kSource == kPc || kDestination == kPc) {
    return nullptr;
  } else {
    return &Double<Op, W, 0, 0, FixedCells<kSource, kDestination>>;
  }
}

template <class Op, class W, std::size_t... kIndex>
constexpr std::array<BatchHandler, 64> MakeRegisters(std::index_sequence<kIndex...>) {
  return {RegistersAt<Op, W, kIndex>()...};
}

// Whether both operands of a double-operand word are registers (mode 0), and its
// registers as an index of 0-63.
constexpr bool RegisterOperands(uint16_t word) { return (word & 07070) == 0; }
constexpr unsigned RegisterPair(uint16_t word) { return ((word >> 6) & 7) * 8 + (word & 7); }

template <class Op, class W>
BatchHandler DoubleFor(uint16_t word) {
  static constexpr auto kRegisters = MakeRegisters<Op, W>(std::make_index_sequence<64>());
  if (RegisterOperands(word)) return kRegisters[RegisterPair(word)];
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

template <std::size_t kIndex>
constexpr BatchHandler XorRegistersAt() {
  constexpr unsigned kSource = kIndex / 8, kDestination = kIndex % 8;
  if constexpr (kSource == kPc || kDestination == kPc) {
    return nullptr;
  } else {
    return &Xor<0, FixedCells<kSource, kDestination>>;
  }
}

template <std::size_t... kIndex>
constexpr std::array<BatchHandler, 64> MakeXorRegisters(std::index_sequence<kIndex...>) {
  return {XorRegistersAt<kIndex>()...};
}

}  // namespace

BatchHandler DoubleOperandHandler(Handler h, uint16_t word) {
  if (h == &OpMov) return DoubleFor<Mov, WordWidth>(word);
  if (h == &OpCmp) return DoubleFor<ops::Cmp, WordWidth>(word);
  if (h == &OpBit) return DoubleFor<ops::Bit, WordWidth>(word);
  if (h == &OpBic) return DoubleFor<ops::Bic, WordWidth>(word);
  if (h == &OpBis) return DoubleFor<ops::Bis, WordWidth>(word);
  if (h == &OpAdd) return DoubleFor<ops::Add, WordWidth>(word);
  if (h == &OpSub) return DoubleFor<ops::Sub, WordWidth>(word);
  if (h == &OpMovb) return DoubleFor<Mov, ByteWidth>(word);
  if (h == &OpCmpb) return DoubleFor<ops::Cmp, ByteWidth>(word);
  if (h == &OpBitb) return DoubleFor<ops::Bit, ByteWidth>(word);
  if (h == &OpBicb) return DoubleFor<ops::Bic, ByteWidth>(word);
  if (h == &OpBisb) return DoubleFor<ops::Bis, ByteWidth>(word);
  if (h == &OpXor && ((word >> 6) & 7) != 7) {
    static constexpr auto kRegisters = MakeXorRegisters(std::make_index_sequence<64>());
    if ((word & 070) == 0) return kRegisters[RegisterPair(word)];
    static constexpr auto kXor = MakeXor(std::make_index_sequence<kForms>());
    return kXor[FormOf(word & 077)];
  }
  return nullptr;
}

}  // namespace orlan::batch
