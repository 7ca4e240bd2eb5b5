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
#include "debugger/symbol_table.h"

namespace orlan {

inline constexpr std::size_t kAsmTextLimit = 64;  // characters of a line that count

class LineAssembler {
 public:
  // `format` must outlive the assembler; it is read at every use.
  explicit LineAssembler(const NumberFormat& format) : format_(format) {}
  explicit LineAssembler(const NumberFormat&& format) = delete;

  // With a table that has names, every number of an operand (target, address, index,
  // immediate, code) may also be a name, with an optional +N or -N (ReadSymbol); a
  // Referable name is looked up before registers are tried. The
  // table must outlive its use; null or empty: numbers only.
  void set_symbols(const SymbolTable* symbols) { symbols_ = symbols; }

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
  // The name that stopped the last line because the symbols lack it (pos() is at
  // it, and reason() is "unknown symbol: NAME"); empty otherwise.
  const std::string& unknown_symbol() const { return unknown_symbol_; }
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
  // A number, or with symbols a name as ReadSymbol reads it; gives whether one was
  // read. An unknown name fails at its first character and sets unknown_symbol().
  bool ParseValue(uint16_t& value);
  // One operand: its 6-bit field (mode * 8 + register), appending the extra word it
  // needs; nothing on failure. Relative operands use `address`.
  std::optional<int> ParseOperand(uint16_t address);

 private:
  bool Assemble(std::string_view text, uint16_t address);
  bool ParseRegister(int& n);
  bool HasSymbols() const { return symbols_ != nullptr && !symbols_->empty(); }
  // Whether a symbol, not a register or a number, begins at the position: a
  // Referable name. Only with symbols.
  bool AtSymbol() const;
  // ParseRegister that records "register expected" when none is there.
  bool ExpectRegister(int& n);
  bool ParseOperandsOf(OperandFormat format, uint16_t address);
  void AddWord(uint16_t word);
  // Records why scanning stopped (the innermost reason wins) and gives false.
  bool Fail(std::string_view reason);

  const NumberFormat& format_;
  const SymbolTable* symbols_ = nullptr;
  std::string text_;
  int pos_ = 1;
  std::string reason_;
  std::string unknown_symbol_;
  std::array<uint16_t, 3> words_{};
  int word_count_ = 0;
};

}  // namespace orlan

#endif  // ORLAN_DEBUGGER_LINE_ASSEMBLER_H_
