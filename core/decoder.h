// Instruction decoding by table lookup: the high byte, then for page zero the whole
// word, and for the single-operand groups bits 7-6.
#ifndef ORLAN_CORE_DECODER_H_
#define ORLAN_CORE_DECODER_H_

#include <array>
#include <cstdint>

#include "core/instructions.h"

namespace orlan {

extern const std::array<Handler, 256> kOpcodeTable;    // by cpu.ir >> 8
extern const std::array<Handler, 256> kPageZeroTable;  // by cpu.ir for 000000-000377
// Groups 005000, 005400, 006000, 006400, 105000, 105400, 106000, 106400, by bits 7-6.
extern const std::array<std::array<Handler, 4>, 8> kGroupTables;

// The handler that runs for `word`, following the tables as the dispatch does.
Handler HandlerFor(uint16_t word);

inline uint16_t DispatchInstruction(Machine& m) { return kOpcodeTable[m.cpu.ir >> 8](m); }

}  // namespace orlan

#endif  // ORLAN_CORE_DECODER_H_
