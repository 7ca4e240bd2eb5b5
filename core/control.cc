// Branches, SOB, JMP, JSR, RTS and MARK: the instructions that move PC.
#include "core/addressing.h"
#include "core/instructions.h"

namespace orlan {
namespace {

// A taken branch adds twice the signed low byte of the word to PC, which already
// points past the branch.
inline uint16_t Branch(Machine& m, bool taken) {
  CpuState& c = m.cpu;
  if (taken) {
    const int offset = static_cast<int8_t>(c.ir & 0377);
    c.set_pc(static_cast<uint16_t>(c.pc() + 2 * offset));
  }
  return 0;
}

inline bool N(const CpuState& c) { return (c.psw & kPswN) != 0; }
inline bool Z(const CpuState& c) { return (c.psw & kPswZ) != 0; }
inline bool V(const CpuState& c) { return (c.psw & kPswV) != 0; }
inline bool C(const CpuState& c) { return (c.psw & kPswC) != 0; }

inline uint16_t Pop(Machine& m) { return LoadWord(OperandForRead(m, 026)); }

}  // namespace

uint16_t OpBr(Machine& m) { return Branch(m, true); }
uint16_t OpBne(Machine& m) { return Branch(m, !Z(m.cpu)); }
uint16_t OpBeq(Machine& m) { return Branch(m, Z(m.cpu)); }
uint16_t OpBge(Machine& m) { return Branch(m, N(m.cpu) == V(m.cpu)); }
uint16_t OpBlt(Machine& m) { return Branch(m, N(m.cpu) != V(m.cpu)); }
uint16_t OpBgt(Machine& m) { return Branch(m, !Z(m.cpu) && N(m.cpu) == V(m.cpu)); }
uint16_t OpBle(Machine& m) { return Branch(m, Z(m.cpu) || N(m.cpu) != V(m.cpu)); }
uint16_t OpBpl(Machine& m) { return Branch(m, !N(m.cpu)); }
uint16_t OpBmi(Machine& m) { return Branch(m, N(m.cpu)); }
uint16_t OpBhi(Machine& m) { return Branch(m, !C(m.cpu) && !Z(m.cpu)); }
uint16_t OpBlos(Machine& m) { return Branch(m, C(m.cpu) || Z(m.cpu)); }
uint16_t OpBvc(Machine& m) { return Branch(m, !V(m.cpu)); }
uint16_t OpBvs(Machine& m) { return Branch(m, V(m.cpu)); }
uint16_t OpBcc(Machine& m) { return Branch(m, !C(m.cpu)); }
uint16_t OpBcs(Machine& m) { return Branch(m, C(m.cpu)); }

uint16_t OpSob(Machine& m) {
  CpuState& c = m.cpu;
  const int r = (c.ir >> 6) & 7;
  const uint16_t count = static_cast<uint16_t>(c.R(r) - 1);
  c.SetR(r, count);
  if (count != 0) c.set_pc(static_cast<uint16_t>(c.pc() - 2 * (c.ir & 077)));
  return 0;
}

uint16_t OpJmp(Machine& m) {
  CpuState& c = m.cpu;
  const unsigned dd = c.ir & 077;
  if (dd < 010) return kVectorBusError;  // a register has no address to jump to
  c.mask = kWordMask;
  ComputeEA(m, dd);
  c.set_pc(c.ea);  // the step forces PC even afterwards
  return 0;
}

uint16_t OpJsr(Machine& m) {
  CpuState& c = m.cpu;
  const unsigned dd = c.ir & 077;
  if (dd < 010) return kVectorBusError;
  c.mask = kWordMask;
  ComputeEA(m, dd);
  const uint16_t target = c.ea & kWordMask;
  const int r = (c.ir >> 6) & 7;
  // The linkage register is read after the push has lowered SP, so JSR SP pushes
  // the lowered value.
  ComputeEA(m, 046);
  StoreWord(m.BusLocateWrite(), c.R(r));
  c.SetR(r, c.pc());
  c.set_pc(target);
  return 0;
}

uint16_t OpRts(Machine& m) {
  CpuState& c = m.cpu;
  const int r = c.ir & 7;
  c.mask = kWordMask;
  c.set_pc(c.R(r) & kWordMask);
  const uint16_t saved = Pop(m);
  c.SetR(r, saved);
  return 0;
}

uint16_t OpMark(Machine& m) {
  CpuState& c = m.cpu;
  c.mask = kWordMask;
  c.set_sp(static_cast<uint16_t>(c.pc() + 2 * (c.ir & 077)));
  c.set_pc(c.R(5) & kWordMask);
  const uint16_t saved = Pop(m);
  c.SetR(5, saved);
  return 0;
}

}  // namespace orlan
