// Placeholder handlers: replaced by the real instruction code.
#include "core/instructions.h"

namespace orlan {

uint16_t OpClr(Machine&) { return kVectorReserved; }
uint16_t OpCom(Machine&) { return kVectorReserved; }
uint16_t OpInc(Machine&) { return kVectorReserved; }
uint16_t OpDec(Machine&) { return kVectorReserved; }
uint16_t OpNeg(Machine&) { return kVectorReserved; }
uint16_t OpAdc(Machine&) { return kVectorReserved; }
uint16_t OpSbc(Machine&) { return kVectorReserved; }
uint16_t OpTst(Machine&) { return kVectorReserved; }
uint16_t OpRor(Machine&) { return kVectorReserved; }
uint16_t OpRol(Machine&) { return kVectorReserved; }
uint16_t OpAsr(Machine&) { return kVectorReserved; }
uint16_t OpAsl(Machine&) { return kVectorReserved; }
uint16_t OpClrb(Machine&) { return kVectorReserved; }
uint16_t OpComb(Machine&) { return kVectorReserved; }
uint16_t OpIncb(Machine&) { return kVectorReserved; }
uint16_t OpDecb(Machine&) { return kVectorReserved; }
uint16_t OpNegb(Machine&) { return kVectorReserved; }
uint16_t OpAdcb(Machine&) { return kVectorReserved; }
uint16_t OpSbcb(Machine&) { return kVectorReserved; }
uint16_t OpTstb(Machine&) { return kVectorReserved; }
uint16_t OpRorb(Machine&) { return kVectorReserved; }
uint16_t OpRolb(Machine&) { return kVectorReserved; }
uint16_t OpAsrb(Machine&) { return kVectorReserved; }
uint16_t OpAslb(Machine&) { return kVectorReserved; }
uint16_t OpSwab(Machine&) { return kVectorReserved; }
uint16_t OpSxt(Machine&) { return kVectorReserved; }
uint16_t OpMtps(Machine&) { return kVectorReserved; }
uint16_t OpMfps(Machine&) { return kVectorReserved; }

}  // namespace orlan
