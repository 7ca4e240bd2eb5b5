// Placeholder handlers: replaced by the real instruction code.
#include "core/instructions.h"

namespace orlan {

uint16_t OpBr(Machine&) { return kVectorReserved; }
uint16_t OpBne(Machine&) { return kVectorReserved; }
uint16_t OpBeq(Machine&) { return kVectorReserved; }
uint16_t OpBge(Machine&) { return kVectorReserved; }
uint16_t OpBlt(Machine&) { return kVectorReserved; }
uint16_t OpBgt(Machine&) { return kVectorReserved; }
uint16_t OpBle(Machine&) { return kVectorReserved; }
uint16_t OpBpl(Machine&) { return kVectorReserved; }
uint16_t OpBmi(Machine&) { return kVectorReserved; }
uint16_t OpBhi(Machine&) { return kVectorReserved; }
uint16_t OpBlos(Machine&) { return kVectorReserved; }
uint16_t OpBvc(Machine&) { return kVectorReserved; }
uint16_t OpBvs(Machine&) { return kVectorReserved; }
uint16_t OpBcc(Machine&) { return kVectorReserved; }
uint16_t OpBcs(Machine&) { return kVectorReserved; }
uint16_t OpSob(Machine&) { return kVectorReserved; }
uint16_t OpJmp(Machine&) { return kVectorReserved; }
uint16_t OpJsr(Machine&) { return kVectorReserved; }
uint16_t OpRts(Machine&) { return kVectorReserved; }
uint16_t OpMark(Machine&) { return kVectorReserved; }

}  // namespace orlan
