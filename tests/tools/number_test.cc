#include "tools/cli/number.h"

#include <gtest/gtest.h>

namespace orlan::cli {
namespace {

struct NumberCase {
  const char* text;
  std::optional<uint64_t> value;
};

TEST(ParseNumber, ReadsOctalHexadecimalAndDecimal) {
  const NumberCase cases[] = {
      {"0", 0},
      {"17", 017},
      {"177777", 0177777},
      {"0x1f", 0x1F},
      {"0XFF", 0xFF},
      {"1000.", 1000},
      {"099.", 99},
      {"0777", 0777},  // a leading zero is still octal
      {"37777777777", 0xFFFFFFFF},
      {"40000000000", kNumberTooLarge},
      {"99999999999999999999999999.", kNumberTooLarge},  // saturates, no wrap to small
      {"0x10000000000000000", kNumberTooLarge},
      {"", std::nullopt},
      {"8", std::nullopt},
      {"0x", std::nullopt},
      {".", std::nullopt},
      {"1a.", std::nullopt},
      {"0x10.", std::nullopt},  // hexadecimal and decimal do not mix
      {"-1", std::nullopt},
      {"1 2", std::nullopt},
  };
  for (const NumberCase& c : cases) {
    EXPECT_EQ(ParseNumber(c.text), c.value) << '"' << c.text << '"';
  }
}

}  // namespace
}  // namespace orlan::cli
