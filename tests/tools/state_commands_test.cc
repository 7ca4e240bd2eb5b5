// Saved states from scripts, and the replay on the command line.
#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "cli_test_util.h"
#include "tools/cli/monitor.h"

namespace orlan::cli {
namespace {

using orlan::testing::TempDir;
using testing::MachineImage;
using testing::RunText;
using testing::ScriptRun;

TEST(StateCommands, SaveRunLoadRunGivesTheSameOutputAndBadFilesChangeNothing) {
  TempDir dir;
  const std::string file = (dir / "a.sav").string();
  System rig;
  // A counting loop: r0 goes up at every step pair.
  ASSERT_EQ(RunText(rig, "dep 1000 005200 000776\nreg pc 1000\nstep 7").err, "");
  const std::string then = "step 21.\nregs\nmem 1000 2\n";
  EXPECT_EQ(RunText(rig, "state save " + file).err, "");
  const std::string first = RunText(rig, then).out;
  const ScriptRun loaded = RunText(rig, "state load " + file + "\n" + then);
  EXPECT_EQ(loaded.err, "");
  EXPECT_EQ(loaded.out, first);

  dir.Write("bad.sav", std::string("ORLSTATE"));
  const MachineImage before(rig);
  const std::vector<std::string> bad_lines = {
      "state load " + (dir / "bad.sav").string(), "state load " + (dir / "none.sav").string(),
      "state save " + (dir / "no-folder" / "a.sav").string(), "state keep " + file};
  for (const std::string& line : bad_lines) {
    const ScriptRun run = RunText(rig, line);
    EXPECT_EQ(run.outcome, Outcome::kError) << line;
    EXPECT_NE(run.err.find("line 1: "), std::string::npos) << run.err;
  }
  EXPECT_TRUE(MachineImage(rig) == before);
  EXPECT_NE(RunText(rig, "close\nstate load " + file).err.find("closed"), std::string::npos);
}

TEST(StateCommands, ReplayNeedsAMachineFolderAndARecording) {
  struct Case {
    std::vector<std::string_view> args;
    const char* message;
  };
  TempDir dir;
  const std::string folder = dir.path().string();
  const std::string missing = (dir / "none.rec").string();
  dir.Write("bad.rec", std::string("ORLJOURN"));
  const std::string bad = (dir / "bad.rec").string();
  const Case cases[] = {
      {{"replay", "x.rec"}, "replay takes a --machine folder"},
      {{"--machine", folder, "replay"}, "missing recording"},
      {{"--machine", folder, "replay", missing}, "none.rec"},
      {{"--machine", folder, "replay", bad}, "damaged recording"},
  };
  for (const Case& c : cases) {
    std::istringstream in;
    std::ostringstream out, err;
    EXPECT_EQ(RunMonitor(c.args, in, out, err), kExitUsage);
    EXPECT_NE(err.str().find(c.message), std::string::npos) << err.str();
  }
}

}  // namespace
}  // namespace orlan::cli
