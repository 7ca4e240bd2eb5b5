#include "debugger/number_text.h"

namespace orlan {
namespace {

// Digits 0 to 15, upper case as the debugger shows them.
constexpr std::string_view kDigitChars = "0123456789ABCDEF";

// Only bases with a digit for every value make sense; anything else (a zero base
// would divide by zero) is taken as the default base.
int UsableBase(int base) { return base >= 2 && base <= 16 ? base : kDefaultRadix; }

// Digits that `value` needs in `base`.
int DigitCount(uint32_t value, int base) {
  const std::string field = NumberToText(value, base, ' ');
  return kNumberFieldWidth - static_cast<int>(field.find_first_not_of(' '));
}

std::string FieldText(uint32_t value, int radix, int digits, char fill) {
  const std::string field = NumberToText(value, radix, fill);
  std::string_view kept(field);
  kept.remove_prefix(kNumberFieldWidth - digits);
  while (!kept.empty() && static_cast<unsigned char>(kept.front()) <= ' ') kept.remove_prefix(1);
  return std::string(kept);
}

}  // namespace

NumberFormat NumberFormat::ForRadix(int64_t radix) {
  NumberFormat format;
  format.radix = radix < kMinRadix || radix > kMaxRadix ? kDefaultRadix : static_cast<int>(radix);
  format.byte_digits = DigitCount(0377, format.radix);
  format.word_digits = DigitCount(0177777, format.radix);
  return format;
}

std::string NumberFormat::WordToText(uint16_t value, char fill) const {
  return FieldText(value, radix, word_digits, fill);
}

std::string NumberFormat::ByteToText(uint8_t value, char fill) const {
  return FieldText(value, radix, byte_digits, fill);
}

std::string NumberToText(uint32_t value, int base, char fill) {
  const uint32_t b = static_cast<uint32_t>(UsableBase(base));
  std::string field(kNumberFieldWidth, fill);
  for (int p = kNumberFieldWidth - 1; p >= 0; --p) {
    field[p] = kDigitChars[value % b];
    value /= b;
    if (value == 0) break;
  }
  return field;
}

uint32_t TextToNumber(std::string_view text, int base) {
  std::size_t i = 0;
  while (i < text.size() && text[i] == ' ') ++i;
  return ReadDigits(text.substr(i), base > 16 ? 16 : base).wrapped;
}

std::optional<uint64_t> ParseMarkedNumber(std::string_view text, unsigned default_base) {
  const MachineNumber number = ReadMachineNumber(text, static_cast<int>(default_base));
  if (number.length == 0 || number.length != text.size() ||
      number.fault != MachineNumber::Fault::kNone) {
    return std::nullopt;
  }
  return number.value;
}

}  // namespace orlan
