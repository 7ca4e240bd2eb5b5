// The cross-assembler: numbers and expressions, forward references, directives, and
// the file/line/column of every kind of error.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "tools/asm/assembler.h"

namespace orlan::asm_tool {
namespace {

// The words assembled at `address` onwards.
std::vector<uint16_t> WordsAt(const AsmResult& r, uint16_t address, int count) {
  std::vector<uint16_t> words;
  for (int i = 0; i < count; ++i) {
    const int lo = r.memory[address + 2 * i];
    const int hi = r.memory[address + 2 * i + 1];
    words.push_back(lo < 0 || hi < 0 ? 0xDEAD : static_cast<uint16_t>(lo | (hi << 8)));
  }
  return words;
}

std::string Errors(const AsmResult& r) { return r.ErrorText("t.s"); }

TEST(AsmAssemblerTest, NumbersAndExpressions) {
  struct Case {
    const char* expr;
    uint16_t value;
  };
  const Case cases[] = {
      {"17", 017},          {"17.", 17},         {"0x1F", 0x1F},   {"0XfF", 0xFF},
      {"'A", 0101},         {"' ", 040},         {"-1", 0177777},  {"--2", 2},
      {"a+2-b", 01002 - 4}, {"3*4+1", 13},       {"1+3*4", 13},    {"7/2", 3},
      {"-a", 0177000},      {".", 0100000},      {".+4", 0100004}, {"177777+2", 1},
      {"b-a", 0177004},     {"65535.", 0177777}, {"c", 01004},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.expr);
    const std::string source =
        "a = 1000\nb = 4\n.org 100000\n.word " + std::string(c.expr) + "\nc = a+b\n";
    const AsmResult r = Assemble(source);
    ASSERT_TRUE(r.ok()) << Errors(r);
    EXPECT_EQ(WordsAt(r, 0100000, 1)[0], c.value);
  }
}

TEST(AsmAssemblerTest, ForwardReferencesGetTheirFinalValues) {
  struct Case {
    const char* name;
    const char* source;  // assembled at 100000
    std::vector<uint16_t> words;
  };
  const Case cases[] = {
      {"branch ahead", "br fwd\nnop\nfwd: halt", {0000401, 0000240, 0000000}},
      {"branch back and ahead", "top: bne end\nbr top\nend: nop", {0001001, 0000776, 0000240}},
      {"immediate address", "mov #msg,r0\nmsg: .word 7", {0012700, 0100004, 7}},
      {"absolute operand", "mov @#var,r1\nvar: .word 0", {0013701, 0100004, 0}},
      {"relative operand", "jsr pc,sub\nsub: rts pc", {0004767, 0000000, 0000207}},
      {"index from a later symbol", "mov off(r2),r3\noff = 6", {0016203, 6}},
      {"trap code defined later", "trap code\ncode = 377", {0104777}},
      {"sob to a label before it", "loop: dec r0\nsob r1,loop", {0005300, 0077102}},
      {"symbol from a later symbol", "mov #x,r0\nx = y+2\ny: .word x", {0012700, 0100006, 0100006}},
      {"words of labels", ".word a,b\na: .word b-a\nb:", {0100004, 0100006, 2}},
      {"location in an operand", "mov #.,r0\nbr .", {0012700, 0100000, 0000777}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const AsmResult r = Assemble(std::string(".org 100000\n") + c.source + "\n");
    ASSERT_TRUE(r.ok()) << Errors(r);
    EXPECT_EQ(WordsAt(r, 0100000, static_cast<int>(c.words.size())), c.words);
  }
}

TEST(AsmAssemblerTest, DataDirectivesAndLocation) {
  const AsmResult r = Assemble(
      ".org 100000\n"
      "s: .ascii \"AB\"\n"
      "   .asciz \"C\\\"\"\n"  // C, quote, 0
      "   .even\n"
      "w: .word 1, 2\n"
      "   .byte 377, -1, 'x\n"
      "   .blkb 3\n"
      "   .blkw 2\n"
      "e: . = . + 2\n"
      "f: .byte 1 ; ; in a comment\n"
      "   .end\n"
      "   .word 5\n");
  ASSERT_TRUE(r.ok()) << Errors(r);
  const std::vector<uint8_t> image = r.Image(0100000, 0100033, 0252);
  const std::vector<uint8_t> expected = {'A',  'B',  'C',  '"',  0,    0252,  // .even skips a byte
                                         1,    0,    2,    0,    0377, 0377, 'x',  // .word, .byte
                                         0252, 0252, 0252, 0252, 0252, 0252, 0252,
                                         0252, 0252,  // .blkb 3, .blkw 2, . = . + 2
                                         1,    0252, 0252, 0252, 0252, 0252};  // nothing after .end
  EXPECT_EQ(image, expected);
  EXPECT_EQ(r.symbols.at("w"), 0100006);
  EXPECT_EQ(r.symbols.at("e"), 0100024);
  EXPECT_EQ(r.symbols.at("f"), 0100026);
}

TEST(AsmAssemblerTest, ErrorsNameLineAndColumnAndLeaveNoImage) {
  struct Case {
    const char* source;  // after ".org 100000\n", so line numbers start at 2
    int line;
    int column;
    const char* message;
  };
  const Case cases[] = {
      {"  xyz r1", 2, 3, "unknown instruction 'xyz'"},
      {"  illop", 2, 3, "unknown instruction"},
      {"  mov r1,r2\n  mov #1,@#nowhere", 3, 12, "undefined symbol 'nowhere'"},
      {"  mov #1,r8", 2, 10, "undefined symbol 'r8'"},
      {"  br far\n  .blkw 200\nfar: nop", 2, 6, "out of range"},
      {"  trap 400", 2, 8, "out of range"},
      {"  halt x", 2, 8, "cannot assemble"},
      {"  mov r1,", 2, 10, "cannot assemble"},
      {"  clr", 2, 6, "operand expected"},
      {"  mov (r1,r2", 2, 10, "cannot assemble"},
      {"a: nop\n\na: nop", 4, 1, "symbol 'a' is already defined"},
      {"r3 = 5", 2, 1, "'r3' is a register name"},
      {"  .word 19", 2, 10, "digit 8 or 9"},
      {"  .word 200000", 2, 9, "does not fit in 16 bits"},
      {"  .word 1 2", 2, 11, "',' expected"},
      {"  .word", 2, 8, "value expected"},
      {"  .byte 400", 2, 9, "does not fit in a byte"},
      {"  .ascii \"abc", 2, 10, "closing"},
      {"  .ascii abc", 2, 10, "quotes"},
      {"  .org later\nlater: nop", 2, 8, "must be defined before this line"},
      {"  .blkb n\nn = 2", 2, 9, "must be defined before this line"},
      {"  .bogus 1", 2, 3, "unknown directive '.bogus'"},
      {"  .byte 1\n  nop", 3, 3, "odd address"},
      {"  .byte 1\n  .word 1", 3, 3, "even address"},
      {"  nop\n  . = 100000\n  halt", 4, 3, "already assembled"},
      {"  . = 177400\n  nop", 3, 3, "outside the image 100000-177377"},
      {"  .word 1/0", 2, 10, "division by zero"},
      {"x = y\ny = x", 2, 5, "symbol 'x' depends on itself (through 'y')"},
      {"  x = y\nx: nop\ny = 1", 2, 3, "symbol 'x' is already defined"},
      {"  = 5", 2, 3, "expected"},
      {"  .even 1", 2, 9, "unexpected text"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.source);
    const AsmResult r = Assemble(std::string(".org 100000\n") + c.source + "\n");
    ASSERT_FALSE(r.ok());
    const Diagnostic& d = r.errors.front();
    EXPECT_EQ(d.line, c.line) << Errors(r);
    EXPECT_EQ(d.column, c.column) << Errors(r);
    EXPECT_NE(d.message.find(c.message), std::string::npos) << Errors(r);
    // Nothing of a failed assembly reaches an image.
    for (int byte : r.memory) ASSERT_EQ(byte, -1);
  }
}

TEST(AsmAssemblerTest, ErrorTextAndLongLines) {
  const AsmResult r = Assemble(".org 100000\n  mov r1," + std::string(60, ' ') + "r2\n  jmp r1x\n");
  ASSERT_EQ(r.errors.size(), 2u) << Errors(r);
  EXPECT_EQ(Errors(r),
            "t.s:2:3: error: instruction longer than 64 characters after symbol substitution\n"
            "t.s:3:7: error: undefined symbol 'r1x'\n");
}

TEST(AsmAssemblerTest, SymbolFileAssemblesBackToTheSameSymbols) {
  const AsmResult r = Assemble("base = 160000\n.org 100000\nstart: nop\nnext: .word start\n");
  ASSERT_TRUE(r.ok()) << Errors(r);
  EXPECT_EQ(r.SymbolText(), "base  = 160000\nnext  = 100002\nstart = 100000\n");
  const AsmResult again = Assemble(r.SymbolText());
  ASSERT_TRUE(again.ok()) << Errors(again);
  EXPECT_EQ(again.symbols, r.symbols);
}

}  // namespace
}  // namespace orlan::asm_tool
