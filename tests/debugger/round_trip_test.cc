// Every instruction word, disassembled and assembled again at the same address.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <random>
#include <string>
#include <vector>

#include "debugger/disassembler.h"
#include "debugger/line_assembler.h"
#include "debugger/mnemonic_table.h"
#include "debugger/symbol_table.h"
#include "tests/core/test_machine.h"

namespace orlan {
namespace {

// Words whose text the assembler reads as another word. All are operand-less words in
// 000010-000037 whose row leaves bits free: the assembler gives the value of the
// first row of that name (go 000012, step 000016, rsel 000020, rcpc 000022,
// rcps 000024, wcpc 000032, wcps 000034), and the free bits are lost.
constexpr std::array<uint16_t, 15> kAmbiguousWords = {000010, 000011, 000013, 000014, 000015,
                                                      000017, 000023, 000025, 000026, 000027,
                                                      000030, 000033, 000035, 000036, 000037};

bool IsAmbiguous(uint16_t word) {
  return std::find(kAmbiguousWords.begin(), kAmbiguousWords.end(), word) != kAmbiguousWords.end();
}

TEST(RoundTrip, EveryWordAssemblesBackExceptTheAmbiguousOnes) {
  constexpr uint16_t kAddress = 001000;
  for (int radix : {8, 10, 16}) {
    SCOPED_TRACE(radix);
    Machine m;
    const NumberFormat f = NumberFormat::ForRadix(radix);
    Disassembler d(m, f);
    LineAssembler a(f);
    std::vector<uint16_t> unexpected;
    for (int w = 0; w <= 0177777; ++w) {
      const uint16_t word = static_cast<uint16_t>(w);
      const std::array<uint16_t, 3> memory = {word, 000100, 000200};
      testing::Deposit(m, kAddress, {memory[0], memory[1], memory[2]});
      d.set_address(kAddress);
      const DisassembledLine line = d.Next();
      ASSERT_GE(line.word_count, 1);
      ASSERT_LE(line.word_count, 3);
      ASSERT_EQ(d.address(), kAddress + 2 * line.word_count);
      if (kMnemonicTable[line.row].format == OperandFormat::kIllegal) {
        ASSERT_EQ(line.mnemonic, "illop");
        ASSERT_EQ(line.word_count, 1);
        continue;
      }
      const std::string text = line.mnemonic + " " + line.operands;
      const bool same = a.AssembleLine(text, kAddress) && a.word_count() == line.word_count &&
                        std::equal(a.words().begin(), a.words().end(), memory.begin());
      if (same == IsAmbiguous(word)) unexpected.push_back(word);
      if (IsAmbiguous(word)) {
        // The text still names the right row: it assembles to that row's first word.
        ASSERT_EQ(a.word_count(), 1);
        EXPECT_EQ(kMnemonicTable[FindMnemonic(a.words()[0])].name, kMnemonicTable[line.row].name);
      }
    }
    EXPECT_TRUE(unexpected.empty())
        << unexpected.size() << " words, first " << std::oct << unexpected.front();
  }
}

TEST(RoundTrip, RandomWordsWithSymbolsAssembleBack) {
  constexpr uint16_t kAddress = 001000;
  std::mt19937 random(13);
  // Half the even addresses get a name; the stems tempt misreading as a register
  // ("spin", "pc"), as a number in base 16 ("add", "fade") or both; "r2" and "sp" are
  // register names, which listings must not show as operands.
  const std::array<std::string, 10> stems = {"spin", "pc",  "add", "fade", "Loop",
                                             "_t$",  "r2x", "b",   "r",    "s"};
  SymbolTable symbols;
  for (uint32_t a = 0; a <= 0177776; a += 2) {
    if (random() % 2)
      symbols.Define(stems[random() % stems.size()] + std::to_string(a), static_cast<uint16_t>(a));
  }
  symbols.Define("r2", kAddress + 2);
  symbols.Define("sp", kAddress + 4);
  for (int radix : {8, 16}) {
    SCOPED_TRACE(radix);
    Machine m;
    const NumberFormat f = NumberFormat::ForRadix(radix);
    Disassembler d(m, f);
    d.set_symbols(&symbols);
    LineAssembler a(f);
    a.set_symbols(&symbols);
    for (int round = 0; round < 200000; ++round) {
      const std::array<uint16_t, 3> memory = {static_cast<uint16_t>(random()),
                                              static_cast<uint16_t>(random()),
                                              static_cast<uint16_t>(random())};
      testing::Deposit(m, kAddress, {memory[0], memory[1], memory[2]});
      d.set_address(kAddress);
      const DisassembledLine line = d.Next();
      if (IsAmbiguous(memory[0]) || kMnemonicTable[line.row].format == OperandFormat::kIllegal) {
        continue;
      }
      const std::string text = line.mnemonic + " " + line.operands;
      ASSERT_TRUE(a.AssembleLine(text, kAddress)) << text << " at " << a.pos() << a.reason();
      ASSERT_TRUE(std::equal(a.words().begin(), a.words().end(), memory.begin()) &&
                  a.word_count() == line.word_count)
          << text;
    }
  }
}

}  // namespace
}  // namespace orlan
