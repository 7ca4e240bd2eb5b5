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

struct Clr {};  // write only: never read
struct Tst {};

template <class Op, class W, unsigned kForm, class Cells = CellsFromWord>
uint16_t Single(Machine& m, uint16_t pc, uint32_t ir) {
  CpuState& c = m.cpu;
  if constexpr (kIsByte<W>) c.mask = kByteMask;
  const unsigned n = Cells::Destination(ir);
  if constexpr (std::is_same_v<Op, Clr>) {
    W::Store(ForWrite<W, kForm>(m, pc, n), 0);
    Codes(m).Nzvc<W>(0, false, false);
  } else if constexpr (std::is_same_v<Op, Tst>) {
    Codes(m).Nzvc<W>(W::Load(ForRead<W, kForm>(m, pc, n).at), false, false);
  } else {
    const Operand d = ForRead<W, kForm>(m, pc, n);
    const Value<W> r = Op::template Apply<W>(Codes(m), W::Load(d.at));
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

// A register operand, by register (PC as a register is left to the decoder's handler).
template <class Op, class W, std::size_t kRegister>
constexpr BatchHandler RegisterAt() {
  if constexpr (kRegister == kPc) {
    return nullptr;
  } else {
    return &Single<Op, W, 0, FixedCells<0, kRegister>>;
  }
}

template <class Op, class W, std::size_t... kRegister>
constexpr std::array<BatchHandler, 8> MakeRegister(std::index_sequence<kRegister...>) {
  return {RegisterAt<Op, W, kRegister>()...};
}

template <class Op, class W>
BatchHandler SingleFor(uint16_t word) {
  static constexpr auto kRegister = MakeRegister<Op, W>(std::make_index_sequence<8>());
  if ((word & 070) == 0) return kRegister[word & 7];
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
  if ((b = Both<ops::Com>(h, &OpCom, &OpComb, word))) return b;
  if ((b = Both<ops::Inc>(h, &OpInc, &OpIncb, word))) return b;
  if ((b = Both<ops::Dec>(h, &OpDec, &OpDecb, word))) return b;
  if ((b = Both<ops::Neg>(h, &OpNeg, &OpNegb, word))) return b;
  if ((b = Both<ops::Adc>(h, &OpAdc, &OpAdcb, word))) return b;
  if ((b = Both<ops::Sbc>(h, &OpSbc, &OpSbcb, word))) return b;
  if ((b = Both<Tst>(h, &OpTst, &OpTstb, word))) return b;
  if ((b = Both<ops::Ror>(h, &OpRor, &OpRorb, word))) return b;
  if ((b = Both<ops::Rol>(h, &OpRol, &OpRolb, word))) return b;
  if ((b = Both<ops::Asr>(h, &OpAsr, &OpAsrb, word))) return b;
  if ((b = Both<ops::Asl>(h, &OpAsl, &OpAslb, word))) return b;
  if (h == &OpSwab) return SingleFor<ops::Swab, WordWidth>(word);
  return nullptr;
}

}  // namespace orlan::batch
