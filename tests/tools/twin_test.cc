// The monitor as a scriptable twin of the window: a machine started from its folder,
// emulated time and typing.
//
// The demo screen is compared with expected/; after a deliberate change rewrite it with
//   ORLAN_REBASELINE=1 ctest -R Twin
// and review the diff before committing.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "cli_test_util.h"
#include "devices/key_tables.h"
#include "tests/frontend/file_fixtures.h"
#include "tests/support/demo_machine.h"
#include "tools/cli/monitor.h"
#include "tools/cli/options.h"

namespace orlan::cli {
namespace {

namespace fs = std::filesystem;
using orlan::testing::TempDir;

struct MonitorRun {
  int status;
  std::string out;
  std::string err;
};

MonitorRun Monitor(const std::vector<std::string>& args, const std::string& script) {
  const std::vector<std::string_view> views(args.begin(), args.end());
  std::istringstream in(script);
  std::ostringstream out, err;
  const int status = RunMonitor(views, in, out, err);
  return {status, out.str(), err.str()};
}

void ExpectScreen(const std::string& name, const std::string& screen) {
  const fs::path path = fs::path(ORLAN_TWIN_EXPECTED_DIR) / (name + ".txt");
  const char* rebaseline = std::getenv("ORLAN_REBASELINE");
  if (rebaseline != nullptr && std::string(rebaseline) == "1") {
    std::ofstream(path, std::ios::binary) << screen;
    return;
  }
  std::ifstream in(path, std::ios::binary);
  ASSERT_TRUE(in) << "missing " << path << " (ORLAN_REBASELINE=1 writes it)";
  std::stringstream expected;
  expected << in.rdbuf();
  EXPECT_EQ(screen, expected.str()) << "display differs from " << path;
}

TEST(TwinTest, DemoMachineBootsTypesAndCloses) {
  TempDir dir;
  orlan::testing::CopyDemo(ORLAN_DEMO_DIR, dir, 0);
  const MonitorRun run =
      Monitor({"--machine", dir.path().string(), "--time", "2026-01-02T03:04:05"},
              "run 1000.\n"
              "type hello, World 1/2\n"
              "lcd\n"
              "close\n");
  ASSERT_EQ(run.status, kExitOk) << run.err;
  EXPECT_EQ(run.err, "");
  ExpectScreen("demo_typed_line", run.out);
  // Closing wrote the clock file, as the window's close does.
  EXPECT_EQ(dir.Read("rtc.bin").size(), 64u);
}

TEST(TwinTest, FolderSettingsAndFilesTakeEffect) {
  struct Case {
    const char* name;
    const char* ini;  // nullptr: no orlan.ini
    std::vector<std::string> extra_args;
    const char* script;
    int status;
    const char* out;
    const char* err;
  };
  const Case cases[] = {
      {"no ROM: reported, the machine still starts",
       nullptr,
       {},
       "regs\n",
       kExitOk,
       "r0=000000 r1=000000 r2=000000 r3=000000 r4=000000 r5=000000 sp=000000 pc=173000 "
       "psw=000340\n",
       "Failed to load the file rom.bin\n"},
      {"CpuSpeed 0 leaves the processor idle",
       "[Settings]\nCpuSpeed=0\n",
       {},
       "run 1000.\nmem 1000 1\nregs\n",
       kExitOk,
       "001000: 000000\n"
       "r0=000000 r1=000000 r2=000000 r3=000000 r4=000000 r5=000000 sp=000000 pc=173000 "
       "psw=000340\n",
       "Failed to load the file rom.bin\n"},
      {"debugger base from the folder",
       "[Debugger]\nRadix=16\n",
       {},
       "dep 1000 012700 5\ndis 1000\n",
       kExitOk,
       "0200: mov   #5,r0\n",
       "Failed to load the file rom.bin\n"},
      {"--radix wins over the folder",
       "[Debugger]\nRadix=16\n",
       {"--radix", "8"},
       "dep 1000 012700 5\ndis 1000\n",
       kExitOk,
       "001000: mov   #5,r0\n",
       "Failed to load the file rom.bin\n"},
      {"a changed ROM is not saved silently",
       "[Debugger]\nSaveRom=1\n",
       {},
       "asm 1000 nop\nclose\n",
       kExitOk,
       "",
       "Failed to load the file rom.bin\n"
       "The ROM was changed in the debugger but is not saved: the monitor asks for no file\n"},
      {"SaveRom 0: nothing offered",
       "[Debugger]\nSaveRom=0\n",
       {},
       "asm 1000 nop\nclose\n",
       kExitOk,
       "",
       "Failed to load the file rom.bin\n"},
      {"nothing runs after close",
       nullptr,
       {},
       "close\nrun 10\n",
       kExitUsage,
       "",
       "Failed to load the file rom.bin\nline 2: the machine is closed\n"},
      {"nor types",
       nullptr,
       {},
       "close\ntype a\n",
       kExitUsage,
       "",
       "Failed to load the file rom.bin\nline 2: the machine is closed\n"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TempDir dir;
    if (c.ini != nullptr) dir.Write("orlan.ini", std::string(c.ini));
    std::vector<std::string> args = {"--machine", dir.path().string()};
    args.insert(args.end(), c.extra_args.begin(), c.extra_args.end());
    const MonitorRun run = Monitor(args, c.script);
    EXPECT_EQ(run.status, c.status);
    EXPECT_EQ(run.out, c.out);
    // Start-up messages name the file by its full path.
    std::string err = c.err;
    const std::string missing = "Failed to load the file rom.bin";
    if (const std::size_t at = err.find(missing); at != std::string::npos) {
      err.replace(at, missing.size(), "Failed to load the file " + PathText(dir / "rom.bin"));
    }
    EXPECT_EQ(run.err, err);
  }
}

TEST(TwinTest, BadOptionsEndTheRunBeforeAnything) {
  TempDir dir;
  const std::string folder = dir.path().string();
  const std::vector<std::vector<std::string>> cases = {
      {"--machine", folder, "--rom", "rom.bin"},
      {"--machine", folder, "--dir", folder},
      {"--machine", folder, "--ram-size", "20000"},
      {"--machine", (dir / "missing").string()},
      {"--machine"},
      {"--time", "2026-02-29T00:00:00"},
      {"--machine", folder, "--time", "tomorrow"},
  };
  for (const auto& args : cases) {
    SCOPED_TRACE(args.back());
    const MonitorRun run = Monitor(args, "regs\n");
    EXPECT_EQ(run.status, kExitUsage);
    EXPECT_EQ(run.out, "");
    EXPECT_EQ(run.err.rfind("orlan-cli: ", 0), 0u) << run.err;
  }
}

// The monitor beside a window on the same folder: refused before any line runs.
TEST(TwinTest, AFolderInUseEndsTheMonitor) {
  TempDir dir;
  dir.Write("smp0.bin", std::vector<uint8_t>(16, 0));
  System window;
  CapturingMessageSink sink;
  PowerOnOptions held;
  held.folder = dir.path();
  ASSERT_EQ(window.PowerOn(held, sink), PowerOnResult::kStarted);
  const std::string in_use = PathText(dir.path()) + ": the machine folder is in use";
  for (const char* option : {"--machine", "--dir"}) {
    SCOPED_TRACE(option);
    const MonitorRun run = Monitor({option, dir.path().string()}, "regs\n");
    EXPECT_EQ(run.status, kExitUsage);
    EXPECT_EQ(run.out, "");
    EXPECT_NE(run.err.find(in_use), std::string::npos) << run.err;
  }
}

TEST(TwinTest, TimeOptionIsADateAndTimeOfDay) {
  struct Case {
    const char* text;
    std::optional<LocalTime> time;
  };
  const Case cases[] = {
      {"2026-01-02T03:04:05", LocalTime{2026, 1, 2, 5, 3, 4, 5}},
      {"2000-02-29T23:59:59", LocalTime{2000, 2, 29, 2, 23, 59, 59}},  // a leap century
      {"1900-01-01T00:00:00", LocalTime{1900, 1, 1, 1, 0, 0, 0}},
      {"2099-12-31T12:00:00", LocalTime{2099, 12, 31, 4, 12, 0, 0}},
      {"2024-03-03T00:00:00", LocalTime{2024, 3, 3, 7, 0, 0, 0}},  // a Sunday
      {"2026-02-29T00:00:00", std::nullopt},                       // not a leap year
      {"1900-02-29T00:00:00", std::nullopt},                       // nor a leap century
      {"2026-04-31T00:00:00", std::nullopt},
      {"2026-13-01T00:00:00", std::nullopt},
      {"2026-00-10T00:00:00", std::nullopt},
      {"2026-01-00T00:00:00", std::nullopt},
      {"2026-01-02T24:00:00", std::nullopt},
      {"2026-01-02T23:60:00", std::nullopt},
      {"2026-01-02T23:59:60", std::nullopt},
      {"1899-12-31T23:59:59", std::nullopt},
      {"2100-01-01T00:00:00", std::nullopt},
      {"2026-1-2T3:4:5", std::nullopt},
      {"2026-01-02 03:04:05", std::nullopt},
      {"2026-01-02T03:04:05Z", std::nullopt},
      {"2026-01-02T03:04", std::nullopt},
      {"+026-01-02T03:04:05", std::nullopt},
      {"", std::nullopt},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    const std::optional<LocalTime> t = ParseTimeOption(c.text);
    ASSERT_EQ(t.has_value(), c.time.has_value());
    if (!t) continue;
    EXPECT_EQ(t->year, c.time->year);
    EXPECT_EQ(t->month, c.time->month);
    EXPECT_EQ(t->day, c.time->day);
    EXPECT_EQ(t->weekday, c.time->weekday);
    EXPECT_EQ(t->hour, c.time->hour);
    EXPECT_EQ(t->minute, c.time->minute);
    EXPECT_EQ(t->second, c.time->second);
  }
}

// A machine that samples the key code through the channel once per run tick into
// RAM from 1000 on: mov #2,@#164024 selects the keyboard, then mov @#164020,(r1)+ and
// br back, two steps a tick.
void InstallKeySampler(System& rig) {
  ASSERT_EQ(testing::RunText(rig,
                             "dep 0 012737 2 164024 013721 164020 000775\n"
                             "reg pc 0\nreg r1 1000\nreg psw 340\n")
                .outcome,
            Outcome::kContinue);
  rig.machine().run.set_steps_per_tick(2);
}

// The sampled codes, one per run tick from the second on (the first two samples both
// show the code at the first tick).
std::vector<uint16_t> Samples(const System& rig) {
  std::vector<uint16_t> codes;
  for (uint16_t a = 01002; a < rig.machine().cpu.R(1); a += 2)
    codes.push_back(rig.machine().PeekWord(a));
  return codes;
}

TEST(TwinTest, TypedKeysAreHeldFiftyMillisecondsWithFiftyBetween) {
  struct Case {
    const char* line;
    std::vector<int> keys;
  };
  const Case cases[] = {
      {"type a", {KeyIndexForCharacter('A')}},
      {"type A", {KeyIndexForCharacter('A')}},
      {"type 1 /", {KeyIndexForCharacter('1'), 60, KeyIndexForCharacter('/')}},
      {"type Qz,",
       {KeyIndexForCharacter('Q'), KeyIndexForCharacter('Z'), KeyIndexForCharacter(',')}},
      {"type   x@", {KeyIndexForCharacter('X'), KeyIndexForCharacter('@')}},  // blanks before: none
      {"type a\\nb\\r\\b\\\\",
       {KeyIndexForCharacter('A'), kEnterKey, KeyIndexForCharacter('B'), kEnterKey, kBackspaceKey,
        KeyIndexForCharacter('\\')}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.line);
    System rig;
    InstallKeySampler(rig);
    // The last release is sampled at the tick after it.
    const auto run = testing::RunText(rig, std::string(c.line) + "\nrun 10.\n");
    ASSERT_EQ(run.outcome, Outcome::kContinue) << run.err;
    std::vector<uint16_t> expected;
    for (int key : c.keys) {
      ASSERT_NE(key, 0);
      expected.insert(expected.end(), 5, kKeyScanTable[key]);
      expected.insert(expected.end(), 5, kKeyScanTable[0]);
    }
    EXPECT_EQ(Samples(rig), expected);
    EXPECT_EQ(rig.now_ms(), 100 * c.keys.size() + 10);
    EXPECT_EQ(rig.board().keyboard.host_key(), 0);
  }
}

TEST(TwinTest, BadTimedLinesChangeNothing) {
  const char* const lines[] = {
      "type",
      "type ~",
      "type ab~cd",
      "type a#b",
      "type a\tb",
      "type a\\q",
      "type a\\",
      "type \xC3\xA9",
      "run",
      "run 1 2",
      "run 8",
      "run 1000..",
      "run -1",
      "run 40000000000",
      "lcd png",
      "lcd jpg x.png",
      "lcd png x.png 0",
      "lcd png x.png 41",
      "lcd png x.png 3 4",
      "lcd png /nonexistent/folder/x.png",
  };
  for (const char* line : lines) {
    SCOPED_TRACE(line);
    System rig;
    const testing::MachineImage before(rig);
    const auto run = testing::RunText(rig, std::string(line) + "\nregs\n");
    EXPECT_EQ(run.outcome, Outcome::kError);
    EXPECT_EQ(run.err.rfind("line 1: ", 0), 0u) << run.err;
    EXPECT_EQ(run.out, "");
    EXPECT_EQ(rig.now_ms(), 0u);
    EXPECT_TRUE(testing::MachineImage(rig) == before);
  }
}

TEST(TwinTest, RunNumbersAreOctalUnlessMarkedDecimal) {
  const std::pair<const char*, uint64_t> cases[] = {
      {"run 1000.", 1000}, {"run 1000", 512}, {"run 0x10", 16}, {"run 0", 0}, {"run 5\nrun 5", 10},
  };
  for (const auto& [script, ms] : cases) {
    SCOPED_TRACE(script);
    System rig;
    EXPECT_EQ(testing::RunText(rig, script).outcome, Outcome::kContinue);
    EXPECT_EQ(rig.now_ms(), ms);
    EXPECT_EQ(rig.ticks().run, ms / 10);
  }
}

}  // namespace
}  // namespace orlan::cli
