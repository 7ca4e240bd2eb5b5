#include "debugger/number_text.h"

#include <gtest/gtest.h>

#include <map>
#include <string>

namespace orlan {
namespace {

TEST(NumberText, EveryAcceptedRadixGivesItsWidthsAndTexts) {
  struct Case {
    int radix;
    const char* byte_max;
    const char* word_max;
  } cases[] = {{8, "377", "177777"}, {9, "313", "108806"}, {10, "255", "65535"},
               {11, "212", "45268"}, {12, "193", "31B13"}, {13, "168", "23AA2"},
               {14, "143", "19C51"}, {15, "120", "14640"}, {16, "FF", "FFFF"}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.radix);
    const NumberFormat f = NumberFormat::ForRadix(c.radix);
    EXPECT_EQ(f.radix, c.radix);
    EXPECT_EQ(f.byte_digits, static_cast<int>(std::string(c.byte_max).size()));
    EXPECT_EQ(f.word_digits, static_cast<int>(std::string(c.word_max).size()));
    EXPECT_EQ(f.ByteToText(255, '0'), c.byte_max);
    EXPECT_EQ(f.WordToText(65535, '0'), c.word_max);
    EXPECT_EQ(f.WordToText(65535, ' '), c.word_max);
    EXPECT_EQ(f.WordToText(0, '0'), std::string(f.word_digits, '0'));
    EXPECT_EQ(f.WordToText(0, ' '), "0");
  }
}

TEST(NumberText, FieldsAndFills) {
  const NumberFormat hex = NumberFormat::ForRadix(16);
  const NumberFormat oct = NumberFormat::ForRadix(8);
  EXPECT_EQ(hex.WordToText(255, '0'), "00FF");
  EXPECT_EQ(oct.WordToText(255, '0'), "000377");
  EXPECT_EQ(hex.WordToText(255, ' '), "FF");
  EXPECT_EQ(oct.WordToText(255, ' '), "377");
  EXPECT_EQ(hex.ByteToText(10, '0'), "0A");
  EXPECT_EQ(NumberToText(0, 16, '*'), "**********0");
  EXPECT_EQ(NumberToText(0xFFFFFFFFu, 8, ' '), "37777777777");
  EXPECT_EQ(NumberToText(0xFFFFFFFFu, 16, ' '), "   FFFFFFFF");
  // A base without a digit for each value falls back to 16 instead of dividing by
  // zero or indexing past the digits.
  EXPECT_EQ(NumberToText(255, 0, ' '), NumberToText(255, 16, ' '));
  EXPECT_EQ(NumberToText(255, 40, ' '), NumberToText(255, 16, ' '));
}

TEST(NumberText, TextToNumber) {
  struct Case {
    const char* text;
    int base;
    uint32_t value;
  } cases[] = {
      {"  1a", 16, 26},
      {"1G", 16, 1},
      {"", 16, 0},
      {" x5", 16, 0},
      {"19", 8, 1},
      {"   ", 10, 0},
      {"\t5", 10, 0},
      {"42 7", 10, 42},
      {"177777", 8, 0177777},
      {"FFFFFFFF", 16, 0xFFFFFFFFu},  // the largest value
      {"100000001", 16, 1},           // wraps in 32 bits
      {"1g", 17, 1},                  // no base gives a non-digit a value
      {"7", 0, 0},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(TextToNumber(c.text, c.base), c.value) << '"' << c.text << "\" base " << c.base;
  }
}

TEST(NumberText, RadixSettingOutsideEightToSixteenGivesSixteen) {
  struct Case {
    int64_t setting;
    int radix;
  } cases[] = {
      {16, 16}, {7, 16}, {17, 16}, {8, 8}, {10, 10}, {-8, 16}, {(int64_t{1} << 32) + 8, 16}};
  for (const Case& c : cases) {
    const NumberFormat f = NumberFormat::ForRadix(c.setting);
    EXPECT_EQ(f.radix, c.radix) << c.setting;
    EXPECT_EQ(f.word_digits, c.radix == 8 ? 6 : c.radix == 10 ? 5 : 4) << c.setting;
  }
}

}  // namespace
}  // namespace orlan
