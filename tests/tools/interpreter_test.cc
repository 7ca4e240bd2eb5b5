#include "tools/cli/interpreter.h"

#include <gtest/gtest.h>

#include "cli_test_util.h"

namespace orlan::cli {
namespace {

using testing::MachineImage;
using testing::RunText;
using testing::TempFile;

struct BadLineCase {
  std::string script;  // good lines, then the bad one
  std::string error;   // what the bad line prints
};

// Each bad line reports its line number and leaves the machine and its devices as
// the good lines before it left them: no argument of the bad line has been applied.
TEST(Interpreter, BadLineReportsItsNumberAndChangesNothing) {
  const TempFile two_bytes("two_bytes", "\x01\x02");
  const TempFile kilobyte("kilobyte", std::string(1024, '\x55'));
  const BadLineCase cases[] = {
      {"bogus", "line 1: unknown command: bogus\n"},
      {"# comment\n\nreg r0 7\nREGS", "line 4: unknown command: REGS\n"},
      {"dep 1000 5 6 8", "line 1: bad number: 8\n"},
      {"dep 1000 5 200000", "line 1: number out of range: 200000\n"},
      {"dep 1000", "line 1: missing argument\n"},
      {"dep 177374 1 2 3", "line 1: address not writable: 177400\n"},
      {"reg r0 1\nreg r8 1", "line 2: unknown register: r8\n"},
      {"reg pc 0x10000", "line 1: number out of range: 0x10000\n"},
      {"reg pc", "line 1: missing argument\n"},
      {"reg pc 1 2", "line 1: too many arguments\n"},
      {"regs x", "line 1: too many arguments\n"},
      {"mem 1000 0", "line 1: number out of range: 0\n"},
      {"mem 1000 100001", "line 1: number out of range: 100001\n"},
      {"step 1 2", "line 1: too many arguments\n"},
      {"step x", "line 1: bad number: x\n"},
      {"step 40000000000", "line 1: number out of range: 40000000000\n"},
      {"irq disk", "line 1: unknown interrupt: disk\n"},
      {"irq", "line 1: missing argument\n"},
      {"load /nonexistent/orlan 1000", "line 1: cannot read file: /nonexistent/orlan\n"},
      {"load " + two_bytes.path() + " 177377", "line 1: address not writable: 177400\n"},
      {"load " + kilobyte.path() + " 177000", "line 1: address not writable: 177400\n"},
      {"load " + two_bytes.path(), "line 1: missing argument\n"},
      {"quit now", "line 1: too many arguments\n"},
      {"key 2", "line 1: not a machine key: 2\n"},
      {"key 100", "line 1: number out of range: 100\n"},
      {"key down", "line 1: bad number: down\n"},
      {"rtc minute", "line 1: unknown clock tick: minute\n"},
      {"lcd 1", "line 1: unknown display output: 1\n"},
      {"lcd png a 1 2", "line 1: too many arguments\n"},
      {"dis 1000 0", "line 1: number out of range: 0\n"},
      {"asm 1000 mov #5,r9", "error at 8\n"},
      {"asm 1000 frob r0", "error at 1\n"},
      // The text of asm is the rest of the line: no comment is cut from it.
      {"asm 1000 mov #5,r0 # five", "error at 11\n"},
      {"asm 1000x clr r0", "line 1: bad number: 1000x\n"},
      // Control bytes are shown escaped, so the message names what the line holds.
      {std::string("regs\0", 5), "line 1: unknown command: regs\\0\n"},
      {"reg r0 1\x1b[2J", "line 1: bad number: 1\\x1B[2J\n"},
  };
  for (const BadLineCase& c : cases) {
    System expected;
    System actual;
    const std::size_t last_line = c.script.rfind('\n');
    if (last_line != std::string::npos) RunText(expected, c.script.substr(0, last_line));
    const auto run = RunText(actual, c.script);
    EXPECT_EQ(run.outcome, Outcome::kError) << c.script;
    EXPECT_EQ(run.err, c.error) << c.script;
    EXPECT_EQ(run.out, "") << c.script;
    EXPECT_TRUE(MachineImage(actual) == MachineImage(expected)) << c.script;
  }
}

TEST(Interpreter, QuitAndBadLinesEndTheScript) {
  System system;
  const auto run = RunText(system, "reg r0 1\nquit\nreg r0 2\nbogus");
  EXPECT_EQ(run.outcome, Outcome::kQuit);
  EXPECT_EQ(system.machine().cpu.R(0), 1);
  EXPECT_EQ(run.err, "");
  EXPECT_EQ(RunText(system, "reg r0 3\nbogus\nreg r0 4").outcome, Outcome::kError);
  EXPECT_EQ(system.machine().cpu.R(0), 3);
}

TEST(Interpreter, CommentsBlanksAndLineEndings) {
  struct Case {
    std::string script;
    uint16_t r0;
  };
  const Case cases[] = {
      {"reg r0 5 # five", 5}, {"#reg r0 5", 0},
      {"\treg\tr0\t6\t", 6},  {"reg r0 7\r\n\r\n", 7},  // scripts written on other hosts
      {"reg r0 0x1f", 037},   {"reg r0 31.", 037},
  };
  for (const Case& c : cases) {
    System system;
    const auto run = RunText(system, c.script);
    EXPECT_EQ(run.outcome, Outcome::kContinue) << c.script << run.err;
    EXPECT_EQ(system.machine().cpu.R(0), c.r0) << c.script;
  }
}

}  // namespace
}  // namespace orlan::cli
