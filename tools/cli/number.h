// Numbers as the monitor reads them.
#ifndef ORLAN_TOOLS_CLI_NUMBER_H_
#define ORLAN_TOOLS_CLI_NUMBER_H_

#include <cstdint>
#include <optional>
#include <string_view>

#include "debugger/number_text.h"

namespace orlan::cli {

// The debugger's ParseMarkedNumber: octal by default, "0x" hexadecimal, a trailing
// "." decimal; beyond 32 bits kNumberTooLarge.
inline constexpr uint64_t kNumberTooLarge = kMarkedNumberTooLarge;
inline std::optional<uint64_t> ParseNumber(std::string_view text, unsigned default_base = 8) {
  return ParseMarkedNumber(text, default_base);
}

}  // namespace orlan::cli

#endif  // ORLAN_TOOLS_CLI_NUMBER_H_
