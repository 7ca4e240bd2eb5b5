// The instruction and register names shared by the disassembler and the line
// assembler. Row order matters in both directions: the disassembler takes the first
// row whose mask and value match a word, the assembler the first row whose name
// begins the typed text.
#ifndef ORLAN_DEBUGGER_MNEMONIC_TABLE_H_
#define ORLAN_DEBUGGER_MNEMONIC_TABLE_H_

#include <array>
#include <cstdint>
#include <optional>
#include <string_view>

namespace orlan {

// How the operand column is built, and what the assembler expects after the name.
enum class OperandFormat : uint8_t {
  kIllegal = 0,    // no instruction: shown as illop, never assembled
  kNone = 1,       // no operands
  kReg = 2,        // register in bits 0-2
  kDoubleB = 3,    // source (bits 6-11) "," destination (bits 0-5); has a byte form
  kDouble = 4,     // source "," destination
  kSingleB = 5,    // destination (bits 0-5); has a byte form
  kSingle = 6,     // destination
  kRegDst = 7,     // register in bits 6-8 "," destination
  kSrcReg = 8,     // field in bits 0-5 "," register in bits 6-8
  kBranch = 9,     // target from the signed 8-bit offset in bits 0-7
  kSob = 10,       // register in bits 6-8 "," backward target from bits 0-5
  kPriority = 11,  // one digit, bits 0-2
  kMark = 12,      // number, bits 0-5
  kTrapCode = 13,  // number, bits 0-7
  kFlags = 14,     // condition-code letters from bits 0-3
};

// Whether a "b" after the name selects the byte form (bit 15).
constexpr bool HasByteForm(OperandFormat format) {
  return format == OperandFormat::kDoubleB || format == OperandFormat::kSingleB;
}

struct MnemonicEntry {
  uint16_t mask;
  uint16_t value;
  std::string_view name;  // 1 to 5 lower-case letters
  OperandFormat format;
};

inline constexpr int kMnemonicCount = 87;
inline constexpr int kIllegalRow = kMnemonicCount - 1;  // matches every word

// The 87 rows, in the order that decides between rows matching the same word or
// names beginning alike.
extern const std::array<MnemonicEntry, kMnemonicCount> kMnemonicTable;

// The first row whose mask and value match `word`; every word finds one.
int FindMnemonic(uint16_t word);

// Row `row` of the table; a row outside it gives the last row, illop.
const MnemonicEntry& MnemonicRow(int row);

struct RegisterNameEntry {
  std::string_view name;
  int number;
};

// The disassembler names register n by row n (so 6 and 7 are sp and pc); the
// assembler accepts all ten names.
extern const std::array<RegisterNameEntry, 10> kRegisterNameTable;

// Name of register n (0 to 7; only the low three bits count).
std::string_view RegisterName(int n);
// The number of the register that `name` names in any letter case (r0-r7, sp, pc).
std::optional<int> RegisterNumber(std::string_view name);

}  // namespace orlan

#endif  // ORLAN_DEBUGGER_MNEMONIC_TABLE_H_
