// The disassembler: machine words at an address to one line of assembler text, with
// lower-case names and numbers in the debugger's base. It reads (and, for the line
// assembler's results, stores) memory through the bus, as the processor would.
#ifndef ORLAN_DEBUGGER_DISASSEMBLER_H_
#define ORLAN_DEBUGGER_DISASSEMBLER_H_

#include <cstdint>
#include <span>
#include <string>

#include "core/machine.h"
#include "debugger/number_text.h"
#include "debugger/symbol_table.h"

namespace orlan {

// Text of the mnemonic column: the row's name; a byte-capable row adds "b" when bit
// 15 of the word is set and a blank otherwise. A row outside the table counts as the
// last one (illop), here and in OperandsText.
std::string MnemonicText(int row, uint16_t word);

// The condition-code letters of bits 0-3 in the order c, v, z, n.
std::string ConditionLetters(uint16_t word);

// One disassembled instruction.
struct DisassembledLine {
  uint16_t address = 0;
  int word_count = 0;  // the instruction word and its extra words, 1 to 3
  int row = 0;         // row of kMnemonicTable
  std::string mnemonic;
  std::string operands;
};

class Disassembler {
 public:
  // Both must outlive the disassembler; the format is read at every use, so a later
  // change of the format takes effect at once.
  Disassembler(Machine& machine, const NumberFormat& format) : machine_(machine), format_(format) {}

  // With a table, branch and sob targets, relative operands (jmp and jsr ones too)
  // and absolute ones show the first Referable name of their address, when it has
  // one; other numbers stay numbers. The table must outlive its use; null: no names.
  void set_symbols(const SymbolTable* symbols) { symbols_ = symbols; }
  const SymbolTable* symbols() const { return symbols_; }
  // The names of `address`, which listings show as label rows before its
  // instruction; empty without a table.
  std::span<const std::string> LabelsAt(uint16_t address) const;

  // Address of the next word read or stored (DisAddress).
  uint16_t address() const { return address_; }
  void set_address(uint16_t address) {
    address_ = address;
    words_ = {};
  }

  // The word at the address, read through the bus (an address in a device window
  // performs the device's read action); the address advances by 2.
  uint16_t FetchWord();
  // Fetches from `words` (up to three, from `address` on) instead of the bus, as
  // they were when they ran: history and trace lines show the code that ran, even
  // when it has changed since. Sets the address.
  void ReadFrom(uint16_t address, std::span<const uint16_t> words);

  // Stores a word at the address into the location that a bus read gives: RAM, ROM
  // (which only the debugger can change) or a device latch without commit. The gap
  // above RamTop and below 040000 and the addresses past the ROM are skipped. The
  // address advances by 2 either way; gives whether the word was stored.
  bool StoreWord(uint16_t word);

  // Text of one 6-bit operand field; may read one extra word.
  std::string OperandText(int field);

  // Text of the operand column of `word`, matched by `row`; reads the instruction's
  // extra words, so call it exactly once per line, right after fetching the word.
  std::string OperandsText(int row, uint16_t word);

  // Fetches and disassembles the instruction at the address; afterwards the address
  // is that of the next instruction.
  DisassembledLine Next();

 private:
  // An address operand: its name, or the number with `fill`.
  std::string TargetText(uint16_t target, char fill) const;

  Machine& machine_;
  const NumberFormat& format_;
  const SymbolTable* symbols_ = nullptr;
  uint16_t address_ = 0;
  uint16_t words_address_ = 0;
  std::span<const uint16_t> words_;
};

}  // namespace orlan

#endif  // ORLAN_DEBUGGER_DISASSEMBLER_H_
