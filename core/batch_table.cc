#include "core/batch_table.h"

#include "core/batch_handlers.h"
#include "core/decoder.h"
#include "core/instructions.h"

namespace orlan {
namespace {

// CpuState as the fetch leaves it for a decoder handler: PC past the word, IR, EA at
// the fetch address, the word access mask and the codes in the PSW.
void AfterFetch(Machine& m, uint16_t pc, uint32_t ir) {
  CpuState& c = m.cpu;
  c.set_pc(pc);
  c.ir = static_cast<uint16_t>(ir);
  c.ea = static_cast<uint16_t>(pc - 2);
  c.mask = kWordMask;
  c.psw = WithCodes(c.psw, m.codes);
}

// The batch's codes again from the PSW the handler left.
uint16_t Resume(Machine& m) {
  m.codes = SourcesOf(m.cpu.psw);
  return m.cpu.pc();
}

// Any decoder handler, with CpuState's PC and IR made current around it.
template <Handler kHandler>
uint16_t Plain(Machine& m, uint16_t pc, uint32_t ir) {
  AfterFetch(m, pc, ir);
  const uint16_t vector = kHandler(m);
  if (vector != 0) [[unlikely]]
    m.EndBatch(vector);
  return Resume(m);
}

// A handler that may set the T bit, WAIT or the trace suppression always ends the
// batch, so the step finishes with CpuStep's own tests.
template <Handler kHandler>
uint16_t Rare(Machine& m, uint16_t pc, uint32_t ir) {
  AfterFetch(m, pc, ir);
  m.EndBatch(kHandler(m));
  return Resume(m);
}

// A word whose handler has no entry below: correct, only slow.
uint16_t Lookup(Machine& m, uint16_t pc, uint32_t ir) {
  AfterFetch(m, pc, ir);
  m.EndBatch(HandlerFor(static_cast<uint16_t>(ir))(m));
  return Resume(m);
}

struct Entry {
  Handler handler;
  BatchHandler batch;
};

template <Handler kHandler>
constexpr Entry P() {
  return {kHandler, &Plain<kHandler>};
}
template <Handler kHandler>
constexpr Entry R() {
  return {kHandler, &Rare<kHandler>};
}

constexpr Entry kEntries[] = {
    P<&OpMov>(),     P<&OpCmp>(),   P<&OpBit>(),   P<&OpBic>(),      P<&OpBis>(),
    P<&OpAdd>(),     P<&OpSub>(),   P<&OpMovb>(),  P<&OpCmpb>(),     P<&OpBitb>(),
    P<&OpBicb>(),    P<&OpBisb>(),  P<&OpMul>(),   P<&OpDiv>(),      P<&OpAsh>(),
    P<&OpAshc>(),    P<&OpXor>(),   P<&OpClr>(),   P<&OpCom>(),      P<&OpInc>(),
    P<&OpDec>(),     P<&OpNeg>(),   P<&OpAdc>(),   P<&OpSbc>(),      P<&OpTst>(),
    P<&OpRor>(),     P<&OpRol>(),   P<&OpAsr>(),   P<&OpAsl>(),      P<&OpClrb>(),
    P<&OpComb>(),    P<&OpIncb>(),  P<&OpDecb>(),  P<&OpNegb>(),     P<&OpAdcb>(),
    P<&OpSbcb>(),    P<&OpTstb>(),  P<&OpRorb>(),  P<&OpRolb>(),     P<&OpAsrb>(),
    P<&OpAslb>(),    P<&OpSwab>(),  P<&OpSxt>(),   P<&OpMfps>(),     P<&OpBr>(),
    P<&OpBne>(),     P<&OpBeq>(),   P<&OpBge>(),   P<&OpBlt>(),      P<&OpBgt>(),
    P<&OpBle>(),     P<&OpBpl>(),   P<&OpBmi>(),   P<&OpBhi>(),      P<&OpBlos>(),
    P<&OpBvc>(),     P<&OpBvs>(),   P<&OpBcc>(),   P<&OpBcs>(),      P<&OpSob>(),
    P<&OpJmp>(),     P<&OpJsr>(),   P<&OpRts>(),   P<&OpMark>(),     P<&OpEmt>(),
    P<&OpTrap>(),    P<&OpBpt>(),   P<&OpIot>(),   P<&OpReserved>(), P<&OpFloatingPoint>(),
    P<&OpClearCc>(), P<&OpSetCc>(), P<&OpReset>(), P<&OpRsel>(),     P<&OpMfus>(),
    P<&OpRcpc>(),    P<&OpRcps>(),  P<&OpMtus>(),  P<&OpWcpc>(),     P<&OpWcps>(),
    R<&OpMtps>(),    R<&OpRti>(),   R<&OpRtt>(),   R<&OpHalt>(),     R<&OpWait>(),
    R<&OpGo>(),
};

// The decoder's byte handlers, whose specialised forms leave the byte access mask.
constexpr Handler kByteHandlers[] = {
    &OpMovb, &OpCmpb, &OpBitb, &OpBicb, &OpBisb, &OpClrb, &OpComb, &OpIncb, &OpDecb,
    &OpNegb, &OpAdcb, &OpSbcb, &OpTstb, &OpRorb, &OpRolb, &OpAsrb, &OpAslb,
};

bool IsByte(Handler h) {
  for (Handler b : kByteHandlers) {
    if (h == b) return true;
  }
  return false;
}

void Fill(BatchDispatch& d) {
  const Entry* last = &kEntries[0];
  for (uint32_t w = 0; w < d.handlers.size(); ++w) {
    const auto word = static_cast<uint16_t>(w);
    const Handler h = HandlerFor(word);
    // A specialised handler whose operands are registers (mode 0) moves no effective
    // address: it stays at the fetch address. Branches and jumps set their own.
    const bool destination_register = (word & 070) == 0;
    bool fetch_ea = destination_register && (h == &OpXor || (word & 07000) == 0);
    BatchHandler b = batch::DoubleOperandHandler(h, word);
    if (b == nullptr && (b = batch::SingleOperandHandler(h, word))) fetch_ea = destination_register;
    if (b == nullptr && (b = batch::ControlHandler(h, word))) fetch_ea = false;
    if (b != nullptr) {
      d.handlers[w] = b;
      d.after[w] = static_cast<uint8_t>((IsByte(h) ? 0 : BatchDispatch::kWordMask) |
                                        (fetch_ea ? BatchDispatch::kFetchEa : 0));
      continue;
    }
    if (last->handler != h) {
      last = nullptr;
      for (const Entry& e : kEntries) {
        if (e.handler == h) last = &e;
      }
    }
    if (last == nullptr) {
      d.handlers[w] = &Lookup;
      last = &kEntries[0];
    } else {
      d.handlers[w] = last->batch;
    }
  }
}

// Built in place: the tables are too large for a thread's stack.
struct Table {
  BatchDispatch dispatch;
  Table() { Fill(dispatch); }
};

}  // namespace

const BatchDispatch& BatchTable() {
  static const Table table;
  return table.dispatch;
}

}  // namespace orlan
