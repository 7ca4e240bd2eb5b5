// The cross-assembler against hostile sources: runs of signs that once exhausted the
// stack, long chains of forward assignments, circles, CR-LF line ends and control
// bytes in names.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "tools/asm/assembler.h"

namespace orlan::asm_tool {
namespace {

uint16_t WordAt(const AsmResult& r, uint16_t address) {
  return static_cast<uint16_t>(r.memory[address] | (r.memory[address + 1] << 8));
}

TEST(AsmAttackTest, HostileSources) {
  const std::string signs(1000000, '-');
  struct Case {
    std::string what;
    std::string source;  // assembled after ".org 100000"
    std::string error;   // empty: assembles, and the first word is `word`
    uint16_t word = 0;
  };
  const Case cases[] = {
      {"an even run of signs", ".word " + signs + "1", "", 1},
      {"an odd run of signs", ".word -" + signs + "1", "", 0177777},
      {"signs in an assignment", "x = " + signs + "2\n.word x", "", 2},
      {"signs in .org", ".org " + signs + "100000\n.word 7", "", 7},
      {"signs in an operand", "mov #" + signs + "5,r0", "", 012700},
      {"signs without a term", "mov " + signs, "instruction longer than 64", 0},
      {"CR-LF line ends", "a: mov #1,r0\r\n\tnop\r\n.word a ; x\r\n", "", 012700},
      {"a CR before trailing blanks", "\tnop\r\t\n", "", 0240},
      {"a control byte in a mnemonic", "n\x01op", "unknown instruction 'n\\x01op'", 0},
      {"a carriage return inside a name", "no\rp", "unknown instruction 'no'", 0},
      {"a circle", "x = y+1\ny = x\n.word x", "symbol 'x' depends on itself (through 'y')", 0},
      {"a symbol defined by itself", "z = z\n.word z", "symbol 'z' depends on itself (through 'z')",
       0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const AsmResult r = Assemble(".org 100000\n" + c.source + "\n");
    if (c.error.empty()) {
      ASSERT_TRUE(r.ok()) << r.ErrorText("t.s");
      EXPECT_EQ(WordAt(r, 0100000), c.word);
    } else {
      ASSERT_FALSE(r.ok());
      EXPECT_NE(r.ErrorText("t.s").find(c.error), std::string::npos) << r.ErrorText("t.s");
    }
  }
}

// Each assignment names the next one, defined further down: resolving one per pass
// over the list took time quadratic in the chain, far beyond the tests' time limit.
TEST(AsmAttackTest, LongChainOfForwardAssignments) {
  constexpr int kChain = 100000;
  std::string source = ".org 100000\n.word a0\n";
  for (int n = 0; n < kChain; ++n) {
    source += "a" + std::to_string(n) + " = a" + std::to_string(n + 1) + "+1\n";
  }
  source += "a" + std::to_string(kChain) + " = 0\n";
  const AsmResult r = Assemble(source);
  ASSERT_TRUE(r.ok()) << r.ErrorText("t.s").substr(0, 400);
  EXPECT_EQ(WordAt(r, 0100000), static_cast<uint16_t>(kChain));
  EXPECT_EQ(r.symbols.at("a1000"), static_cast<uint16_t>(kChain - 1000));
}

}  // namespace
}  // namespace orlan::asm_tool
