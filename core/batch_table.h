// The batch loop's dispatch: one handler per instruction word, built once from the
// decoder's tables (which stay the definition of what each word does).
#ifndef ORLAN_CORE_BATCH_TABLE_H_
#define ORLAN_CORE_BATCH_TABLE_H_

#include <array>
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
  // What the batch loop sets after the last step of a batch, for each word: it stores
  // neither the access mask nor, for handlers of register operands, the effective
  // address each step, since nothing in a batch reads them.
  static constexpr uint8_t kWordMask = 1;  // a handler for word operands: the word mask
  static constexpr uint8_t kFetchEa = 2;   // registers only: EA at the fetch address
  std::array<uint8_t, 0200000> after{};
};

const BatchDispatch& BatchTable();

}  // namespace orlan

#endif  // ORLAN_CORE_BATCH_TABLE_H_
