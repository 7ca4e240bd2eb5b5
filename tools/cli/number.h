// Number text as the monitor reads and prints it.
#ifndef ORLAN_TOOLS_CLI_NUMBER_H_
#define ORLAN_TOOLS_CLI_NUMBER_H_

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace orlan::cli {

// Octal by default, like the machine's own notation (`default_base` may say
// otherwise); "0x" or "0X" before the digits gives hexadecimal and a trailing "."
// decimal. Values beyond 32 bits come back as
// kNumberTooLarge, so that callers report them as out of range rather than as bad
// syntax. No value: the text is not a number.
inline constexpr uint64_t kNumberTooLarge = uint64_t{1} << 32;
std::optional<uint64_t> ParseNumber(std::string_view text, unsigned default_base = 8);

// Six octal digits, the width of a machine word.
std::string Octal6(uint16_t value);

}  // namespace orlan::cli

#endif  // ORLAN_TOOLS_CLI_NUMBER_H_
