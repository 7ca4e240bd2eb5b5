// Numbers as the monitor reads them.
#ifndef ORLAN_TOOLS_CLI_NUMBER_H_
#define ORLAN_TOOLS_CLI_NUMBER_H_

#include <cstdint>
#include <optional>
#include <string_view>

#include "core/digits.h"

namespace orlan::cli {

// The whole text as one number in the machine's notation: octal by default
// (`default_base` may say otherwise), "0x" or "0X" before the digits gives hexadecimal
// and a trailing "." decimal. Values beyond 32 bits come back as kNumberTooLarge, so
// that callers report them as out of range rather than as bad syntax. No value: the
// text is not a number.
inline constexpr uint64_t kNumberTooLarge = kDigitsTooLarge;
std::optional<uint64_t> ParseNumber(std::string_view text, unsigned default_base = 8);

}  // namespace orlan::cli

#endif  // ORLAN_TOOLS_CLI_NUMBER_H_
