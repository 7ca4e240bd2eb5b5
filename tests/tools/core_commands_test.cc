// The processor and memory commands, run through the interpreter.
#include <gtest/gtest.h>

#include "cli_test_util.h"

namespace orlan::cli {
namespace {

using testing::RunText;
using testing::TempFile;

// Runs a script that must succeed and gives its output.
std::string Output(System& system, const std::string& script) {
  const auto run = RunText(system, script);
  EXPECT_EQ(run.outcome, Outcome::kContinue) << script << ": " << run.err;
  return run.out;
}

TEST(CoreCommands, RegAndRegsNameEveryRegister) {
  System system;
  Machine& m = system.machine();
  EXPECT_EQ(Output(system,
                   "reg r0 177777\nreg R1 1\nreg r6 2\nreg sp 0x1000\nreg r7 4\nreg pc 6\n"
                   "reg psw 17\nreg cpc 21\nreg cps 22\nregs"),
            "r0=177777 r1=000001 r2=000000 r3=000000 r4=000000 r5=000000 sp=010000 pc=000006 "
            "psw=000017\n");
  EXPECT_EQ(m.cpu.cpc, 021);
  EXPECT_EQ(m.cpu.cps, 022);
  Output(system, "irq clock\nirq channel");
  EXPECT_TRUE(m.cpu.irq_clock && m.cpu.irq_channel);
  // Reset restarts at the ROM's entry with priority 7 and drops pending requests.
  EXPECT_EQ(Output(system, "reset\nregs"),
            "r0=177777 r1=000001 r2=000000 r3=000000 r4=000000 r5=000000 sp=010000 pc=173000 "
            "psw=000340\n");
  EXPECT_FALSE(m.cpu.irq_clock || m.cpu.irq_channel);
}

TEST(CoreCommands, DepAndMemGoThroughRamAndRom) {
  struct Case {
    const char* script;
    const char* out;
  };
  const Case cases[] = {
      {"dep 1000 1 2 0x1234\nmem 1000 3", "001000: 000001 000002 011064\n"},
      // Words are stored low byte first, also from an odd address.
      {"dep 1001 0x1234\nmem 1000 2", "001000: 032000 000022\n"},
      // The debugger's way into ROM, which the processor cannot write; under the
      // device windows the ROM store is what a patch reaches.
      {"dep 100000 123456\nmem 100000", "100000: 123456\n"},
      {"dep 164000 7\nmem 164000", "164000: 000007\n"},
      // The last RAM word and the first ROM word of the default RAM size.
      {"dep 37776 1\nmem 37776 2", "037776: 000001 177777\n"},
      // Beyond the ROM nothing is stored, and the address wraps round to RAM.
      {"dep 0 5\nmem 177776 2", "177776: 177777 000005\n"},
  };
  for (const Case& c : cases) {
    System system;
    EXPECT_EQ(Output(system, c.script), c.out) << c.script;
  }
}

TEST(CoreCommands, LoadCopiesAFileIntoMemory) {
  const TempFile file("load", std::string("\x01\x02\x03", 3));
  const TempFile empty("empty", "");
  System system;
  EXPECT_EQ(Output(system, "load " + file.path() + " 2000\nmem 2000 2"), "002000: 001001 000003\n");
  EXPECT_EQ(Output(system, "load " + file.path() + " 177375\nmem 177374 2"),
            "177374: 000777 001402\n");
  EXPECT_EQ(Output(system, "load " + empty.path() + " 177777"), "");
}

TEST(CoreCommands, StepRunsProgramsFromScripts) {
  System system;
  system.Start();  // as the monitor starts it
  // MOV #5,R0; ADD R0,R1 with R1 = -1: the sum wraps to 4 and sets C alone; the
  // priority bits stay as the reset left them.
  EXPECT_EQ(
      Output(system, "dep 1000 012700 000005 060001\nreg r1 177777\nreg pc 1000\nstep 2\nregs"),
      "r0=000005 r1=000004 r2=000000 r3=000000 r4=000000 r5=000000 sp=000000 pc=001006 "
      "psw=000341\n");
  struct Case {
    const char* count;
    uint16_t steps;
  };
  const Case counts[] = {{"", 1}, {"0", 0}, {"10.", 10}, {"0x10", 16}};
  for (const Case& c : counts) {
    System n;
    // A run of INC R0, one per step.
    std::string script = "dep 2000";
    for (int i = 0; i < 20; ++i) script += " 005200";
    Output(n, script + "\nreg pc 2000\nstep " + c.count);
    EXPECT_EQ(n.machine().cpu.R(0), c.steps) << c.count;
  }
}

}  // namespace
}  // namespace orlan::cli
