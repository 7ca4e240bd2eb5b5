// The one reader of digits, the machine's notation built on it, and octal text.
#include "core/digits.h"

#include <gtest/gtest.h>

namespace orlan {
namespace {

TEST(Digits, DigitValue) {
  struct Case {
    char c;
    int value;
  } cases[] = {{'0', 0},  {'9', 9},  {'A', 10}, {'a', 10}, {'F', 15}, {'f', 15}, {'g', 16},
               {'G', 16}, {' ', 16}, {'/', 16}, {':', 16}, {'@', 16}, {'`', 16}, {'\xC1', 16}};
  for (const Case& c : cases) EXPECT_EQ(DigitValue(c.c), c.value) << int(c.c);
}

TEST(Digits, MachineNumbersAndTheirFaults) {
  using Fault = MachineNumber::Fault;
  struct Case {
    const char* text;
    std::size_t length;
    uint64_t value;
    Fault fault;
    std::size_t fault_at;
  } cases[] = {
      {"17+1", 2, 15, Fault::kNone, 0},
      {"19.x", 3, 19, Fault::kNone, 0},
      {"0x1fG", 4, 31, Fault::kNone, 0},
      {"0X", 2, 0, Fault::kNoHexDigit, 2},
      {"1289", 4, 10, Fault::kBadDigit, 2},  // the value of the digits before the 8
      {"x12", 0, 0, Fault::kNone, 0},
      {".5", 0, 0, Fault::kNone, 0},
      {"77777777777777", 14, kDigitsTooLarge, Fault::kNone, 0},
      {"37777777777", 11, 0xFFFFFFFF, Fault::kNone, 0},
  };
  for (const Case& c : cases) {
    const MachineNumber n = ReadMachineNumber(c.text);
    EXPECT_EQ(n.length, c.length) << c.text;
    EXPECT_EQ(n.value, c.value) << c.text;
    EXPECT_EQ(n.fault, c.fault) << c.text;
    EXPECT_EQ(n.fault_at, c.fault_at) << c.text;
  }
  EXPECT_EQ(ReadDigits("777777777777", 8).wrapped, 0xFFFFFFFFu);  // wraps at 32 bits
  EXPECT_EQ(OctalText(0, 1), "0");
  EXPECT_EQ(OctalText(8, 6), "000010");
  EXPECT_EQ(Octal6(0177777), "177777");
  EXPECT_EQ(OctalText(0xFFFFFFFF, 1), "37777777777");
}

}  // namespace
}  // namespace orlan
