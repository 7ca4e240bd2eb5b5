#include "core/digits.h"

namespace orlan {

int DigitValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return kNotADigit;
}

DigitRun ReadDigits(std::string_view text, int base) {
  DigitRun run;
  for (const char c : text) {
    const int digit = DigitValue(c);
    if (digit >= base) break;
    ++run.length;
    run.wrapped = run.wrapped * static_cast<uint32_t>(base) + static_cast<uint32_t>(digit);
    // Saturates, so that the 64-bit accumulator never overflows however long the text.
    run.value = run.value >= kDigitsTooLarge ? kDigitsTooLarge
                                             : run.value * static_cast<uint64_t>(base) + digit;
  }
  if (run.value > kDigitsTooLarge) run.value = kDigitsTooLarge;
  return run;
}

MachineNumber ReadMachineNumber(std::string_view text, int base) {
  MachineNumber number;
  if (text.size() >= 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
    const DigitRun hex = ReadDigits(text.substr(2), 16);
    number.length = 2 + hex.length;
    number.value = hex.value;
    if (hex.length == 0) {
      number.fault = MachineNumber::Fault::kNoHexDigit;
      number.fault_at = 2;
    }
    return number;
  }
  const std::size_t digits = ReadDigits(text, 10).length;
  if (digits == 0) return number;  // no number
  const bool point = digits < text.size() && text[digits] == '.';
  const DigitRun run = ReadDigits(text.substr(0, digits), point ? 10 : base);
  number.value = run.value;
  number.length = point ? digits + 1 : digits;
  if (run.length < digits) {
    number.fault = MachineNumber::Fault::kBadDigit;
    number.fault_at = run.length;
  }
  return number;
}

std::string OctalText(uint32_t value, int min_digits) {
  std::string digits;
  do {
    digits.insert(digits.begin(), static_cast<char>('0' + (value & 7)));
    value >>= 3;
  } while (value != 0);
  if (static_cast<int>(digits.size()) < min_digits) {
    digits.insert(0, static_cast<std::size_t>(min_digits) - digits.size(), '0');
  }
  return digits;
}

}  // namespace orlan
