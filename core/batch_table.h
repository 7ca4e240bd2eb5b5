// The batch loop's dispatch: one handler per instruction word, built once from the
// decoder's tables (which stay the definition of what each word does).
#ifndef ORLAN_CORE_BATCH_TABLE_H_
#define ORLAN_CORE_BATCH_TABLE_H_

#include <array>
#include <bitset>
#include <cstdint>

#include "core/machine.h"

namespace orlan {

// Runs the instruction `ir` fetched from PC - 2, with `pc` the PC after the fetch
// (CpuState's PC is stale); returns PC after the instruction, not yet forced even.
// A handler that traps or may change what the batch loop relies on (the T bit, WAIT,
// the trace suppression) calls Machine::EndBatch.
using BatchHandler = uint16_t (*)(Machine& m, uint16_t pc, uint32_t ir);

struct BatchDispatch {
  std::array<BatchHandler, 0200000> handlers;
  // Whether the word's handler is specialised for word operands. Those leave the access
  // mask as the fetch sets it (word), and the batch loop, which does not store the mask
  // each step, restores it after one of them ends the batch; the others set it
  // themselves.
  std::bitset<0200000> word_mask_after;
};

const BatchDispatch& BatchTable();

}  // namespace orlan

#endif  // ORLAN_CORE_BATCH_TABLE_H_
