// Disassembly and assembly from scripts.
#include <gtest/gtest.h>

#include "assembled_program.h"
#include "cli_test_util.h"
#include "tools/asm/assembler.h"

namespace orlan::cli {
namespace {

using testing::AssembledProgram;
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

TEST(DebuggerCommands, SymbolsInListingsAndAddressArguments) {
  const AssembledProgram program(
      ". = 1000\n"
      "start:  mov #buf,r0\n"
      "loop:   jsr pc,putc\n"
      "        sob r1,loop\n"
      "putc:   rts pc\n"
      "buf:    .word 7\n");
  const std::string load =
      "sym " + program.Path("prog.sym") + "\nload " + program.Path("prog.bin") + " 1000\n";
  struct Case {
    std::string script;
    std::string out;
    std::string err;
  } cases[] = {
      {load + "dis start 4",
       "start:\n001000: mov   #1014,r0\nloop:\n001004: jsr   pc,putc\n001010: sob   r1,loop\n"
       "putc:\n001012: rts   pc\n",
       ""},
      {load + "mem buf\ndep buf+2 1 2\nmem buf 3", "001014: 000007\n001014: 000007 000001 000002\n",
       ""},
      {load + "asm loop br putc\ndis loop", "loop:\n001004: br    putc\n", ""},
      {load + "dis nowhere", "", "line 3: unknown symbol: nowhere\n"},
      {load + "mem buf+", "", "line 3: bad number: buf+\n"},
      {load + "asm start jsr pc,nowhere", "", "error at 8: unknown symbol: nowhere\n"},
      // A faulty file adds no name at all.
      {"sym " + program.Path("bad.sym") + "\nmem fine", "",
       "line 1: " + program.Path("bad.sym") + ":2: '=' expected after the name 'bad'\n"},
      {"sym /nonexistent.sym", "", "line 1: /nonexistent.sym: the file cannot be read\n"},
      // Without symbols a name is no number, as before.
      {"dis start", "", "line 1: bad number: start\n"},
  };
  for (const Case& c : cases) {
    System system;
    const auto run = RunText(system, c.script);
    EXPECT_EQ(run.out, c.out) << c.script;
    EXPECT_EQ(run.err, c.err) << c.script;
  }
}

}  // namespace
}  // namespace orlan::cli
