#include "debugger/line_assembler.h"

namespace orlan {
namespace {

// Letter case is folded for ASCII only, so any byte of the input is safe to look at.
char AsciiLower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

}  // namespace

void LineAssembler::SetText(std::string_view text) {
  text_.assign(text.substr(0, kAsmTextLimit));
  pos_ = 1;
  word_count_ = 0;
  reason_.clear();
  unknown_symbol_.clear();
}

bool LineAssembler::Fail(std::string_view reason) {
  if (reason_.empty()) reason_ = reason;
  return false;
}

bool LineAssembler::SkipSpaces() {
  const int start = pos_;
  while (!AtEnd() && text_[pos_ - 1] == ' ') ++pos_;
  return pos_ != start;
}

bool LineAssembler::MatchChar(char c) {
  if (AtEnd() || text_[pos_ - 1] != c) return false;
  ++pos_;
  return true;
}

bool LineAssembler::MatchComma() {
  SkipSpaces();
  const bool matched = MatchChar(',');
  if (!matched) return Fail("',' expected");
  SkipSpaces();
  return true;
}

bool LineAssembler::MatchName(std::string_view name) {
  const std::size_t start = static_cast<std::size_t>(pos_ - 1);
  if (start > text_.size() || name.size() > text_.size() - start) return false;
  for (std::size_t i = 0; i < name.size(); ++i) {
    if (AsciiLower(text_[start + i]) != name[i]) return false;
  }
  pos_ += static_cast<int>(name.size());
  return true;
}

int LineAssembler::FindName(std::span<const MnemonicEntry> table) {
  for (std::size_t i = 0; i < table.size(); ++i) {
    if (MatchName(table[i].name)) return static_cast<int>(i);
  }
  return -1;
}

int LineAssembler::FindName(std::span<const RegisterNameEntry> table) {
  for (std::size_t i = 0; i < table.size(); ++i) {
    if (MatchName(table[i].name)) return static_cast<int>(i);
  }
  return -1;
}

int LineAssembler::ParseNumber(uint16_t& value) {
  const DigitRun run = ReadDigits(std::string_view(text_).substr(pos_ - 1), format_.radix);
  value = static_cast<uint16_t>(run.wrapped);
  pos_ += static_cast<int>(run.length);
  return static_cast<int>(run.length);
}

bool LineAssembler::ParseValue(uint16_t& value) {
  if (HasSymbols() && !AtEnd()) {
    const std::string_view rest =
        std::string_view(text_).substr(static_cast<std::size_t>(pos_ - 1));
    const SymbolRead read = ReadSymbol(rest, format_.radix, *symbols_);
    if (read.kind == SymbolRead::kKnown) {
      value = read.value;
      pos_ += static_cast<int>(read.length);
      return true;
    }
    if (read.kind == SymbolRead::kUnknown) {
      unknown_symbol_ = rest.substr(0, read.length);
      return Fail("unknown symbol: " + unknown_symbol_);
    }
  }
  return ParseNumber(value) > 0;
}

bool LineAssembler::AtSymbol() const {
  if (!HasSymbols() || AtEnd()) return false;
  const std::string_view rest = std::string_view(text_).substr(static_cast<std::size_t>(pos_ - 1));
  const std::size_t length = NameLength(rest);
  return length > 0 && Referable(rest.substr(0, length), format_.radix);
}

bool LineAssembler::ParseRegister(int& n) {
  const int row = FindName(kRegisterNameTable);
  if (row < 0) return false;
  n = kRegisterNameTable[row].number;
  return true;
}

bool LineAssembler::ExpectRegister(int& n) { return ParseRegister(n) || Fail("register expected"); }

void LineAssembler::AddWord(uint16_t word) {
  // An instruction has at most two extra words, one per operand field.
  if (word_count_ < static_cast<int>(words_.size())) words_[word_count_++] = word;
}

std::optional<int> LineAssembler::ParseOperand(uint16_t address) {
  const bool deferred = MatchChar('@');
  int n = 0;
  // A symbol such as "spin" must not be read as the register sp and "in".
  const bool symbol = AtSymbol();
  if (!symbol && ParseRegister(n)) return (deferred ? 010 : 0) + n;  // @r is (r)
  if (MatchChar('#')) {
    uint16_t value;
    if (!ParseValue(value)) {
      Fail("number expected");
      return std::nullopt;
    }
    AddWord(value);
    return deferred ? 037 : 027;  // absolute : immediate
  }
  if (MatchChar('-')) {
    if (!MatchChar('(') || !ParseRegister(n) || !MatchChar(')')) {
      Fail("-(register) expected");
      return std::nullopt;
    }
    return (deferred ? 050 : 040) + n;
  }
  if (MatchChar('(')) {
    if (!ParseRegister(n) || !MatchChar(')')) {
      Fail("(register) expected");
      return std::nullopt;
    }
    if (MatchChar('+')) return (deferred ? 030 : 020) + n;
    if (!deferred) return 010 + n;
    AddWord(0);  // @(r) is @0(r)
    return 070 + n;
  }
  uint16_t x;
  if (!ParseValue(x)) {
    Fail("operand expected");
    return std::nullopt;
  }
  if (MatchChar('(')) {
    if (!ParseRegister(n) || !MatchChar(')')) {
      Fail("(register) expected");
      return std::nullopt;
    }
    AddWord(x);
    return (deferred ? 070 : 060) + n;
  }
  // An address reached relative to the program counter, which then points just past
  // this extra word.
  AddWord(static_cast<uint16_t>(x - (address + 2 * word_count_ + 2)));
  return deferred ? 077 : 067;
}

bool LineAssembler::ParseOperandsOf(OperandFormat format, uint16_t address) {
  uint16_t& word = words_[0];
  int n = 0;
  uint16_t value = 0;
  switch (format) {
    case OperandFormat::kIllegal:
    case OperandFormat::kNone:
      return true;
    case OperandFormat::kReg:
      if (!ExpectRegister(n)) return false;
      word |= static_cast<uint16_t>(n);
      return true;
    case OperandFormat::kDoubleB:
    case OperandFormat::kDouble: {
      const std::optional<int> source = ParseOperand(address);
      if (!source) return false;
      word |= static_cast<uint16_t>(*source << 6);
      if (!MatchComma()) return false;
      const std::optional<int> destination = ParseOperand(address);
      if (!destination) return false;
      word |= static_cast<uint16_t>(*destination);
      return true;
    }
    case OperandFormat::kSingleB:
    case OperandFormat::kSingle: {
      const std::optional<int> destination = ParseOperand(address);
      if (!destination) return false;
      word |= static_cast<uint16_t>(*destination);
      return true;
    }
    case OperandFormat::kRegDst: {
      if (!ExpectRegister(n)) return false;
      word |= static_cast<uint16_t>(n << 6);
      if (!MatchComma()) return false;
      const std::optional<int> destination = ParseOperand(address);
      if (!destination) return false;
      word |= static_cast<uint16_t>(*destination);
      return true;
    }
    case OperandFormat::kSrcReg: {
      const std::optional<int> source = ParseOperand(address);
      if (!source) return false;
      word |= static_cast<uint16_t>(*source);
      if (!MatchComma() || !ExpectRegister(n)) return false;
      word |= static_cast<uint16_t>(n << 6);
      return true;
    }
    case OperandFormat::kBranch: {
      if (!ParseValue(value)) return Fail("address expected");
      // The difference is taken in 16 bits, so targets wrap around the address space;
      // an odd difference loses its last unit (rounding toward minus infinity).
      const int difference = static_cast<int16_t>(static_cast<uint16_t>(value - address - 2));
      const int offset = difference >> 1;
      if (offset < -128 || offset > 127) return Fail("branch too far");
      word |= static_cast<uint16_t>(offset & 0377);
      return true;
    }
    case OperandFormat::kSob: {
      if (!ExpectRegister(n)) return false;
      word |= static_cast<uint16_t>(n << 6);
      if (!MatchComma()) return false;
      if (!ParseValue(value)) return Fail("address expected");
      const int offset = static_cast<uint16_t>(address + 2 - value) / 2;
      if (offset > 077) return Fail("sob goes back at most 77 words");
      word |= static_cast<uint16_t>(offset);
      return true;
    }
    case OperandFormat::kPriority:
    case OperandFormat::kMark:
    case OperandFormat::kTrapCode: {
      const uint16_t limit = format == OperandFormat::kPriority ? 7
                             : format == OperandFormat::kMark   ? 077
                                                                : 0377;
      if (!ParseValue(value)) return Fail("number expected");
      if (value > limit) return Fail("number too large");
      word |= value;
      return true;
    }
    case OperandFormat::kFlags:
      if (MatchChar('c')) word |= 01;
      if (MatchChar('v')) word |= 02;
      if (MatchChar('z')) word |= 04;
      if (MatchChar('n')) word |= 010;
      return true;
  }
  return false;
}

bool LineAssembler::AssembleLine(std::string_view text, uint16_t address) {
  if (Assemble(text, address)) return true;
  word_count_ = 0;  // nothing for a careless caller to store
  return false;
}

bool LineAssembler::Assemble(std::string_view text, uint16_t address) {
  SetText(text);
  SkipSpaces();
  if (AtEnd()) {
    pos_ = 0;
    return true;
  }
  const int row = FindName(kMnemonicTable);
  if (row < 0) return Fail("unknown instruction");
  const MnemonicEntry& entry = kMnemonicTable[row];
  if (entry.format == OperandFormat::kIllegal) return Fail("unknown instruction");
  AddWord(entry.value);
  if (!AtEnd() && AsciiLower(text_[pos_ - 1]) == 'b' && HasByteForm(entry.format)) {
    ++pos_;
    words_[0] |= 0100000;
  }
  // Every mnemonic with operands (even an empty flag list) needs a blank after it.
  if (!SkipSpaces() && entry.format != OperandFormat::kNone) return Fail("blank expected");
  if (!ParseOperandsOf(entry.format, address)) return false;
  SkipSpaces();
  if (!AtEnd()) return Fail("end of line expected");
  pos_ = 0;
  return true;
}

}  // namespace orlan
