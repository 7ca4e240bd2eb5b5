#include "tools/cli/number.h"

#include "core/digits.h"

namespace orlan::cli {

std::optional<uint64_t> ParseNumber(std::string_view text, unsigned default_base) {
  const MachineNumber number = ReadMachineNumber(text, static_cast<int>(default_base));
  if (number.length == 0 || number.length != text.size() ||
      number.fault != MachineNumber::Fault::kNone) {
    return std::nullopt;
  }
  return number.value;
}

}  // namespace orlan::cli
