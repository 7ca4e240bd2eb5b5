// Trap instructions, reserved words, condition-code operators, the returns from
// interrupts, HALT, WAIT, RESET and the halt-mode instructions.
#include "core/addressing.h"
#include "core/instructions.h"

namespace orlan {
namespace {

inline bool InHaltMode(const CpuState& c) { return (c.psw & kPswHalt) != 0; }

inline uint16_t Pop(Machine& m) { return LoadWord(OperandForRead(m, 026)); }

// A return to this address or above re-enters halt mode.
inline constexpr uint16_t kHaltModeArea = 0160000;

uint16_t ReturnFromInterrupt(Machine& m) {
  CpuState& c = m.cpu;
  c.mask = kWordMask;
  c.set_pc(Pop(m) & kWordMask);
  c.psw = Pop(m);
  if (c.pc() >= kHaltModeArea) c.psw |= kPswHalt;
  return 0;
}

}  // namespace

uint16_t OpEmt(Machine&) { return kVectorEmt; }
uint16_t OpTrap(Machine&) { return kVectorTrap; }
uint16_t OpBpt(Machine&) { return kVectorBpt; }
uint16_t OpIot(Machine&) { return kVectorIot; }
uint16_t OpReserved(Machine&) { return kVectorReserved; }

uint16_t OpFloatingPoint(Machine& m) {
  // FADD, FSUB, FMUL and FDIV (075000-075037) set the halt-mode bit before trapping,
  // so the PSW that the trap pushes tells them apart; the rest of the group is plain
  // reserved.
  if ((m.cpu.ir & 0377) < 040) m.cpu.psw |= kPswHalt;
  return kVectorReserved;
}

uint16_t OpClearCc(Machine& m) {
  m.cpu.psw &= static_cast<uint16_t>(~(m.cpu.ir & kPswNzvc));
  return 0;
}

uint16_t OpSetCc(Machine& m) {
  m.cpu.psw |= m.cpu.ir & kPswNzvc;
  return 0;
}

uint16_t OpRti(Machine& m) { return ReturnFromInterrupt(m); }

uint16_t OpRtt(Machine& m) {
  m.cpu.trace_suppress = true;  // the instruction returned to runs before any T trap
  return ReturnFromInterrupt(m);
}

uint16_t OpHalt(Machine& m) {
  CpuState& c = m.cpu;
  c.cpc = c.pc();
  c.cps = c.psw;
  c.ea = kVectorHalt;
  c.set_pc(LoadWord(m.BusLocateRead()) & kWordMask);
  c.ea = kVectorHalt + 2;
  c.psw = LoadWord(m.BusLocateRead()) | kPswHalt;
  return 0;
}

uint16_t OpWait(Machine& m) {
  m.cpu.wait = true;
  return 0;
}

uint16_t OpReset(Machine&) { return 0; }

uint16_t OpGo(Machine& m) {
  CpuState& c = m.cpu;
  if (!InHaltMode(c)) return kVectorReserved;
  c.set_pc(c.cpc);  // the step forces it even
  c.psw = c.cps & static_cast<uint16_t>(~kPswHalt);
  return 0;
}

uint16_t OpRsel(Machine& m) {
  CpuState& c = m.cpu;
  if (!InHaltMode(c)) return kVectorReserved;
  c.SetR(0, 0);
  return 0;
}

uint16_t OpMfus(Machine& m) {
  CpuState& c = m.cpu;
  if (!InHaltMode(c)) return kVectorReserved;
  c.mask = kWordMask;
  const uint16_t value = LoadWord(OperandForRead(m, 025));  // (R5)+
  c.SetR(0, value);
  return 0;
}

uint16_t OpRcpc(Machine& m) {
  CpuState& c = m.cpu;
  if (!InHaltMode(c)) return kVectorReserved;
  c.SetR(0, c.cpc);
  return 0;
}

uint16_t OpRcps(Machine& m) {
  CpuState& c = m.cpu;
  if (!InHaltMode(c)) return kVectorReserved;
  c.SetR(0, c.cps);
  return 0;
}

uint16_t OpMtus(Machine& m) {
  CpuState& c = m.cpu;
  if (!InHaltMode(c)) return kVectorReserved;
  c.mask = kWordMask;
  ComputeEA(m, 045);  // -(R5)
  StoreWord(m.BusLocateWrite(), c.R(0));
  return 0;
}

uint16_t OpWcpc(Machine& m) {
  CpuState& c = m.cpu;
  if (!InHaltMode(c)) return kVectorReserved;
  c.cpc = c.R(0);
  return 0;
}

uint16_t OpWcps(Machine& m) {
  CpuState& c = m.cpu;
  if (!InHaltMode(c)) return kVectorReserved;
  c.cps = c.R(0);
  return 0;
}

}  // namespace orlan
