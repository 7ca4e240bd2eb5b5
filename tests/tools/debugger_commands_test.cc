// Disassembly and assembly from scripts.
#include <gtest/gtest.h>

#include "cli_test_util.h"

namespace orlan::cli {
namespace {

using testing::RunText;

TEST(DebuggerCommands, DisPrintsTheDebugWindowsLines) {
  struct Case {
    int radix;
    const char* script;
    const char* out;
  };
  const Case cases[] = {
      {8, "dep 1000 012700 000005\ndis 1000", "001000: mov   #5,r0\n"},
      {16, "dep 1000 012700 000005\ndis 1000", "0200: mov   #5,r0\n"},
      {8, "dep 1000 016761 000100 000200\ndis 1000", "001000: mov   001104,000200(r1)\n"},
      // Operand-less lines end at the mnemonic: no trailing blanks.
      {8, "dep 1000 000240 000000 070327 000012\ndis 1000 3",
       "001000: nop\n001002: halt\n001004: mul   #12,r3\n"},
      {10, "dep 1000 000777\ndis 1000", "00512: br    00512\n"},
      // The address wraps round like the processor's.
      {8, "dep 0 000005\ndis 177776 2", "177776: illop\n000000: reset\n"},
  };
  for (const Case& c : cases) {
    System system;
    std::ostringstream out, err;
    const CommandTable table = StandardCommands();
    Session session{system, out};
    session.format = NumberFormat::ForRadix(c.radix);
    Interpreter interpreter(table, session, err);
    std::istringstream in(c.script);
    EXPECT_EQ(interpreter.RunScript(in), Outcome::kContinue) << err.str();
    EXPECT_EQ(out.str(), c.out) << c.script;
  }
}

TEST(DebuggerCommands, AsmStoresTheWordsLikeTheDebugWindow) {
  struct Case {
    const char* script;
    const char* out;
  };
  const Case cases[] = {
      {"asm 1000 mov #5,r0\nmem 1000 2", "001000: 012700 000005\n"},
      // The text is the rest of the line: "#" is an immediate operand, not a comment.
      {"asm 1000   MOVB @#177566,-(sp)\nmem 1000 2", "001000: 113746 177566\n"},
      // Into ROM, which only the debugger can change.
      {"asm 173000 clr r0\nmem 173000", "173000: 005000\n"},
      // A shorter instruction leaves the words after it.
      {"dep 1000 1 2 3\nasm 1000 nop\nmem 1000 3", "001000: 000240 000002 000003\n"},
      {"asm 1000\nmem 1000", "001000: 000000\n"},
      {"asm 1000 jsr pc,@(r2)\r\nmem 1000 2", "001000: 004772 000000\n"},
  };
  for (const Case& c : cases) {
    System system;
    const auto run = RunText(system, c.script);
    EXPECT_EQ(run.outcome, Outcome::kContinue) << c.script << run.err;
    EXPECT_EQ(run.out, c.out) << c.script;
    EXPECT_TRUE(system.machine().run.rom_modified()) << c.script;
  }
}

}  // namespace
}  // namespace orlan::cli
