// The monitor as a whole: options, start-up, script files and exit status.
#include "tools/cli/monitor.h"

#include <gtest/gtest.h>

#include <sstream>
#include <vector>

#include "cli_test_util.h"
#include "tools/cli/options.h"

namespace orlan::cli {
namespace {

using testing::TempFile;

struct MonitorRun {
  int status;
  std::string out;
  std::string err;
};

MonitorRun RunCli(std::vector<std::string> args, const std::string& stdin_text = "") {
  const std::vector<std::string_view> views(args.begin(), args.end());
  std::istringstream in(stdin_text);
  std::ostringstream out, err;
  const int status = RunMonitor(views, in, out, err);
  return {status, out.str(), err.str()};
}

// A ROM image whose byte i is (i * 7 + seed) mod 256, so misplaced bytes show.
std::string Image(std::size_t size, int seed) {
  std::string bytes(size, '\0');
  for (std::size_t i = 0; i < size; ++i) bytes[i] = static_cast<char>(i * 7 + seed);
  return bytes;
}

TEST(Monitor, OptionsAndStatus) {
  const TempFile rom("rom", Image(32512, 1));
  const TempFile romt("romt", Image(16384 + 2, 2));  // only its first 16384 bytes count
  const TempFile short_rom("short_rom", Image(32511, 1));
  struct Case {
    std::vector<std::string> args;
    std::string stdin_text;
    int status;
    std::string out;
    std::string err;
  };
  const Case cases[] = {
      {{},
       "regs",
       0,
       "r0=000000 r1=000000 r2=000000 r3=000000 r4=000000 r5=000000 sp=000000 pc=173000 "
       "psw=000340\n",
       ""},
      {{}, "reg r0 1\nstep x\nregs", 2, "", "line 2: bad number: x\n"},
      {{"--romt", romt.path(), "--rom", rom.path()},
       "mem 40000\nmem 77776\nmem 177376 2",
       0,
       "040000: 004402\n077776: 175764\n177376: 175363 177777\n",
       ""},
      // Option values are decimal, like the settings file's.
      {{"--ram-size", "100000"}, "dep 77776 1\nmem 77776", 0, "077776: 000001\n", ""},
      {{"--ram-size", "0x4000"}, "mem 77776", 0, "077776: 177777\n", ""},
      {{"--ram-size", "20000"}, "dep 47036 1\nmem 47036 2", 0, "047036: 000001 177777\n", ""},
      {{"--radix", "16"}, "dis 1000", 0, "0200: halt\n", ""},
      {{"--radix", "17"}, "", 2, "", "orlan-cli: number out of range: 17\n(try --help)\n"},
      {{"--ram-size", "12a"}, "", 2, "", "orlan-cli: bad number: 12a\n(try --help)\n"},
      {{"--bogus"}, "", 2, "", "orlan-cli: unknown option: --bogus\n(try --help)\n"},
      {{"--rom"}, "", 2, "", "orlan-cli: missing value for --rom\n(try --help)\n"},
      // ROM images too short or missing stop the monitor before any line runs.
      {{"--rom", short_rom.path()}, "regs", 2, "", "orlan-cli: "},
      {{"--romt", "/nonexistent/romt.bin"}, "regs", 2, "", "orlan-cli: "},
      {{"/nonexistent/script"}, "", 2, "", "orlan-cli: cannot read file: /nonexistent/script\n"},
      // Failures that used to pass for success.
      {{"--dir", "/nonexistent"}, "regs", 2, "", "orlan-cli: not a folder: /nonexistent\n"},
      {{"/"}, "", 2, "", "orlan-cli: cannot read file: /\n"},
  };
  for (const Case& c : cases) {
    const MonitorRun run = RunCli(c.args, c.stdin_text);
    EXPECT_EQ(run.status, c.status) << c.stdin_text;
    EXPECT_EQ(run.out, c.out) << c.stdin_text;
    EXPECT_EQ(run.err.substr(0, c.err.size()), c.err) << c.stdin_text;
    EXPECT_EQ(run.err.empty(), c.err.empty()) << c.stdin_text;
  }
}

TEST(Monitor, OutputThatCannotBeWrittenFailsTheRun) {
  for (const std::vector<std::string_view>& args :
       {std::vector<std::string_view>{}, std::vector<std::string_view>{"--help"}}) {
    std::istringstream in("regs\nregs\n");
    std::ostringstream out, err;
    out.setstate(std::ios::badbit);  // as writing to a full disk leaves it
    EXPECT_EQ(RunMonitor(args, in, out, err), 2);
    EXPECT_NE(err.str().find("cannot write the output"), std::string::npos) << err.str();
  }
}

TEST(Monitor, ScriptFilesRunInOrderUntilQuit) {
  const TempFile first("first", "reg r0 1\n");
  const TempFile second("second", "reg r1 2\nquit\n");
  const TempFile third("third", "reg r2 3\n");
  const TempFile show("show", "regs\n");
  const TempFile bad("bad", "regs\n\nbogus\n");
  EXPECT_EQ(RunCli({first.path(), show.path()}, "reg r3 4").out,
            "r0=000001 r1=000000 r2=000000 r3=000000 r4=000000 r5=000000 sp=000000 pc=173000 "
            "psw=000340\n");
  EXPECT_EQ(RunCli({second.path(), third.path(), bad.path()}).status, 0);
  const MonitorRun failed = RunCli({bad.path(), first.path()});
  EXPECT_EQ(failed.status, 2);
  EXPECT_EQ(failed.err, "line 3: unknown command: bogus\n");
  // A missing script is found before any script runs.
  const MonitorRun missing = RunCli({show.path(), "/nonexistent/script"});
  EXPECT_EQ(missing.status, 2);
  EXPECT_EQ(missing.out, "");
}

TEST(Monitor, MachineFolderSymbolFilesAreLoadedAndTheirFaultsReported) {
  orlan::testing::TempDir dir;
  dir.Write("romt.sym", std::string("low = 40000\n"));
  dir.Write("rom.sym", std::string("high = 100000\nbad\n"));
  const MonitorRun run = RunCli({"--machine", dir.path().string()}, "mem low\nmem high\n");
  EXPECT_EQ(run.status, 0);
  EXPECT_EQ(run.out, "040000: 177777\n100000: 177777\n");
  EXPECT_NE(run.err.find("\nrom.sym:2: '=' expected after the name 'bad'\n"), std::string::npos)
      << run.err;
}

}  // namespace
}  // namespace orlan::cli
