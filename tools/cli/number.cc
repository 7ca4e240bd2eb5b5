#include "tools/cli/number.h"

#include <cstdio>

namespace orlan::cli {

namespace {

int DigitValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return 99;
}

}  // namespace

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
    const int digit = DigitValue(c);
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
