// The processor and memory commands, run through the interpreter.
#include <gtest/gtest.h>

#include "cli_test_util.h"
#include "tools/cli/options.h"

namespace orlan::cli {
namespace {

using testing::RunText;
using testing::TempFile;

// Runs a script that must succeed and gives its output.
std::string Output(Machine& m, const std::string& script) {
  const auto run = RunText(m, script);
  EXPECT_EQ(run.outcome, Outcome::kContinue) << script << ": " << run.err;
  return run.out;
}

TEST(CoreCommands, RegsPrintsOneLineInOctal) {
  Machine m;
  PrepareMachine(m, Options{});  // as the monitor starts: processor reset
  EXPECT_EQ(Output(m, "regs"),
            "r0=000000 r1=000000 r2=000000 r3=000000 r4=000000 r5=000000 sp=000000 pc=173000 "
            "psw=000340\n");
  EXPECT_EQ(Output(m, "reg r0 177777\nreg r5 1\nreg sp 0x1000\nreg psw 17\nregs"),
            "r0=177777 r1=000000 r2=000000 r3=000000 r4=000000 r5=000001 sp=010000 pc=173000 "
            "psw=000017\n");
}

TEST(CoreCommands, RegSetsTheNamedRegister) {
  struct Case {
    const char* name;
    uint16_t (*get)(const CpuState&);
  };
  const Case cases[] = {
      {"r0", [](const CpuState& c) { return c.R(0); }},
      {"r4", [](const CpuState& c) { return c.R(4); }},
      {"r6", [](const CpuState& c) { return c.sp(); }},
      {"sp", [](const CpuState& c) { return c.sp(); }},
      {"r7", [](const CpuState& c) { return c.pc(); }},
      {"pc", [](const CpuState& c) { return c.pc(); }},
      {"PC", [](const CpuState& c) { return c.pc(); }},
      {"psw", [](const CpuState& c) { return c.psw; }},
      {"cpc", [](const CpuState& c) { return c.cpc; }},
      {"cps", [](const CpuState& c) { return c.cps; }},
  };
  for (const Case& c : cases) {
    Machine m;
    Output(m, std::string("reg ") + c.name + " 123457");
    EXPECT_EQ(c.get(m.cpu), 0123457) << c.name;
    // Exactly one register changed: the sum of all of them is the value set.
    uint32_t sum = m.cpu.psw + m.cpu.cpc + m.cpu.cps;
    for (int i = 0; i < 8; ++i) sum += m.cpu.R(i);
    EXPECT_EQ(sum, 0123457u) << c.name;
  }
}

TEST(CoreCommands, DepAndMemGoThroughRamAndRom) {
  struct Case {
    const char* script;
    const char* out;
  };
  const Case cases[] = {
      {"dep 1000 1 2 3\nmem 1000 3", "001000: 000001 000002 000003\n"},
      {"dep 1000 0x1234\nmem 1000", "001000: 011064\n"},
      // Words are stored low byte first, also from an odd address.
      {"dep 1001 0x1234\nmem 1000 2", "001000: 032000 000022\n"},
      // The debugger's way into ROM, which the processor cannot write.
      {"dep 100000 123456\nmem 100000", "100000: 123456\n"},
      {"dep 177376 1\nmem 177376", "177376: 000001\n"},
      // Under the device windows the ROM store is what a patch reaches.
      {"dep 164000 7\nmem 164000", "164000: 000007\n"},
      // The last RAM byte and the first ROM byte of the default RAM size.
      {"dep 37776 1\nmem 37776 2", "037776: 000001 177777\n"},
      // Beyond the ROM nothing is stored, and the address wraps round to RAM.
      {"dep 0 5\nmem 177776 2", "177776: 177777 000005\n"},
      {"mem 0x200 2", "001000: 000000 000000\n"},
  };
  for (const Case& c : cases) {
    Machine m;
    EXPECT_EQ(Output(m, c.script), c.out) << c.script;
  }
}

TEST(CoreCommands, LoadCopiesAFileIntoMemory) {
  const TempFile file("load", std::string("\x01\x02\x03", 3));
  const TempFile empty("empty", "");
  Machine m;
  EXPECT_EQ(Output(m, "load " + file.path() + " 2000\nmem 2000 2"), "002000: 001001 000003\n");
  EXPECT_EQ(Output(m, "load " + file.path() + " 177375\nmem 177374 2"), "177374: 000777 001402\n");
  EXPECT_EQ(Output(m, "load " + empty.path() + " 177777"), "");
}

TEST(CoreCommands, IrqIsTakenByTheNextUnmaskedStep) {
  struct Case {
    const char* irq;
    uint16_t psw;
    uint16_t pc;  // after one step
  };
  const Case cases[] = {
      {"clock", 0, 02000},
      {"channel", 0, 03000},
      {"clock", 0340, 0},  // masked: the step runs the instruction at 0 instead
  };
  for (const Case& c : cases) {
    Machine m;
    Output(m, std::string("dep 100 2000 11\ndep 310 3000 12\nreg sp 1000\nreg pc 0\nreg psw ") +
                  std::to_string(c.psw) + "\nirq " + c.irq + "\nstep");
    if (c.pc != 0) {
      EXPECT_EQ(m.cpu.pc(), c.pc) << c.irq;
      EXPECT_EQ(m.cpu.sp(), 0774) << c.irq;
      EXPECT_EQ(m.cpu.psw, c.pc == 02000 ? 011 : 012) << c.irq;
    } else {
      EXPECT_TRUE(m.cpu.irq_clock);
    }
  }
}

TEST(CoreCommands, ResetRestartsAtTheRomEntry) {
  Machine m;
  Output(m, "reg pc 1234\nreg psw 17\nirq clock\nreset");
  EXPECT_EQ(m.cpu.pc(), 0173000);
  EXPECT_EQ(m.cpu.psw, 0340);
  EXPECT_FALSE(m.cpu.irq_clock);
}

TEST(CoreCommands, StepRunsProgramsFromScripts) {
  Machine m;
  PrepareMachine(m, Options{});
  // MOV #5,R0; ADD R0,R1 with R1 = -1: the sum wraps to 4 and sets C alone.
  EXPECT_EQ(Output(m, "dep 1000 012700 000005 060001\nreg r1 177777\nreg pc 1000\nstep 2\nregs"),
            "r0=000005 r1=000004 r2=000000 r3=000000 r4=000000 r5=000000 sp=000000 pc=001006 "
            "psw=000341\n");
  struct Case {
    const char* count;
    uint16_t steps;
  };
  const Case counts[] = {{"", 1}, {"0", 0}, {"3", 3}, {"10.", 10}, {"0x10", 16}};
  for (const Case& c : counts) {
    Machine n;
    // A run of INC R0, one per step.
    std::string script = "dep 2000";
    for (int i = 0; i < 20; ++i) script += " 005200";
    Output(n, script + "\nreg pc 2000\nstep " + c.count);
    EXPECT_EQ(n.cpu.R(0), c.steps) << c.count;
  }
}

}  // namespace
}  // namespace orlan::cli
