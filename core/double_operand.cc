// Placeholder handlers: replaced by the real instruction code.
#include "core/instructions.h"

namespace orlan {

uint16_t OpMov(Machine&) { return kVectorReserved; }
uint16_t OpCmp(Machine&) { return kVectorReserved; }
uint16_t OpBit(Machine&) { return kVectorReserved; }
uint16_t OpBic(Machine&) { return kVectorReserved; }
uint16_t OpBis(Machine&) { return kVectorReserved; }
uint16_t OpAdd(Machine&) { return kVectorReserved; }
uint16_t OpSub(Machine&) { return kVectorReserved; }
uint16_t OpMovb(Machine&) { return kVectorReserved; }
uint16_t OpCmpb(Machine&) { return kVectorReserved; }
uint16_t OpBitb(Machine&) { return kVectorReserved; }
uint16_t OpBicb(Machine&) { return kVectorReserved; }
uint16_t OpBisb(Machine&) { return kVectorReserved; }

}  // namespace orlan
