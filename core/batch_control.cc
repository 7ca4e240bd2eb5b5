// Branches, SOB, JMP, JSR and RTS for the batch loop: PC moves in a local.
#include <array>
#include <utility>

#include "core/batch_handlers.h"
#include "core/batch_operand.h"

namespace orlan::batch {
namespace {

// For each condition, bit i says whether the branch is taken when the PSW's NZVC
// bits are i: one shift replaces the flag tests.
template <class Condition>
constexpr uint16_t TakenMask(Condition taken) {
  uint16_t mask = 0;
  for (unsigned i = 0; i < 16; ++i) {
    const bool n = i & kPswN, z = i & kPswZ, v = i & kPswV, c = i & kPswC;
    if (taken(n, z, v, c)) mask = static_cast<uint16_t>(mask | (1u << i));
  }
  return mask;
}

// A taken branch adds twice the signed low byte to PC, which points past it.
template <uint16_t kTaken>
uint16_t Branch(Machine& m, uint16_t pc, uint16_t ir) {
  const int offset = ((kTaken >> (m.cpu.psw & kPswNzvc)) & 1) ? 2 * static_cast<int8_t>(ir) : 0;
  return static_cast<uint16_t>(pc + offset);
}

struct BranchEntry {
  Handler handler;
  BatchHandler batch;
};

constexpr BranchEntry kBranches[] = {
    {&OpBr, &Branch<TakenMask([](bool, bool, bool, bool) { return true; })>},
    {&OpBne, &Branch<TakenMask([](bool, bool z, bool, bool) { return !z; })>},
    {&OpBeq, &Branch<TakenMask([](bool, bool z, bool, bool) { return z; })>},
    {&OpBge, &Branch<TakenMask([](bool n, bool, bool v, bool) { return n == v; })>},
    {&OpBlt, &Branch<TakenMask([](bool n, bool, bool v, bool) { return n != v; })>},
    {&OpBgt, &Branch<TakenMask([](bool n, bool z, bool v, bool) { return !z && n == v; })>},
    {&OpBle, &Branch<TakenMask([](bool n, bool z, bool v, bool) { return z || n != v; })>},
    {&OpBpl, &Branch<TakenMask([](bool n, bool, bool, bool) { return !n; })>},
    {&OpBmi, &Branch<TakenMask([](bool n, bool, bool, bool) { return n; })>},
    {&OpBhi, &Branch<TakenMask([](bool, bool z, bool, bool c) { return !c && !z; })>},
    {&OpBlos, &Branch<TakenMask([](bool, bool z, bool, bool c) { return c || z; })>},
    {&OpBvc, &Branch<TakenMask([](bool, bool, bool v, bool) { return !v; })>},
    {&OpBvs, &Branch<TakenMask([](bool, bool, bool v, bool) { return v; })>},
    {&OpBcc, &Branch<TakenMask([](bool, bool, bool, bool c) { return !c; })>},
    {&OpBcs, &Branch<TakenMask([](bool, bool, bool, bool c) { return c; })>},
};

// SOB on R0-SP.
uint16_t Sob(Machine& m, uint16_t pc, uint16_t ir) {
  CpuState& c = m.cpu;
  const unsigned n = (ir >> 6) & 7;
  const auto count = static_cast<uint16_t>(Reg(c, n) - 1);
  SetReg(c, n, count);
  return count != 0 ? static_cast<uint16_t>(pc - 2 * (ir & 077)) : pc;
}

// The loop forces the new PC even.
template <unsigned kForm>
uint16_t Jmp(Machine& m, uint16_t pc, uint16_t ir) {
  const uint16_t a = Address<WordWidth, kForm>(m, pc, ir & 7);
  m.cpu.ea = a;
  return a;
}

// The linkage register is read after the push has lowered SP, so JSR SP pushes the
// lowered value.
template <unsigned kForm, bool kLinkPc>
uint16_t Jsr(Machine& m, uint16_t pc, uint16_t ir) {
  CpuState& c = m.cpu;
  const uint16_t target = Address<WordWidth, kForm>(m, pc, ir & 7) & kWordMask;
  const auto sp = static_cast<uint16_t>(Reg(c, kSp) - 2);
  SetReg(c, kSp, sp);
  c.ea = sp;
  const unsigned r = (ir >> 6) & 7;
  StoreWord(m.LocateWrite(sp, pc), kLinkPc ? pc : Reg(c, r));
  if constexpr (!kLinkPc) SetReg(c, r, pc);
  return target;
}

template <bool kLinkPc>
uint16_t Rts(Machine& m, uint16_t pc, uint16_t ir) {
  CpuState& c = m.cpu;
  const unsigned r = ir & 7;
  pc = (kLinkPc ? pc : Reg(c, r)) & kWordMask;
  const uint16_t sp = Reg(c, kSp);
  SetReg(c, kSp, static_cast<uint16_t>(sp + 2));
  c.ea = sp;
  const uint16_t saved = LoadWord(m.LocateRead(sp, pc));
  if constexpr (kLinkPc) return saved;
  SetReg(c, r, saved);
  return pc;
}

template <std::size_t kForm, bool kLinkPc>
constexpr BatchHandler JsrAt() {
  if constexpr (Specialised(kForm) && kForm / 2 != 0) {
    return &Jsr<kForm, kLinkPc>;
  } else {
    return nullptr;
  }
}

template <std::size_t kForm>
constexpr BatchHandler JmpAt() {
  if constexpr (Specialised(kForm) && kForm / 2 != 0) {
    return &Jmp<kForm>;
  } else {
    return nullptr;
  }
}

template <std::size_t... kForm>
constexpr std::array<BatchHandler, 3 * kForms> MakeJumps(std::index_sequence<kForm...>) {
  return {JmpAt<kForm>()..., JsrAt<kForm, false>()..., JsrAt<kForm, true>()...};
}

}  // namespace

BatchHandler ControlHandler(Handler h, uint16_t word) {
  for (const BranchEntry& e : kBranches) {
    if (h == e.handler) return e.batch;
  }
  if (h == &OpSob) return ((word >> 6) & 7) == 7 ? nullptr : &Sob;
  if (h == &OpRts) return (word & 7) == 7 ? &Rts<true> : &Rts<false>;
  static constexpr auto kJumps = MakeJumps(std::make_index_sequence<kForms>());
  const unsigned form = FormOf(word & 077);
  if (h == &OpJmp) return kJumps[form];
  if (h == &OpJsr) return kJumps[(((word >> 6) & 7) == 7 ? 2 : 1) * kForms + form];
  return nullptr;
}

}  // namespace orlan::batch
