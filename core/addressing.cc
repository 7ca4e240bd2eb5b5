#include "core/addressing.h"

#include <utility>

namespace orlan {
namespace {

// R0-R5 honour the access mask (word addresses forced even, byte steps of 1);
// SP and PC are used as they are and always step by 2.
template <int kReg>
constexpr bool kStackOrPc = kReg >= kSp;

template <int kReg>
uint16_t MaskFor(const Machine& m) {
  return kStackOrPc<kReg> ? uint16_t{0177777} : m.cpu.mask;
}

template <int kReg>
uint16_t StepFor(const Machine& m) {
  // Subtracting the mask adds 2 for a word and 1 for a byte.
  return kStackOrPc<kReg> ? uint16_t{2} : static_cast<uint16_t>(0 - m.cpu.mask);
}

uint16_t ReadPointer(Machine& m) { return LoadWord(m.BusLocateRead()); }

template <int kMode, int kReg>
void Mode(Machine& m) {
  CpuState& c = m.cpu;
  if constexpr (kMode == 0) {
    c.ea = 0;
  } else if constexpr (kMode == 1) {
    c.ea = c.R(kReg) & MaskFor<kReg>(m);
  } else if constexpr (kMode == 2) {
    const uint16_t r = c.R(kReg);
    c.ea = r & MaskFor<kReg>(m);
    c.SetR(kReg, static_cast<uint16_t>(r + StepFor<kReg>(m)));
  } else if constexpr (kMode == 3) {
    const uint16_t r = c.R(kReg);
    c.ea = kStackOrPc<kReg> ? r : static_cast<uint16_t>(r & kWordMask);
    c.SetR(kReg, static_cast<uint16_t>(r + 2));
    c.ea = ReadPointer(m) & c.mask;
  } else if constexpr (kMode == 4) {
    const uint16_t r = static_cast<uint16_t>(c.R(kReg) - StepFor<kReg>(m));
    c.SetR(kReg, r);
    c.ea = r & MaskFor<kReg>(m);
  } else if constexpr (kMode == 5) {
    const uint16_t r = static_cast<uint16_t>(c.R(kReg) - 2);
    c.SetR(kReg, r);
    c.ea = kStackOrPc<kReg> ? r : static_cast<uint16_t>(r & kWordMask);
    c.ea = ReadPointer(m) & c.mask;
  } else {
    // Index modes: the index word is fetched and PC advanced before Rn is read.
    const uint16_t pc = c.pc();
    c.ea = pc;
    c.set_pc(static_cast<uint16_t>(pc + 2));
    const uint16_t x = ReadPointer(m);
    const uint16_t sum = static_cast<uint16_t>(x + c.R(kReg));
    if constexpr (kMode == 6) {
      c.ea = sum & c.mask;
    } else {
      c.ea = sum & kWordMask;
      c.ea = ReadPointer(m) & c.mask;
    }
  }
}

template <std::size_t... kFields>
constexpr std::array<ModeRoutine, 64> MakeModeTable(std::index_sequence<kFields...>) {
  // Fields 00-07 share the one mode-0 routine.
  return {&Mode < static_cast<int>(kFields >> 3),
          kFields < 8 ? 0 : static_cast<int>(kFields & 7) > ...};
}

}  // namespace

const std::array<ModeRoutine, 64> kModeTable = MakeModeTable(std::make_index_sequence<64>());

}  // namespace orlan
