// The line assembler: one line of assembler text to the one to three words of that
// instruction at a given address. It is the inverse of the disassembler and uses the
// same tables and number base. It only produces words; the caller stores them.
#ifndef ORLAN_DEBUGGER_LINE_ASSEMBLER_H_
#define ORLAN_DEBUGGER_LINE_ASSEMBLER_H_

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "debugger/mnemonic_table.h"
#include "debugger/number_text.h"

namespace orlan {

inline constexpr std::size_t kAsmTextLimit = 64;  // characters of a line that count

class LineAssembler {
 public:
  // `format` must outlive the assembler; it is read at every use.
  explicit LineAssembler(const NumberFormat& format) : format_(format) {}
  explicit LineAssembler(const NumberFormat&& format) = delete;

  // Assembles `text` (its first 64 characters) for the address at which the words
  // will be stored. On success gives true, pos() is 0 and words() holds the
  // instruction (an empty or all-blank line succeeds with no words). On failure gives
  // false, words() is empty and pos() is the 1-based position of the character where
  // scanning stopped (one past the last character when the line ended too soon).
  bool AssembleLine(std::string_view text, uint16_t address);

  // AsmPos: 0 after success, else the 1-based failure position.
  int pos() const { return pos_; }
  // Why the last line failed, in a few words ("register expected"); empty after
  // success.
  std::string_view reason() const { return reason_; }
  // AsmWords / AsmWordCount: the valid words after success (instruction word first,
  // then the extra words, source before destination).
  std::span<const uint16_t> words() const {
    return std::span<const uint16_t>(words_.data(), static_cast<std::size_t>(word_count_));
  }
  int word_count() const { return word_count_; }
  const std::string& text() const { return text_; }

  // --- scanning, on text() at pos() ------------------------------------------------
  // Sets the text (first 64 characters) and the position 1 without assembling.
  void SetText(std::string_view text);
  bool AtEnd() const { return pos_ > static_cast<int>(text_.size()); }
  // Advances over blanks; true when at least one was skipped.
  bool SkipSpaces();
  // Advances over `c` (exact case) when it is next.
  bool MatchChar(char c);
  // Blanks, ",", blanks; gives whether the comma was there.
  bool MatchComma();
  // Advances over `name` when the input begins with it in any letter case; what
  // follows is not examined.
  bool MatchName(std::string_view name);
  // The first row whose name MatchName accepts, or -1.
  int FindName(std::span<const MnemonicEntry> table);
  int FindName(std::span<const RegisterNameEntry> table);
  // Reads digits of the base into a 16-bit wrapping value; gives the digit count (0
  // when none, with `value` 0).
  int ParseNumber(uint16_t& value);
  // One operand: its 6-bit field (mode * 8 + register), appending the extra word it
  // needs; nothing on failure. Relative operands use `address`.
  std::optional<int> ParseOperand(uint16_t address);

 private:
  bool Assemble(std::string_view text, uint16_t address);
  bool ParseRegister(int& n);
  // ParseRegister that records "register expected" when none is there.
  bool ExpectRegister(int& n);
  bool ParseOperandsOf(OperandFormat format, uint16_t address);
  void AddWord(uint16_t word);
  // Records why scanning stopped (the innermost reason wins) and gives false.
  bool Fail(const char* reason);

  const NumberFormat& format_;
  std::string text_;
  int pos_ = 1;
  const char* reason_ = "";
  std::array<uint16_t, 3> words_{};
  int word_count_ = 0;
};

}  // namespace orlan

#endif  // ORLAN_DEBUGGER_LINE_ASSEMBLER_H_
