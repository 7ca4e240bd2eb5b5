// The instruction handlers. Each reads its operand fields from cpu.ir and returns a
// trap vector: 0 when the instruction completed, else the vector through which the
// step traps. Handlers are reached only through the decoder's tables.
#ifndef ORLAN_CORE_INSTRUCTIONS_H_
#define ORLAN_CORE_INSTRUCTIONS_H_

#include <cstdint>

#include "core/machine.h"

namespace orlan {

using Handler = uint16_t (*)(Machine&);

// Trap vectors.
inline constexpr uint16_t kVectorBusError = 004;  // JMP/JSR with a register operand
inline constexpr uint16_t kVectorReserved = 010;
inline constexpr uint16_t kVectorBpt = 014;  // also the T-bit trap
inline constexpr uint16_t kVectorIot = 020;
inline constexpr uint16_t kVectorEmt = 030;
inline constexpr uint16_t kVectorTrap = 034;
inline constexpr uint16_t kVectorClock = 0100;
inline constexpr uint16_t kVectorHalt = 0170;
inline constexpr uint16_t kVectorChannel = 0310;

// Condition-code helpers: SetNZ only sets (callers clear first); SetVFromNC sets V
// when exactly one of N and C is set.
inline void SetNZ(CpuState& c, int32_t value) {
  if (value < 0) c.psw |= kPswN;
  if (value == 0) c.psw |= kPswZ;
}
inline void SetVFromNC(CpuState& c) {
  if (((c.psw >> 3) ^ c.psw) & 1) c.psw |= kPswV;
}

// --- double-operand ------------------------------------------------------------
uint16_t OpMov(Machine& m);
uint16_t OpCmp(Machine& m);
uint16_t OpBit(Machine& m);
uint16_t OpBic(Machine& m);
uint16_t OpBis(Machine& m);
uint16_t OpAdd(Machine& m);
uint16_t OpSub(Machine& m);
uint16_t OpMovb(Machine& m);
uint16_t OpCmpb(Machine& m);
uint16_t OpBitb(Machine& m);
uint16_t OpBicb(Machine& m);
uint16_t OpBisb(Machine& m);

// --- register-operand (extended integer) ------------------------------------------
uint16_t OpMul(Machine& m);
uint16_t OpDiv(Machine& m);
uint16_t OpAsh(Machine& m);
uint16_t OpAshc(Machine& m);
uint16_t OpXor(Machine& m);

// --- single-operand ------------------------------------------------------------
uint16_t OpClr(Machine& m);
uint16_t OpCom(Machine& m);
uint16_t OpInc(Machine& m);
uint16_t OpDec(Machine& m);
uint16_t OpNeg(Machine& m);
uint16_t OpAdc(Machine& m);
uint16_t OpSbc(Machine& m);
uint16_t OpTst(Machine& m);
uint16_t OpRor(Machine& m);
uint16_t OpRol(Machine& m);
uint16_t OpAsr(Machine& m);
uint16_t OpAsl(Machine& m);
uint16_t OpClrb(Machine& m);
uint16_t OpComb(Machine& m);
uint16_t OpIncb(Machine& m);
uint16_t OpDecb(Machine& m);
uint16_t OpNegb(Machine& m);
uint16_t OpAdcb(Machine& m);
uint16_t OpSbcb(Machine& m);
uint16_t OpTstb(Machine& m);
uint16_t OpRorb(Machine& m);
uint16_t OpRolb(Machine& m);
uint16_t OpAsrb(Machine& m);
uint16_t OpAslb(Machine& m);
uint16_t OpSwab(Machine& m);
uint16_t OpSxt(Machine& m);
uint16_t OpMtps(Machine& m);
uint16_t OpMfps(Machine& m);

// --- branches ------------------------------------------------------------------
uint16_t OpBr(Machine& m);
uint16_t OpBne(Machine& m);
uint16_t OpBeq(Machine& m);
uint16_t OpBge(Machine& m);
uint16_t OpBlt(Machine& m);
uint16_t OpBgt(Machine& m);
uint16_t OpBle(Machine& m);
uint16_t OpBpl(Machine& m);
uint16_t OpBmi(Machine& m);
uint16_t OpBhi(Machine& m);
uint16_t OpBlos(Machine& m);
uint16_t OpBvc(Machine& m);
uint16_t OpBvs(Machine& m);
uint16_t OpBcc(Machine& m);
uint16_t OpBcs(Machine& m);

// --- jumps, subroutines, traps, system ---------------------------------------------
uint16_t OpSob(Machine& m);
uint16_t OpJmp(Machine& m);
uint16_t OpJsr(Machine& m);
uint16_t OpRts(Machine& m);
uint16_t OpMark(Machine& m);
uint16_t OpEmt(Machine& m);
uint16_t OpTrap(Machine& m);
uint16_t OpBpt(Machine& m);
uint16_t OpIot(Machine& m);
uint16_t OpReserved(Machine& m);
uint16_t OpFloatingPoint(Machine& m);  // 075000-075377
uint16_t OpClearCc(Machine& m);        // 000240-000257
uint16_t OpSetCc(Machine& m);          // 000260-000277
uint16_t OpRti(Machine& m);
uint16_t OpRtt(Machine& m);
uint16_t OpHalt(Machine& m);
uint16_t OpWait(Machine& m);
uint16_t OpReset(Machine& m);
// Halt mode only (trap through 010 while the PSW's halt-mode bit is clear).
uint16_t OpGo(Machine& m);  // also STEP
uint16_t OpRsel(Machine& m);
uint16_t OpMfus(Machine& m);
uint16_t OpRcpc(Machine& m);
uint16_t OpRcps(Machine& m);
uint16_t OpMtus(Machine& m);
uint16_t OpWcpc(Machine& m);
uint16_t OpWcps(Machine& m);

}  // namespace orlan

#endif  // ORLAN_CORE_INSTRUCTIONS_H_
