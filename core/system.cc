// Placeholder handlers: replaced by the real instruction code.
#include "core/instructions.h"

namespace orlan {

uint16_t OpEmt(Machine&) { return kVectorReserved; }
uint16_t OpTrap(Machine&) { return kVectorReserved; }
uint16_t OpBpt(Machine&) { return kVectorReserved; }
uint16_t OpIot(Machine&) { return kVectorReserved; }
uint16_t OpReserved(Machine&) { return kVectorReserved; }
uint16_t OpFloatingPoint(Machine&) { return kVectorReserved; }
uint16_t OpClearCc(Machine&) { return kVectorReserved; }
uint16_t OpSetCc(Machine&) { return kVectorReserved; }
uint16_t OpRti(Machine&) { return kVectorReserved; }
uint16_t OpRtt(Machine&) { return kVectorReserved; }
uint16_t OpHalt(Machine&) { return kVectorReserved; }
uint16_t OpWait(Machine&) { return kVectorReserved; }
uint16_t OpReset(Machine&) { return kVectorReserved; }
uint16_t OpGo(Machine&) { return kVectorReserved; }
uint16_t OpRsel(Machine&) { return kVectorReserved; }
uint16_t OpMfus(Machine&) { return kVectorReserved; }
uint16_t OpRcpc(Machine&) { return kVectorReserved; }
uint16_t OpRcps(Machine&) { return kVectorReserved; }
uint16_t OpMtus(Machine&) { return kVectorReserved; }
uint16_t OpWcpc(Machine&) { return kVectorReserved; }
uint16_t OpWcps(Machine&) { return kVectorReserved; }

}  // namespace orlan
