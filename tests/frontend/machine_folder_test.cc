// Finding the bundled demo and copying it, and telling when there is no display.
#include "frontend/machine_folder.h"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "tests/support/temp_dir.h"

namespace orlan {
namespace {

namespace fs = std::filesystem;

TEST(MachineFolderTest, NoDisplayOnlyWithoutAnyWayToOne) {
  struct Case {
    std::map<std::string, std::string> env;
    std::vector<std::string> args;
    bool missing;
  } cases[] = {
      {{}, {}, true},
      {{{"DISPLAY", ""}, {"WAYLAND_DISPLAY", ""}}, {"--dir", "x"}, true},
      {{{"DISPLAY", ":0"}}, {}, false},
      {{{"WAYLAND_DISPLAY", "wayland-0"}}, {}, false},
      {{{"QT_QPA_PLATFORM", "offscreen"}}, {}, false},
      {{}, {"-platform", "offscreen"}, false},
  };
  for (const Case& c : cases) {
    const auto env = [&c](const char* name) -> const char* {
      const auto it = c.env.find(name);
      return it == c.env.end() ? nullptr : it->second.c_str();
    };
    const auto reason = NoDisplayReason(env, c.args);
#if defined(__unix__) && !defined(__APPLE__)
    EXPECT_EQ(reason.has_value(), c.missing) << c.env.size() << " " << c.args.size();
    if (reason) {
      EXPECT_EQ(reason->find('\n'), std::string::npos);
    }
#else
    EXPECT_FALSE(reason.has_value());
#endif
  }
}

TEST(MachineFolderTest, DemoFoundBesideTheProgramAndCopiedWithoutReplacing) {
  testing::TempDir root;
  fs::create_directories(root / "bin");
  EXPECT_FALSE(FindBundledDemo(root / "bin"));
  fs::create_directories(root / "share/orlan/demo");
  root.Write("share/orlan/demo/rom.bin", "rom");
  root.Write("share/orlan/demo/smp0.bin", "blank");
  EXPECT_EQ(FindBundledDemo(root / "bin"), fs::canonical(root / "share/orlan/demo"));
  EXPECT_TRUE(HoldsMachineFiles(root / "share/orlan/demo"));
  EXPECT_FALSE(HoldsMachineFiles(root / "bin"));

  EXPECT_TRUE(CopyMachineFolder(root / "share/orlan/demo", root / "mine"));
  root.Write("mine/smp0.bin", "counter 7");
  EXPECT_TRUE(CopyMachineFolder(root / "share/orlan/demo", root / "mine"));
  EXPECT_EQ(root.Read("mine/rom.bin"), std::vector<uint8_t>({'r', 'o', 'm'}));
  EXPECT_EQ(root.Read("mine/smp0.bin").size(), 9u);
  EXPECT_FALSE(CopyMachineFolder(root / "no-such-folder", root / "other"));
}

}  // namespace
}  // namespace orlan
