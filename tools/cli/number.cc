#include "tools/cli/number.h"

#include <cstdio>

#include "debugger/number_text.h"

namespace orlan::cli {

std::optional<uint64_t> ParseNumber(std::string_view text, unsigned default_base) {
  unsigned base = default_base;
  if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
    base = 16;
    text.remove_prefix(2);
  } else if (text.size() > 1 && text.back() == '.') {
    base = 10;
    text.remove_suffix(1);
  }
  if (text.empty()) return std::nullopt;
  uint64_t value = 0;
  for (char c : text) {
    const int digit = orlan::DigitValue(c);  // 16 for a non-digit
    if (digit >= static_cast<int>(base)) return std::nullopt;
    // Saturate: the 64-bit accumulator never overflows, however long the text.
    value = value >= kNumberTooLarge ? kNumberTooLarge : value * base + digit;
  }
  return value > kNumberTooLarge ? kNumberTooLarge : value;
}

std::string Octal6(uint16_t value) {
  char text[8];
  std::snprintf(text, sizeof text, "%06o", static_cast<unsigned>(value));
  return text;
}

}  // namespace orlan::cli
