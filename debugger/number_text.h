// Number text of the debugger: every address, register value, memory cell and
// operand that the debugger shows or accepts is written in one configurable base.
#ifndef ORLAN_DEBUGGER_NUMBER_TEXT_H_
#define ORLAN_DEBUGGER_NUMBER_TEXT_H_

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "core/digits.h"

namespace orlan {

inline constexpr int kMinRadix = 8;
inline constexpr int kMaxRadix = 16;
inline constexpr int kDefaultRadix = 16;
// Width of the field that NumberToText fills: enough for any 32-bit value in base 8.
inline constexpr int kNumberFieldWidth = 11;

// The debugger's number base and the digit counts that 255 and 65535 need in it.
struct NumberFormat {
  int radix = kDefaultRadix;
  int byte_digits = 2;
  int word_digits = 4;

  // The format of `radix`; a base outside 8 to 16 gives base 16.
  static NumberFormat ForRadix(int64_t radix);

  // The value in `radix`, cut to the last word_digits (byte_digits) characters and
  // without leading blanks: fill '0' gives a fixed-width field, fill ' ' the bare
  // digits (a single 0 for zero).
  std::string WordToText(uint16_t value, char fill = '0') const;
  std::string ByteToText(uint8_t value, char fill = '0') const;
};

// `value` right-justified in a field of exactly 11 characters, upper-case digits, the
// rest of the field holding `fill`. A base outside 2 to 16 is taken as 16.
std::string NumberToText(uint32_t value, int base, char fill);

// The number that `text` begins with after leading blanks, in 32-bit wrapping
// arithmetic; parsing stops at the first character that is no digit of `base`.
// Never fails: no digits give 0. A base above 16 is taken as 16.
uint32_t TextToNumber(std::string_view text, int base);

// The whole text as one number as the monitor and the symbol files write it, in the
// machine's notation (ReadMachineNumber): octal by default (`default_base` may say
// otherwise); "0x" or "0X" before the digits gives hexadecimal and a trailing "."
// decimal. Values beyond 32 bits come back as kMarkedNumberTooLarge, so that callers
// report them as out of range rather than as bad syntax. No value: the text is not a
// number.
inline constexpr uint64_t kMarkedNumberTooLarge = kDigitsTooLarge;
std::optional<uint64_t> ParseMarkedNumber(std::string_view text, unsigned default_base = 8);

}  // namespace orlan

#endif  // ORLAN_DEBUGGER_NUMBER_TEXT_H_
