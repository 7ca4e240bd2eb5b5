// Placeholder handlers: replaced by the real instruction code.
#include "core/instructions.h"

namespace orlan {

uint16_t OpMul(Machine&) { return kVectorReserved; }
uint16_t OpDiv(Machine&) { return kVectorReserved; }
uint16_t OpAsh(Machine&) { return kVectorReserved; }
uint16_t OpAshc(Machine&) { return kVectorReserved; }
uint16_t OpXor(Machine&) { return kVectorReserved; }

}  // namespace orlan
