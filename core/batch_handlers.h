// The batch handlers specialised by operand form, so that the common instructions
// run as leaf functions with PC in a local.
#ifndef ORLAN_CORE_BATCH_HANDLERS_H_
#define ORLAN_CORE_BATCH_HANDLERS_H_

#include <cstdint>

#include "core/batch_table.h"
#include "core/instructions.h"

namespace orlan::batch {

// The handler for `word`, whose decoder handler is `h`, or null when its forms have
// no specialised one (the decoder's handler then runs).
BatchHandler DoubleOperandHandler(Handler h, uint16_t word);  // also XOR
BatchHandler SingleOperandHandler(Handler h, uint16_t word);
BatchHandler ControlHandler(Handler h, uint16_t word);  // branches, SOB, JMP, JSR, RTS

}  // namespace orlan::batch

#endif  // ORLAN_CORE_BATCH_HANDLERS_H_
