// Expressions of the cross-assembler: numbers, symbols, the location counter and
// character constants joined by + - * /, evaluated in 16-bit wrapping arithmetic.
#ifndef ORLAN_TOOLS_ASM_EXPRESSION_H_
#define ORLAN_TOOLS_ASM_EXPRESSION_H_

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace orlan::asm_tool {

// The value of a symbol, or nothing while it is not (yet) defined.
using SymbolLookup = std::function<std::optional<uint16_t>(std::string_view name)>;

struct ExprResult {
  uint16_t value = 0;
  std::size_t end = 0;  // index just past the expression
  bool defined = true;  // false when an undefined symbol took part (value then 0)
  std::string undefined_name;
  std::size_t undefined_at = 0;  // index of the first undefined symbol
  std::string error;             // not empty: a syntax error at error_at
  std::size_t error_at = 0;
};

// A letter, "_" or "$": what a symbol name starts with.
bool IsNameStart(char c);
bool IsNameChar(char c);
// Whether the text at `i` begins an expression term (a number, name, ".", "'" or a
// unary minus).
bool StartsTerm(std::string_view text, std::size_t i);

// Numbers: octal by default, decimal with a trailing ".", hexadecimal after "0x".
// `.` alone is `location`; 'c is the character code of c.
ExprResult ParseExpression(std::string_view text, std::size_t start, uint16_t location,
                           const SymbolLookup& lookup);

}  // namespace orlan::asm_tool

#endif  // ORLAN_TOOLS_ASM_EXPRESSION_H_
