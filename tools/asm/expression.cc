#include "tools/asm/expression.h"

#include "core/digits.h"

namespace orlan::asm_tool {
namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

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
    const MachineNumber n = ReadMachineNumber(text_.substr(i));
    if (n.fault == MachineNumber::Fault::kNoHexDigit) {
      return Fail(start + n.fault_at, "hexadecimal digit expected");
    }
    // Digits are read from the left, so a value too large before a bad digit comes first.
    if (n.value > 0xFFFF) return Fail(start, "number does not fit in 16 bits");
    if (n.fault == MachineNumber::Fault::kBadDigit) {
      return Fail(start + n.fault_at,
                  "digit 8 or 9 in an octal number (decimal needs a trailing .)");
    }
    i += n.length;
    if (i < text_.size() && IsNameChar(text_[i]))
      return Fail(i, "unexpected character in a number");
    value = static_cast<uint32_t>(n.value);
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

}  // namespace orlan::asm_tool
