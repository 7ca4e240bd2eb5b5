// Names of addresses, as the cross-assembler's symbol file gives them: looked up by
// name for what the user types, and by address for what the debugger shows. A name
// has one address; an address may have several names, kept in the order they came.
#ifndef ORLAN_DEBUGGER_SYMBOL_TABLE_H_
#define ORLAN_DEBUGGER_SYMBOL_TABLE_H_

#include <cstddef>
#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace orlan {

class SymbolTable {
 public:
  bool empty() const { return by_name_.empty(); }
  std::size_t size() const { return by_name_.size(); }

  // Gives `name` the address. A name that is known already moves to the new address
  // and to the end of that address's names, so a file loaded again replaces its
  // earlier values.
  void Define(std::string_view name, uint16_t address);
  // Defines every name of `other`, address by address.
  void Merge(const SymbolTable& other);

  std::optional<uint16_t> Find(std::string_view name) const;
  // The names of `address` in the order they were defined; empty when it has none.
  std::span<const std::string> NamesAt(uint16_t address) const;

 private:
  std::map<std::string, uint16_t, std::less<>> by_name_;
  std::map<uint16_t, std::vector<std::string>> by_address_;
};

// The length of the name that `text` begins with: a letter, "_" or "$", then
// letters, digits, "_" and "$"; 0 when `text` begins with anything else.
std::size_t NameLength(std::string_view text);

// Whether the line assembler reads `name` as a register: r0-r7, sp or pc, in any
// letter case. Such a name cannot be a symbol.
bool IsRegisterName(std::string_view name);

// Whether typed text can name the symbol `name` in base `radix`: not when it is a
// register name, nor when it is made of digits of the base only (in base 16 "add"
// and "beef" are numbers). Listings show such names on label rows only.
bool Referable(std::string_view name, int radix);

// What ReadSymbol found at the start of a text.
struct SymbolRead {
  enum Kind {
    kNone,     // no name there, or one that is not Referable: a number or a register
    kKnown,    // a name of the table, with its offset: `value` and `length` are valid
    kUnknown,  // a name the table does not have: `length` covers it
  };
  Kind kind = kNone;
  uint16_t value = 0;
  std::size_t length = 0;  // characters read
};

// Reads a name where a number of `radix` may also stand: a Referable name, known or
// not. A known one may be followed by "+N" or "-N", N in digits of `radix`, which is
// added in 16 bits.
SymbolRead ReadSymbol(std::string_view text, int radix, const SymbolTable& symbols);

// An address that the user typed with symbols at hand: blanks, a name (ReadSymbol)
// or digits of `radix`, blanks. A text of blanks only is 0, like an empty number.
struct AddressText {
  bool ok = true;
  uint32_t value = 0;   // a number keeps its 32 bits; callers keep what they need
  int error_at = 0;     // characters before the fault
  std::string message;  // why it failed
};
AddressText ParseAddressText(std::string_view text, int radix, const SymbolTable& symbols);

}  // namespace orlan

#endif  // ORLAN_DEBUGGER_SYMBOL_TABLE_H_
