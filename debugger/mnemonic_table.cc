#include "debugger/mnemonic_table.h"

namespace orlan {

using enum OperandFormat;

const std::array<MnemonicEntry, kMnemonicCount> kMnemonicTable = {{
    // Operand-less system instructions.
    {0177777, 0000000, "halt", kNone},
    {0177777, 0000001, "wait", kNone},
    {0177777, 0000002, "rti", kNone},
    {0177777, 0000003, "bpt", kNone},
    {0177777, 0000004, "iot", kNone},
    {0177777, 0000005, "reset", kNone},
    {0177777, 0000006, "rtt", kNone},
    // Halt-mode instructions 000010-000037; the exact word of each name comes first
    // so that the assembler produces it.
    {0177777, 0000012, "go", kNone},
    {0177774, 0000010, "go", kNone},
    {0177777, 0000016, "step", kNone},
    {0177774, 0000014, "step", kNone},
    {0177767, 0000020, "rsel", kNone},
    {0177777, 0000021, "mfus", kNone},
    {0177776, 0000022, "rcpc", kNone},
    {0177774, 0000024, "rcps", kNone},
    {0177777, 0000031, "mtus", kNone},
    {0177776, 0000032, "wcpc", kNone},
    {0177774, 0000034, "wcps", kNone},
    {0177740, 0000000, "illop", kIllegal},
    // Page zero.
    {0177700, 0000100, "jmp", kSingle},
    {0177770, 0000200, "rts", kReg},
    {0177760, 0000210, "illop", kIllegal},
    {0177770, 0000230, "spl", kPriority},
    {0177777, 0000240, "nop", kNone},
    {0177777, 0000241, "clc", kNone},
    {0177760, 0000240, "clear", kFlags},
    {0177777, 0000261, "sec", kNone},
    {0177760, 0000260, "set", kFlags},
    {0177700, 0000300, "swab", kSingle},
    {0177400, 0000400, "br", kBranch},
    {0177400, 0001000, "bne", kBranch},
    {0177400, 0001400, "beq", kBranch},
    {0177400, 0002000, "bge", kBranch},
    {0177400, 0002400, "blt", kBranch},
    {0177400, 0003000, "bgt", kBranch},
    {0177400, 0003400, "ble", kBranch},
    {0177000, 0004000, "jsr", kRegDst},
    // Single-operand group; bit 15 is the byte form.
    {0077700, 0005000, "clr", kSingleB},
    {0077700, 0005100, "com", kSingleB},
    {0077700, 0005200, "inc", kSingleB},
    {0077700, 0005300, "dec", kSingleB},
    {0077700, 0005400, "neg", kSingleB},
    {0077700, 0005500, "adc", kSingleB},
    {0077700, 0005600, "sbc", kSingleB},
    {0077700, 0005700, "tst", kSingleB},
    {0077700, 0006000, "ror", kSingleB},
    {0077700, 0006100, "rol", kSingleB},
    {0077700, 0006200, "asr", kSingleB},
    {0077700, 0006300, "asl", kSingleB},
    {0177700, 0006400, "mark", kMark},
    {0177700, 0006500, "mfpi", kSingle},
    {0177700, 0006600, "mtpi", kSingle},
    {0177700, 0006700, "sxt", kSingle},
    {0177000, 0007000, "illop", kIllegal},
    // Double-operand group; bit 15 is the byte form except for add and sub.
    {0070000, 0010000, "mov", kDoubleB},
    {0070000, 0020000, "cmp", kDoubleB},
    {0070000, 0030000, "bit", kDoubleB},
    {0070000, 0040000, "bic", kDoubleB},
    {0070000, 0050000, "bis", kDoubleB},
    {0170000, 0060000, "add", kDouble},
    {0170000, 0160000, "sub", kDouble},
    // Register-operand group; ashc before ash so that the assembler tells them apart.
    {0177000, 0070000, "mul", kSrcReg},
    {0177000, 0071000, "div", kSrcReg},
    {0177000, 0073000, "ashc", kSrcReg},
    {0177000, 0072000, "ash", kSrcReg},
    {0177000, 0074000, "xor", kRegDst},
    {0177770, 0075000, "fadd", kReg},
    {0177770, 0075010, "fsub", kReg},
    {0177770, 0075020, "fmul", kReg},
    {0177770, 0075030, "fdiv", kReg},
    {0177000, 0077000, "sob", kSob},
    {0174000, 0074000, "illop", kIllegal},
    // Upper branches and traps; bhis before bhi and blos before blo for the assembler.
    {0177400, 0100000, "bpl", kBranch},
    {0177400, 0100400, "bmi", kBranch},
    {0177400, 0103000, "bhis", kBranch},
    {0177400, 0101000, "bhi", kBranch},
    {0177400, 0101400, "blos", kBranch},
    {0177400, 0102000, "bvc", kBranch},
    {0177400, 0102400, "bvs", kBranch},
    {0177400, 0103400, "blo", kBranch},
    {0177400, 0104000, "emt", kTrapCode},
    {0177400, 0104400, "trap", kTrapCode},
    {0177700, 0106400, "mtps", kSingle},
    {0177700, 0106500, "mfpd", kSingle},
    {0177700, 0106600, "mtpd", kSingle},
    {0177700, 0106700, "mfps", kSingle},
    {0000000, 0000000, "illop", kIllegal},
}};

const std::array<RegisterNameEntry, 10> kRegisterNameTable = {{
    {"r0", 0},
    {"r1", 1},
    {"r2", 2},
    {"r3", 3},
    {"r4", 4},
    {"r5", 5},
    {"sp", 6},
    {"pc", 7},
    {"r6", 6},
    {"r7", 7},
}};

int FindMnemonic(uint16_t word) {
  for (int i = 0; i < kMnemonicCount; ++i) {
    if ((word & kMnemonicTable[i].mask) == kMnemonicTable[i].value) return i;
  }
  return kIllegalRow;
}

const MnemonicEntry& MnemonicRow(int row) {
  return kMnemonicTable[row >= 0 && row < kMnemonicCount ? row : kIllegalRow];
}

std::string_view RegisterName(int n) { return kRegisterNameTable[n & 7].name; }

std::optional<int> RegisterNumber(std::string_view name) {
  const auto same = [name](std::string_view entry) {
    if (entry.size() != name.size()) return false;
    for (std::size_t i = 0; i < name.size(); ++i) {
      const char c = name[i] >= 'A' && name[i] <= 'Z' ? static_cast<char>(name[i] + 32) : name[i];
      if (c != entry[i]) return false;
    }
    return true;
  };
  for (const RegisterNameEntry& entry : kRegisterNameTable) {
    if (same(entry.name)) return entry.number;
  }
  return std::nullopt;
}

}  // namespace orlan
