#include "tools/asm/expression.h"

namespace orlan::asm_tool {
namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

int HexDigit(char c) {
  if (IsDigit(c)) return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

class Parser {
 public:
  Parser(std::string_view text, uint16_t location, const SymbolLookup& lookup, ExprResult& out)
      : text_(text), location_(location), lookup_(lookup), out_(out) {}

  // sum := product (("+" | "-") product)*
  bool Sum(std::size_t& i, uint32_t& value) {
    if (!Product(i, value)) return false;
    while (true) {
      // Blanks may stand around an operator that another term follows.
      const std::size_t op_at = SkipBlanks(i);
      if (op_at >= text_.size() || (text_[op_at] != '+' && text_[op_at] != '-') ||
          !StartsTerm(text_, SkipBlanks(op_at + 1))) {
        return true;
      }
      const char op = text_[op_at];
      i = SkipBlanks(op_at + 1);
      uint32_t rhs = 0;
      if (!Product(i, rhs)) return false;
      value = op == '+' ? value + rhs : value - rhs;
    }
  }

 private:
  // product := unary (("*" | "/") unary)*
  bool Product(std::size_t& i, uint32_t& value) {
    if (!Unary(i, value)) return false;
    while (true) {
      const std::size_t op_at = SkipBlanks(i);
      if (op_at >= text_.size() || (text_[op_at] != '*' && text_[op_at] != '/') ||
          !StartsTerm(text_, SkipBlanks(op_at + 1))) {
        return true;
      }
      const char op = text_[op_at];
      i = SkipBlanks(op_at + 1);
      uint32_t rhs = 0;
      if (!Unary(i, rhs)) return false;
      rhs &= 0xFFFF;
      if (op == '*') {
        value *= rhs;
      } else if (rhs == 0) {
        if (out_.defined) return Fail(op_at, "division by zero");
        value = 0;  // an undefined operand: the value does not matter yet
      } else {
        value = (value & 0xFFFF) / rhs;
      }
    }
  }

  std::size_t SkipBlanks(std::size_t i) const {
    while (i < text_.size() && (text_[i] == ' ' || text_[i] == '\t' || text_[i] == '\r')) ++i;
    return i;
  }

  // unary := "-"* term. Counted, not recursive: a long run of signs must not exhaust
  // the stack.
  bool Unary(std::size_t& i, uint32_t& value) {
    bool negate = false;
    for (; i < text_.size() && text_[i] == '-'; ++i) negate = !negate;
    if (!Term(i, value)) return false;
    if (negate) value = 0u - value;
    return true;
  }

  bool Term(std::size_t& i, uint32_t& value) {
    if (i >= text_.size()) return Fail(i, "expression expected");
    const char c = text_[i];
    if (c == '\'') {
      if (i + 1 >= text_.size()) return Fail(i, "character expected after '");
      value = static_cast<unsigned char>(text_[i + 1]);
      i += 2;
      return true;
    }
    if (IsDigit(c)) return Number(i, value);
    if (IsNameStart(c)) {
      const std::size_t start = i;
      while (i < text_.size() && IsNameChar(text_[i])) ++i;
      const std::string_view name = text_.substr(start, i - start);
      const std::optional<uint16_t> v = lookup_(name);
      if (v) {
        value = *v;
      } else {
        if (out_.defined) {
          out_.defined = false;
          out_.undefined_name = std::string(name);
          out_.undefined_at = start;
        }
        value = 0;
      }
      return true;
    }
    if (c == '.' && !(i + 1 < text_.size() && IsNameChar(text_[i + 1]))) {
      ++i;
      value = location_;
      return true;
    }
    return Fail(i, "expression expected");
  }

  bool Number(std::size_t& i, uint32_t& value) {
    const std::size_t start = i;
    uint64_t v = 0;
    if (text_[i] == '0' && i + 1 < text_.size() && (text_[i + 1] == 'x' || text_[i + 1] == 'X')) {
      i += 2;
      const std::size_t digits = i;
      while (i < text_.size() && HexDigit(text_[i]) >= 0) {
        v = v * 16 + static_cast<uint64_t>(HexDigit(text_[i++]));
        if (v > 0xFFFF) return Fail(start, "number does not fit in 16 bits");
      }
      if (i == digits) return Fail(i, "hexadecimal digit expected");
    } else {
      std::size_t j = i;
      while (j < text_.size() && IsDigit(text_[j])) ++j;
      const bool decimal = j < text_.size() && text_[j] == '.';
      const uint64_t base = decimal ? 10 : 8;
      for (; i < j; ++i) {
        const uint64_t d = static_cast<uint64_t>(text_[i] - '0');
        if (d >= base)
          return Fail(i, "digit 8 or 9 in an octal number (decimal needs a trailing .)");
        v = v * base + d;
        if (v > 0xFFFF) return Fail(start, "number does not fit in 16 bits");
      }
      if (decimal) ++i;
    }
    if (i < text_.size() && IsNameChar(text_[i]))
      return Fail(i, "unexpected character in a number");
    value = static_cast<uint32_t>(v);
    return true;
  }

  bool Fail(std::size_t at, const char* message) {
    out_.error = message;
    out_.error_at = at;
    return false;
  }

  std::string_view text_;
  uint16_t location_;
  const SymbolLookup& lookup_;
  ExprResult& out_;
};

}  // namespace

bool IsNameStart(char c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '_' || c == '$';
}

bool IsNameChar(char c) { return IsNameStart(c) || IsDigit(c); }

bool StartsTerm(std::string_view text, std::size_t i) {
  while (i < text.size() && text[i] == '-') ++i;
  if (i >= text.size()) return false;
  const char c = text[i];
  return IsDigit(c) || IsNameStart(c) || c == '.' || c == '\'';
}

ExprResult ParseExpression(std::string_view text, std::size_t start, uint16_t location,
                           const SymbolLookup& lookup) {
  ExprResult out;
  Parser parser(text, location, lookup, out);
  std::size_t i = start;
  uint32_t value = 0;
  if (parser.Sum(i, value)) {
    out.value = out.defined ? static_cast<uint16_t>(value) : 0;
    out.end = i;
  }
  return out;
}

std::string OctalText(uint16_t value) {
  std::string digits;
  do {
    digits.insert(digits.begin(), static_cast<char>('0' + (value & 7)));
    value = static_cast<uint16_t>(value >> 3);
  } while (value != 0);
  return digits;
}

}  // namespace orlan::asm_tool
