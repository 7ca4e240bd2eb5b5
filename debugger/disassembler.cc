#include "debugger/disassembler.h"

#include "core/word.h"
#include "debugger/mnemonic_table.h"

namespace orlan {
std::string MnemonicText(int row, uint16_t word) {
  const MnemonicEntry& entry = MnemonicRow(row);
  std::string text(entry.name);
  if (HasByteForm(entry.format)) text += (word & 0100000) ? 'b' : ' ';
  return text;
}

std::string ConditionLetters(uint16_t word) {
  std::string letters;
  if (word & 01) letters += 'c';
  if (word & 02) letters += 'v';
  if (word & 04) letters += 'z';
  if (word & 010) letters += 'n';
  return letters;
}

void Disassembler::ReadFrom(uint16_t address, std::span<const uint16_t> words) {
  address_ = address;
  words_address_ = address;
  words_ = words;
}

uint16_t Disassembler::FetchWord() {
  const std::size_t at = static_cast<uint16_t>(address_ - words_address_) / 2u;
  if (at < words_.size()) {
    address_ = static_cast<uint16_t>(address_ + 2);
    return words_[at];
  }
  const uint16_t word = LoadWord(machine_.LocateRead(address_));
  address_ = static_cast<uint16_t>(address_ + 2);
  return word;
}

bool Disassembler::StoreWord(uint16_t word) {
  const uint16_t a = address_;
  address_ = static_cast<uint16_t>(address_ + 2);
  // Above RamTop and below the ROM nothing is there; past the ROM's last byte the
  // bus only reads a constant.
  if (a > machine_.ram_top() && (a < kRomBase || a > kRomLast)) return false;
  orlan::StoreWord(machine_.LocateRead(a), word);
  return true;
}

std::span<const std::string> Disassembler::LabelsAt(uint16_t address) const {
  if (symbols_ == nullptr) return {};
  return symbols_->NamesAt(address);
}

std::string Disassembler::TargetText(uint16_t target, char fill) const {
  // The first name that reads back as this symbol.
  for (const std::string& name : LabelsAt(target)) {
    if (Referable(name, format_.radix)) return name;
  }
  return format_.WordToText(target, fill);
}

std::string Disassembler::OperandText(int field) {
  const int mode = (field >> 3) & 7;
  const int reg = field & 7;
  const std::string r(RegisterName(reg));
  switch (mode) {
    case 0:
      return r;
    case 1:
      return "(" + r + ")";
    case 2:
      if (reg == kPc) return "#" + format_.WordToText(FetchWord(), ' ');
      return "(" + r + ")+";
    case 3:
      if (reg == kPc) return "@#" + TargetText(FetchWord(), ' ');
      return "@(" + r + ")+";
    case 4:
      return "-(" + r + ")";
    case 5:
      return "@-(" + r + ")";
    default: {
      const std::string deferred = mode == 7 ? "@" : "";
      const uint16_t x = FetchWord();
      if (reg == kPc) {
        // Relative to the address after the index word.
        return deferred + TargetText(static_cast<uint16_t>(x + address_), '0');
      }
      return deferred + format_.WordToText(x, '0') + "(" + r + ")";
    }
  }
}

std::string Disassembler::OperandsText(int row, uint16_t word) {
  const std::string source_reg(RegisterName(word >> 6));
  switch (MnemonicRow(row).format) {
    case OperandFormat::kIllegal:
    case OperandFormat::kNone:
      return "";
    case OperandFormat::kReg:
      return std::string(RegisterName(word));
    case OperandFormat::kDoubleB:
    case OperandFormat::kDouble: {
      // The source comes first: its extra word is the first after the instruction.
      std::string source = OperandText(word >> 6);
      return source + "," + OperandText(word);
    }
    case OperandFormat::kSingleB:
    case OperandFormat::kSingle:
      return OperandText(word);
    case OperandFormat::kRegDst:
      return source_reg + "," + OperandText(word);
    case OperandFormat::kSrcReg:
      return OperandText(word) + "," + source_reg;
    case OperandFormat::kBranch: {
      const int offset = static_cast<int8_t>(word & 0377);
      return TargetText(static_cast<uint16_t>(address_ + 2 * offset), '0');
    }
    case OperandFormat::kSob:
      return source_reg + "," + TargetText(static_cast<uint16_t>(address_ - 2 * (word & 077)), '0');
    case OperandFormat::kPriority:
      return std::string(1, static_cast<char>('0' + (word & 7)));
    case OperandFormat::kMark:
      return format_.WordToText(word & 077, ' ');
    case OperandFormat::kTrapCode:
      return format_.WordToText(word & 0377, ' ');
    case OperandFormat::kFlags:
      return ConditionLetters(word);
  }
  return "";
}

DisassembledLine Disassembler::Next() {
  DisassembledLine line;
  line.address = address_;
  const uint16_t word = FetchWord();
  line.row = FindMnemonic(word);
  line.mnemonic = MnemonicText(line.row, word);
  line.operands = OperandsText(line.row, word);
  line.word_count = static_cast<uint16_t>(address_ - line.address) / 2;
  return line;
}

}  // namespace orlan
