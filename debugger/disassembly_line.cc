#include "debugger/disassembly_line.h"

namespace orlan {
namespace {

void PadTo(std::string& text, int column) {
  if (static_cast<int>(text.size()) < column) text.resize(static_cast<std::size_t>(column), ' ');
}

}  // namespace

std::string AddressText(uint16_t address, const NumberFormat& format) {
  return format.WordToText(address, '0') + ":";
}

std::string LineText(const DisassembledLine& line, const NumberFormat& format) {
  std::string text = AddressText(line.address, format);
  PadTo(text, MnemonicColumn(format));
  text += line.mnemonic;
  PadTo(text, OperandColumn(format));
  text += line.operands;
  return text;
}

std::string LabelText(std::string_view name) { return std::string(name) + ":"; }

std::string_view TrimTrailingBlanks(std::string_view text) {
  const std::size_t end = text.find_last_not_of(' ');
  return end == std::string_view::npos ? std::string_view() : text.substr(0, end + 1);
}

}  // namespace orlan
