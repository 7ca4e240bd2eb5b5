#include "tools/cli/number.h"

#include <gtest/gtest.h>

namespace orlan::cli {
namespace {

TEST(ParseNumber, ReadsOctalHexadecimalAndDecimal) {
  struct Case {
    const char* text;
    std::optional<uint64_t> value;
  };
  const Case cases[] = {
      {"177777", 0177777},
      {"0777", 0777},  // a leading zero is still octal
      {"0x1f", 0x1F},
      {"0XFF", 0xFF},
      {"1000.", 1000},
      {"099.", 99},
      {"37777777777", 0xFFFFFFFF},
      {"40000000000", kNumberTooLarge},
      {"99999999999999999999999999.", kNumberTooLarge},  // saturates, no wrap to small
      {"", std::nullopt},
      {"8", std::nullopt},
      {"0x", std::nullopt},
      {".", std::nullopt},
      {"1a.", std::nullopt},
      {"0x10.", std::nullopt},  // hexadecimal and decimal do not mix
      {"-1", std::nullopt},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(ParseNumber(c.text), c.value) << '"' << c.text << '"';
  }
  EXPECT_EQ(ParseNumber("20000", 10), 20000u);
}

}  // namespace
}  // namespace orlan::cli
