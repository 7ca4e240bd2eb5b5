#include "debugger/symbol_table.h"

#include <algorithm>

#include "debugger/mnemonic_table.h"
#include "debugger/number_text.h"

namespace orlan {
namespace {

bool IsNameStart(char c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '_' || c == '$';
}

bool IsNameChar(char c) { return IsNameStart(c) || (c >= '0' && c <= '9'); }

bool AllDigits(std::string_view text, int radix) {
  return std::all_of(text.begin(), text.end(), [radix](char c) { return DigitValue(c) < radix; });
}

}  // namespace

void SymbolTable::Define(std::string_view name, uint16_t address) {
  const auto it = by_name_.find(name);
  if (it != by_name_.end()) {
    std::vector<std::string>& old = by_address_[it->second];
    old.erase(std::find(old.begin(), old.end(), name));
    if (old.empty()) by_address_.erase(it->second);
    it->second = address;
  } else {
    by_name_.emplace(std::string(name), address);
  }
  by_address_[address].emplace_back(name);
}

void SymbolTable::Merge(const SymbolTable& other) {
  for (const auto& [address, names] : other.by_address_) {
    for (const std::string& name : names) Define(name, address);
  }
}

std::optional<uint16_t> SymbolTable::Find(std::string_view name) const {
  const auto it = by_name_.find(name);
  if (it == by_name_.end()) return std::nullopt;
  return it->second;
}

std::span<const std::string> SymbolTable::NamesAt(uint16_t address) const {
  const auto it = by_address_.find(address);
  if (it == by_address_.end()) return {};
  return it->second;
}

std::size_t NameLength(std::string_view text) {
  if (text.empty() || !IsNameStart(text.front())) return 0;
  std::size_t n = 1;
  while (n < text.size() && IsNameChar(text[n])) ++n;
  return n;
}

bool IsRegisterName(std::string_view name) { return RegisterNumber(name).has_value(); }

bool Referable(std::string_view name, int radix) {
  return !IsRegisterName(name) && !AllDigits(name, radix);
}

SymbolRead ReadSymbol(std::string_view text, int radix, const SymbolTable& symbols) {
  const std::size_t length = NameLength(text);
  if (length == 0) return {};
  const std::string_view name = text.substr(0, length);
  if (!Referable(name, radix)) return {};
  const std::optional<uint16_t> address = symbols.Find(name);
  if (!address) return {SymbolRead::kUnknown, 0, length};
  SymbolRead read{SymbolRead::kKnown, *address, length};
  // An offset needs a digit after its sign; otherwise the sign is left to the caller.
  if (length + 1 < text.size() && (text[length] == '+' || text[length] == '-') &&
      DigitValue(text[length + 1]) < radix) {
    const DigitRun digits = ReadDigits(text.substr(length + 1), radix);
    const auto offset = static_cast<uint16_t>(digits.wrapped);
    read.value =
        static_cast<uint16_t>(text[length] == '+' ? read.value + offset : read.value - offset);
    read.length = length + 1 + digits.length;
  }
  return read;
}

AddressText ParseAddressText(std::string_view text, int radix, const SymbolTable& symbols) {
  std::size_t i = 0;
  const auto skip_blanks = [&] {
    while (i < text.size() && text[i] == ' ') ++i;
  };
  const auto fail = [&](std::string message) {
    return AddressText{false, 0, static_cast<int>(i), std::move(message)};
  };
  skip_blanks();
  if (i == text.size()) return {};
  AddressText result;
  const SymbolRead read = ReadSymbol(text.substr(i), radix, symbols);
  if (read.kind == SymbolRead::kUnknown) {
    return fail("unknown symbol: " + std::string(text.substr(i, read.length)));
  }
  if (read.kind == SymbolRead::kKnown) {
    result.value = read.value;
    i += read.length;
  } else {
    const DigitRun digits = ReadDigits(text.substr(i), radix);
    if (digits.length == 0) return fail("an address or a symbol expected");
    result.value = digits.wrapped;
    i += digits.length;
  }
  skip_blanks();
  if (i != text.size()) return fail("unexpected text after the address");
  return result;
}

}  // namespace orlan
