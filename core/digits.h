// Numbers as digits in text. Every reader of numbers in the program (the settings, the
// monitor, the cross-assembler, the debugger's edits and line assembler) has its own
// syntax around the digits, but all read the digits with ReadDigits; the machine's own
// notation, shared by the monitor and the cross-assembler, is read by
// ReadMachineNumber. Octal text of machine words comes from OctalText.
#ifndef ORLAN_CORE_DIGITS_H_
#define ORLAN_CORE_DIGITS_H_

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace orlan {

// What DigitValue gives for a character that is no digit; no base used exceeds it.
inline constexpr int kNotADigit = 16;
// 0 to 15 for 0-9, A-F and a-f; kNotADigit for every other character.
int DigitValue(char c);

// Values above 32 bits all read as this, however long the digits go on.
inline constexpr uint64_t kDigitsTooLarge = uint64_t{1} << 32;

struct DigitRun {
  std::size_t length = 0;  // digits read
  uint64_t value = 0;      // the value, kDigitsTooLarge when above 0xFFFFFFFF
  uint32_t wrapped = 0;    // the value modulo 2^32
};

// The digits of `base` (2 to 16) at the start of `text`, up to the first character
// that is no such digit.
DigitRun ReadDigits(std::string_view text, int base);

// A number in the machine's notation at the start of `text`: digits in `base` (octal
// unless a caller says otherwise), decimal digits ended by ".", or "0x" / "0X" and
// hexadecimal digits.
struct MachineNumber {
  enum class Fault {
    kNone,
    kNoHexDigit,  // "0x" without a digit after it
    kBadDigit,    // a decimal digit that `base` does not have, with no "." after
  };
  std::size_t length = 0;  // characters read, "0x" and "." included; 0: no number
  uint64_t value = 0;      // as DigitRun::value; with a bad digit, that of the digits before
  Fault fault = Fault::kNone;
  std::size_t fault_at = 0;  // index of the missing or bad digit
};
MachineNumber ReadMachineNumber(std::string_view text, int base = 8);

// At least `min_digits` octal digits, zero-filled.
std::string OctalText(uint32_t value, int min_digits);
// Six octal digits, the width of a machine word.
inline std::string Octal6(uint16_t value) { return OctalText(value, 6); }

}  // namespace orlan

#endif  // ORLAN_CORE_DIGITS_H_
