// Branches, SOB, JMP, JSR and RTS for the batch loop: PC moves in a local.
#include <array>
#include <utility>

#include "core/batch_handlers.h"
#include "core/batch_operand.h"

namespace orlan::batch {
namespace {

// The EA that the fetch leaves, for branches and SOB, whose operands move none: the
// fetch address. (Handlers of register operands leave it to the batch's end.)
void FetchEa(CpuState& c, uint16_t pc) { c.ea = static_cast<uint16_t>(pc - 2); }

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

// Whether the condition looks at the code `bit`.
constexpr bool Uses(uint16_t taken, uint16_t bit) {
  for (unsigned i = 0; i < 16; ++i) {
    if (((taken >> i) & 1) != ((taken >> (i ^ bit)) & 1)) return true;
  }
  return false;
}

// The codes that `kTaken` looks at, the others left 0.
template <uint16_t kTaken>
unsigned UsedBits(const CodeSources& s) {
  unsigned bits = 0;
  if constexpr (Uses(kTaken, kPswN)) bits |= (static_cast<uint32_t>(s.nz) >> 31) << 3;
  if constexpr (Uses(kTaken, kPswZ)) bits |= static_cast<uint16_t>(s.nz) == 0 ? kPswZ : 0;
  if constexpr (Uses(kTaken, kPswV)) bits |= (static_cast<uint32_t>(s.v) >> 31) << 1;
  if constexpr (Uses(kTaken, kPswC)) bits |= s.c & 1;
  return bits;
}

// A taken branch adds twice the signed low byte to PC, which points past it. One
// handler per condition and offset, so the new PC does not wait for the word.
template <uint16_t kTaken, int kOffset>
uint16_t Branch(Machine& m, uint16_t pc, uint32_t) {
  FetchEa(m.cpu, pc);
  const int offset = ((kTaken >> UsedBits<kTaken>(m.codes)) & 1) ? 2 * kOffset : 0;
  return static_cast<uint16_t>(pc + offset);
}

template <uint16_t kTaken, std::size_t... kByte>
constexpr std::array<BatchHandler, 0400> MakeBranch(std::index_sequence<kByte...>) {
  return {&Branch<kTaken, static_cast<int8_t>(kByte)>...};
}

// By the word's low byte.
template <uint16_t kTaken>
inline constexpr std::array<BatchHandler, 0400> kBranch =
    MakeBranch<kTaken>(std::make_index_sequence<0400>());

struct BranchEntry {
  Handler handler;
  const std::array<BatchHandler, 0400>* batch;
};

constexpr BranchEntry kBranches[] = {
    {&OpBr, &kBranch<TakenMask([](bool, bool, bool, bool) { return true; })>},
    {&OpBne, &kBranch<TakenMask([](bool, bool z, bool, bool) { return !z; })>},
    {&OpBeq, &kBranch<TakenMask([](bool, bool z, bool, bool) { return z; })>},
    {&OpBge, &kBranch<TakenMask([](bool n, bool, bool v, bool) { return n == v; })>},
    {&OpBlt, &kBranch<TakenMask([](bool n, bool, bool v, bool) { return n != v; })>},
    {&OpBgt, &kBranch<TakenMask([](bool n, bool z, bool v, bool) { return !z && n == v; })>},
    {&OpBle, &kBranch<TakenMask([](bool n, bool z, bool v, bool) { return z || n != v; })>},
    {&OpBpl, &kBranch<TakenMask([](bool n, bool, bool, bool) { return !n; })>},
    {&OpBmi, &kBranch<TakenMask([](bool n, bool, bool, bool) { return n; })>},
    {&OpBhi, &kBranch<TakenMask([](bool, bool z, bool, bool c) { return !c && !z; })>},
    {&OpBlos, &kBranch<TakenMask([](bool, bool z, bool, bool c) { return c || z; })>},
    {&OpBvc, &kBranch<TakenMask([](bool, bool, bool v, bool) { return !v; })>},
    {&OpBvs, &kBranch<TakenMask([](bool, bool, bool v, bool) { return v; })>},
    {&OpBcc, &kBranch<TakenMask([](bool, bool, bool, bool c) { return !c; })>},
    {&OpBcs, &kBranch<TakenMask([](bool, bool, bool, bool c) { return c; })>},
};

// SOB on R0-SP, one handler per register and offset: the new PC then does not wait
// for the instruction word, which a loop's every round would.
template <unsigned kCell, unsigned kOffset>
uint16_t Sob(Machine& m, uint16_t pc, uint32_t) {
  CpuState& c = m.cpu;
  FetchEa(c, pc);
  const auto count = static_cast<uint16_t>(Reg(c, kCell) - 1);
  SetReg(c, kCell, count);
  return count != 0 ? static_cast<uint16_t>(pc - 2 * kOffset) : pc;
}

// By the word's bits 8-0 (register and offset); PC as the counter is left to the
// decoder's handler.
template <std::size_t kBits>
constexpr BatchHandler SobAt() {
  if constexpr (kBits / 0100 == kPc) {
    return nullptr;
  } else {
    return &Sob<2 * (kBits / 0100), kBits % 0100>;
  }
}

template <std::size_t... kBits>
constexpr std::array<BatchHandler, 01000> MakeSob(std::index_sequence<kBits...>) {
  return {SobAt<kBits>()...};
}

// The loop forces the new PC even.
template <unsigned kForm>
uint16_t Jmp(Machine& m, uint16_t pc, uint32_t ir) {
  const uint16_t a = Address<WordWidth, kForm>(m, pc, DestinationCell(ir));
  m.cpu.ea = a;
  return a;
}

// The linkage register is read after the push has lowered SP, so JSR SP pushes the
// lowered value.
template <unsigned kForm, bool kLinkPc>
uint16_t Jsr(Machine& m, uint16_t pc, uint32_t ir) {
  CpuState& c = m.cpu;
  const uint16_t target = Address<WordWidth, kForm>(m, pc, DestinationCell(ir)) & kWordMask;
  const auto sp = static_cast<uint16_t>(Reg(c, kSpCell) - 2);
  SetReg(c, kSpCell, sp);
  c.ea = sp;
  const unsigned r = SourceCell(ir);
  StoreWord(m.LocateWrite(sp, pc), kLinkPc ? pc : Reg(c, r));
  if constexpr (!kLinkPc) SetReg(c, r, pc);
  return target;
}

template <bool kLinkPc>
uint16_t Rts(Machine& m, uint16_t pc, uint32_t ir) {
  CpuState& c = m.cpu;
  const unsigned r = DestinationCell(ir);
  pc = (kLinkPc ? pc : Reg(c, r)) & kWordMask;
  const uint16_t sp = Reg(c, kSpCell);
  SetReg(c, kSpCell, static_cast<uint16_t>(sp + 2));
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
    if (h == e.handler) return (*e.batch)[word & 0377];
  }
  if (h == &OpSob) {
    static constexpr auto kSob = MakeSob(std::make_index_sequence<01000>());
    return kSob[word & 0777];
  }
  if (h == &OpRts) return (word & 7) == 7 ? &Rts<true> : &Rts<false>;
  static constexpr auto kJumps = MakeJumps(std::make_index_sequence<kForms>());
  const unsigned form = FormOf(word & 077);
  if (h == &OpJmp) return kJumps[form];
  if (h == &OpJsr) return kJumps[(((word >> 6) & 7) == 7 ? 2 : 1) * kForms + form];
  return nullptr;
}

}  // namespace orlan::batch
