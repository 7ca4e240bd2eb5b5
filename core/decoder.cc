#include "core/decoder.h"

namespace orlan {
namespace {

uint16_t PageZero(Machine& m) { return kPageZeroTable[m.cpu.ir & 0377](m); }

template <int kGroup>
uint16_t Group(Machine& m) {
  return kGroupTables[kGroup][(m.cpu.ir >> 6) & 3](m);
}

constexpr std::array<Handler, 256> MakeOpcodeTable() {
  std::array<Handler, 256> t{};
  for (auto& e : t) e = &OpReserved;
  auto fill = [&t](int first_word, int last_word, Handler h) {
    for (int i = first_word >> 8; i <= last_word >> 8; ++i) t[i] = h;
  };
  fill(0000000, 0000377, &PageZero);
  const Handler low_branches[] = {&OpBr, &OpBne, &OpBeq, &OpBge, &OpBlt, &OpBgt, &OpBle};
  for (int i = 0; i < 7; ++i) t[1 + i] = low_branches[i];
  fill(0004000, 0004777, &OpJsr);
  t[0005000 >> 8] = &Group<0>;
  t[0005400 >> 8] = &Group<1>;
  t[0006000 >> 8] = &Group<2>;
  t[0006400 >> 8] = &Group<3>;
  const Handler doubles[] = {&OpMov, &OpCmp, &OpBit, &OpBic, &OpBis, &OpAdd};
  for (int i = 0; i < 6; ++i) fill(010000 * (i + 1), 010000 * (i + 1) + 07777, doubles[i]);
  fill(0070000, 0070777, &OpMul);
  fill(0071000, 0071777, &OpDiv);
  fill(0072000, 0072777, &OpAsh);
  fill(0073000, 0073777, &OpAshc);
  fill(0074000, 0074777, &OpXor);
  fill(0075000, 0075377, &OpFloatingPoint);
  fill(0077000, 0077777, &OpSob);
  const Handler high_branches[] = {&OpBpl, &OpBmi, &OpBhi, &OpBlos, &OpBvc, &OpBvs, &OpBcc, &OpBcs};
  for (int i = 0; i < 8; ++i) t[(0100000 >> 8) + i] = high_branches[i];
  fill(0104000, 0104377, &OpEmt);
  fill(0104400, 0104777, &OpTrap);
  t[0105000 >> 8] = &Group<4>;
  t[0105400 >> 8] = &Group<5>;
  t[0106000 >> 8] = &Group<6>;
  t[0106400 >> 8] = &Group<7>;
  const Handler byte_doubles[] = {&OpMovb, &OpCmpb, &OpBitb, &OpBicb, &OpBisb, &OpSub};
  for (int i = 0; i < 6; ++i) {
    fill(0110000 + 010000 * i, 0110000 + 010000 * i + 07777, byte_doubles[i]);
  }
  return t;
}

constexpr std::array<Handler, 256> MakePageZeroTable() {
  std::array<Handler, 256> t{};
  for (auto& e : t) e = &OpReserved;
  auto fill = [&t](int first, int last, Handler h) {
    for (int i = first; i <= last; ++i) t[i] = h;
  };
  t[0] = &OpHalt;
  t[1] = &OpWait;
  t[2] = &OpRti;
  t[3] = &OpBpt;
  t[4] = &OpIot;
  t[5] = &OpReset;
  t[6] = &OpRtt;
  fill(010, 017, &OpGo);  // GO 000010-000013 and STEP 000014-000017 act alike
  t[020] = &OpRsel;
  t[021] = &OpMfus;
  fill(022, 023, &OpRcpc);
  fill(024, 027, &OpRcps);
  t[030] = &OpRsel;
  t[031] = &OpMtus;
  fill(032, 033, &OpWcpc);
  fill(034, 037, &OpWcps);
  fill(0100, 0177, &OpJmp);
  fill(0200, 0207, &OpRts);
  fill(0240, 0257, &OpClearCc);
  fill(0260, 0277, &OpSetCc);
  fill(0300, 0377, &OpSwab);
  return t;
}

}  // namespace

const std::array<Handler, 256> kOpcodeTable = MakeOpcodeTable();
const std::array<Handler, 256> kPageZeroTable = MakePageZeroTable();
// MFPI, MTPI, MFPD and MTPD are not executed by this processor: reserved.
const std::array<std::array<Handler, 4>, 8> kGroupTables = {{
    {&OpClr, &OpCom, &OpInc, &OpDec},
    {&OpNeg, &OpAdc, &OpSbc, &OpTst},
    {&OpRor, &OpRol, &OpAsr, &OpAsl},
    {&OpMark, &OpReserved, &OpReserved, &OpSxt},
    {&OpClrb, &OpComb, &OpIncb, &OpDecb},
    {&OpNegb, &OpAdcb, &OpSbcb, &OpTstb},
    {&OpRorb, &OpRolb, &OpAsrb, &OpAslb},
    {&OpMtps, &OpReserved, &OpReserved, &OpMfps},
}};

Handler HandlerFor(uint16_t word) {
  static constexpr Handler kGroupDispatchers[8] = {&Group<0>, &Group<1>, &Group<2>, &Group<3>,
                                                   &Group<4>, &Group<5>, &Group<6>, &Group<7>};
  const Handler h = kOpcodeTable[word >> 8];
  if (h == &PageZero) return kPageZeroTable[word & 0377];
  for (int g = 0; g < 8; ++g) {
    if (h == kGroupDispatchers[g]) return kGroupTables[g][(word >> 6) & 3];
  }
  return h;
}

}  // namespace orlan
