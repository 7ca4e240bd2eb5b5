// Breakpoints, watchpoints, stepping, history and trace from monitor scripts, on a
// program assembled by the cross-assembler.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>

#include "assembled_program.h"
#include "cli_test_util.h"
#include "tests/support/recursion_program.h"
#include "tests/support/temp_dir.h"

namespace orlan::cli {
namespace {

using testing::AssembledProgram;
using testing::RunText;

const std::string kProgram = std::string(orlan::testing::kRecursionProgram) +
                             "buf:    .word 0\n"  // 001042
                             "save:   mov r0,-(sp)\n"
                             "        mov (sp)+,r0\n"
                             "        rts pc\n";

// Loads the program and its names, with the stack at 700 and PC at its start.
std::string Load(const AssembledProgram& program) {
  return "sym " + program.Path("prog.sym") + "\nload " + program.Path("prog.bin") +
         " 1000\nreg sp 700\nreg pc 1000\n";
}

std::string Regs(int r1, int r2, int sp, int pc, int psw) {
  std::ostringstream s;
  s << "r0=000000 r1=00000" << r1 << " r2=00000" << r2 << " r3=000000 r4=000000 r5=000000 sp=000"
    << std::oct << sp << " pc=00" << pc << " psw=00000" << psw << "\n";
  return s.str();
}

TEST(WatchCommands, StopsOnBreakpointsWatchpointsAndStepGoals) {
  const AssembledProgram program(kProgram.c_str());
  struct Case {
    std::string script;
    std::string out;
    std::string err;
  } cases[] = {
      {"break after\nbreak 1000\nbreak\nrun 100\nregs\nrun 100\nregs",
       "001000 start\n001010 after\nstop at 001010: breakpoint\n" + Regs(4, 0, 0700, 01010, 0) +
           Regs(4, 0, 0700, 01022, 4),
       ""},
      // Over the recursing call one level deep: the deeper returns to `done` pass.
      {"break 1032\nrun 100\nbreak clear 1032\nover\nregs\nover\nout\nuntil 1020",
       "stop at 001032: breakpoint\nstop at 001036: stepped over\n" + Regs(3, 0, 0676, 01036, 0) +
           "stop at 001010: stepped out\nstop at 001020: reached\n",
       ""},
      // From the routine's entry, out runs the whole recursion.
      {"step 2\nout\nregs", "stop at 001010: stepped out\n" + Regs(4, 0, 0700, 01010, 0), ""},
      // Over the trap instructions, whose handler (rti at 1100) returns behind them.
      {"dep 30 1100 0\ndep 1100 2\ndep 1000 104001\nover", "stop at 001002: stepped over\n", ""},
      {"dep 34 1100 0\ndep 1100 2\ndep 1000 104777\nover", "stop at 001002: stepped over\n", ""},
      {"dep 20 1100 0\ndep 1100 2\ndep 1000 4\nover", "stop at 001002: stepped over\n", ""},
      {"dep 14 1100 0\ndep 1100 2\ndep 1000 3\nover\nregs",
       "stop at 001002: stepped over\n" + Regs(0, 0, 0700, 01002, 0), ""},
      // Out from behind a push: the pop leaves the stack higher, but only the return
      // leaves the routine.
      {"dep 676 1010\nreg sp 676\nreg pc 1044\nstep\nout", "stop at 001010: stepped out\n", ""},
      {"watch buf 2 w\nwatch 164002 r\nwatch\nrun 100\nrun 100\nwatch clear buf\nwatch",
       "001042 buf 2 w\n164002 1 r\nstop at 001014: write of 001042\n"
       "stop at 001020: read of 164002\n164002 1 r\n",
       ""},
      {"watch buf r\nuntil 1024 50", "no stop\n", ""},
      // WAIT, then a step: the next instruction runs.
      {"reg pc 1020\nstep\nstep\nregs", Regs(0, 1, 0700, 01024, 0), ""},
      {"history on\nrun 100\nhistory 2",
       "001014: 005737 164002        tst   @#164002                  r0=000000 r1=000004 "
       "r2=000000 r3=000000 "
       "r4=000000 r5=000000 sp=000700 pc=001020 psw=000004\n"
       "001020: 000001               wait                            r0=000000 r1=000004 "
       "r2=000000 r3=000000 "
       "r4=000000 r5=000000 sp=000700 pc=001022 psw=000004\n",
       ""},
      {"break clear 1000", "", "line 5: no breakpoint at 1000\n"},
      {"watch clear 1000", "", "line 5: no watchpoint at 1000\n"},
      {"watch 1000 0", "", "line 5: number out of range: 0\n"},
      {"watch 1000 2 x", "", "line 5: not r, w or rw: x\n"},
      {"watch nowhere", "", "line 5: unknown symbol: nowhere\n"},
      {"until", "", "line 5: missing argument\n"},
      {"history", "", "line 5: the history is off (history on)\n"},
      {"trace /nonexistent/trace.txt", "", "line 5: cannot write file: /nonexistent/trace.txt\n"},
      {"trace /dev/full\nrun 100", "", "line 6: cannot write file: /dev/full\n"},
  };
  for (const Case& c : cases) {
    System system;
    const auto run = RunText(system, Load(program) + c.script);
    EXPECT_EQ(run.out, c.out) << c.script;
    EXPECT_EQ(run.err, c.err) << c.script;
  }
}

TEST(WatchCommands, TraceWritesEachInstructionUpToItsCount) {
  const AssembledProgram program(kProgram.c_str());
  orlan::testing::TempDir dir;
  const std::string path = (dir / "trace.txt").string();
  System system;
  const auto run =
      RunText(system, Load(program) + "trace " + path + " 3\nrun 100\ntrace off\nregs");
  ASSERT_EQ(run.err, "");
  std::ifstream in(path);
  std::string line;
  std::vector<std::string> lines;
  while (std::getline(in, line)) lines.push_back(line.substr(0, 45));
  EXPECT_EQ(lines, (std::vector<std::string>{"001000: 012700 000004        mov   #4,r0     ",
                                             "001004: 004767 000016        jsr   pc,fact   ",
                                             "001026: 005300               dec   r0        "}));
}

}  // namespace
}  // namespace orlan::cli
