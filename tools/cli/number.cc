#include "tools/cli/number.h"

#include <cstdio>

namespace orlan::cli {

std::string Octal6(uint16_t value) {
  char text[8];
  std::snprintf(text, sizeof text, "%06o", static_cast<unsigned>(value));
  return text;
}

}  // namespace orlan::cli
