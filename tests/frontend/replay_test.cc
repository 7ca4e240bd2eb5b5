// Recordings: a session with every kind of event replays headlessly to the machine it
// ended with, without touching the machine folder's files; a recording that cannot be
// played says why.
#include "frontend/replay.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "frontend/emulated_time.h"
#include "frontend/journal.h"
#include "tests/support/demo_machine.h"

namespace orlan {
namespace {

using testing::TempDir;

constexpr LocalTime kNow{2026, 5, 6, 3, 7, 8, 9};

// The demo machine in a folder of its own, powered on and recording.
struct Recording {
  TempDir dir;
  System system;
  EmulatedTime schedule;  // the window's timers, ticking through System::Tick
  int64_t now_us = 0;
  explicit Recording(std::size_t read_only_cartridge = 0) {
    testing::CopyDemo(ORLAN_DEMO_DIR, dir, 1024);
    if (read_only_cartridge > 0) {
      dir.Write("smp1.bin", std::vector<uint8_t>(read_only_cartridge, 7));
    }
    PowerOnOptions options;
    options.folder = dir.path();
    options.now = kNow;
    CapturingMessageSink sink;
    EXPECT_EQ(system.PowerOn(options, sink), PowerOnResult::kStarted);
    // Each look at the host clock takes 0.7 ms: fast-forward ticks are cut by time.
    system.set_host_clock([this] { return now_us += 700; });
    EXPECT_TRUE(system.StartRecording(path()).ok());
    system.Start();
    Drive(1000);
  }
  std::filesystem::path path() const { return dir / "session.rec"; }
  void Drive(uint64_t ms) {
    schedule.Advance(ms, [this](TickKind kind) { system.Tick(kind); });
  }
  void Type(char c) {
    system.HostCharacter(static_cast<char32_t>(c));
    Drive(50);
    system.HostKeyUp();
    Drive(50);
  }
  std::vector<uint8_t> Close() {
    CapturingMessageSink sink;
    system.Close({}, sink);
    return dir.Read("session.rec");
  }
};

std::vector<uint32_t> Picture(const System& system) {
  const uint32_t* pixels = system.board().lcd.pixels();
  return std::vector<uint32_t>(pixels, pixels + kLcdPictureWidth * kLcdPictureHeight);
}

TEST(ReplayTest, ASessionReplaysToTheMachineItEndedWithAndLeavesTheFolderAlone) {
  Recording r;
  System& s = r.system;
  // Changes that reach the recording as states: a state loaded, the debug window's
  // stop at a breakpoint, its edit and steps.
  const std::vector<uint8_t> saved = s.SaveState();
  r.Type('z');
  ASSERT_TRUE(s.LoadState(saved).ok());
  s.machine().on_debug_stop = [&s] {
    s.DebuggerOpened();
    s.machine().run.Stop();
  };
  s.machine().run.RunTo(s.machine().cpu.pc());
  r.Drive(100);
  ASSERT_TRUE(s.machine().run.run_stopped());
  s.machine().PokeByte(0400, 0123);
  for (int i = 0; i < 3; ++i) s.machine().CpuStep();
  s.machine().run.Resume(30);
  s.DebuggerReleased();
  // Then only ticks and keys, which the replay redoes.
  s.ResetButton();  // the demo counts the boot in its cartridge
  r.Drive(1000);
  for (const char c : std::string("ab1")) r.Type(c);
  s.Paste(U"pasted\nand cut short");
  r.Drive(300);
  s.HostKeyDown(0x1B);  // Escape ends the paste
  s.Paste(U"more");
  r.Drive(50);
  s.CancelPaste();
  s.SetFastForward(true);
  r.Drive(200);
  s.SetFastForward(false);
  s.SetPaused(true);
  s.HostKeyDown(0x0D);  // Enter, held back by the pause
  r.Drive(100);
  s.HostKeyUp();
  s.SetPaused(false);
  r.Drive(100);
  s.SetMouseKey(18);
  r.Drive(50);
  s.SetMouseKey(0);
  r.Drive(700);
  const std::vector<uint8_t> final_state = s.SaveState();
  const std::vector<uint32_t> final_picture = Picture(s);
  const std::vector<uint8_t> journal = r.Close();
  const std::vector<uint8_t> cartridge = r.dir.Read("smp0.bin");

  TempDir scratch;
  System replayed;
  const ReplayOutcome outcome = Replay(replayed, journal, r.dir.path(), scratch.path());
  ASSERT_EQ(outcome.error, "");
  EXPECT_TRUE(outcome.notes.empty());
  EXPECT_EQ(replayed.SaveState(), final_state);
  EXPECT_EQ(Picture(replayed), final_picture);
  EXPECT_EQ(scratch.Read("smp0.bin"), cartridge);
  EXPECT_EQ(r.dir.Read("smp0.bin"), cartridge);
}

TEST(ReplayTest, ARecordingThatCannotBePlayedSaysWhy) {
  Recording r(65536);
  r.Type('q');
  const std::vector<uint8_t> journal = r.Close();
  struct Case {
    const char* name;
    std::vector<uint8_t> journal;
    std::function<void(const TempDir&)> change_folder;
    const char* error;  // "": played
    const char* note;   // "": none
  };
  const auto same = [](const TempDir&) {};
  std::vector<uint8_t> unknown = journal;
  unknown.end()[-2] = 99;  // the end record's kind
  const Case cases[] = {
      {"whole", journal, same, "", ""},
      {"no recording", {'O', 'R', 'L'}, same, "not a recording", ""},
      {"cut short", {journal.begin(), journal.end() - 1}, same, "", "cut short"},
      {"unknown record", unknown, same, "unknown record 99", ""},
      {"another ROM", journal,
       [](const TempDir& d) { d.Write("rom.bin", std::string(32512, 'x')); }, "another machine",
       ""},
      {"read-only cartridge changed", journal,
       [](const TempDir& d) { d.Write("smp1.bin", std::vector<uint8_t>(65536, 8)); },
       "smp1.bin: not the cartridge the recording began with", ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TempDir folder, scratch;
    testing::CopyDemo(ORLAN_DEMO_DIR, folder);
    std::filesystem::copy_file(r.dir / "smp1.bin", folder / "smp1.bin");
    c.change_folder(folder);
    System replayed;
    const ReplayOutcome outcome = Replay(replayed, c.journal, folder.path(), scratch.path());
    EXPECT_NE(outcome.error.find(c.error), std::string::npos) << outcome.error;
    EXPECT_EQ(outcome.error.empty(), std::string(c.error).empty()) << outcome.error;
    const std::string notes = outcome.notes.empty() ? "" : outcome.notes.front();
    EXPECT_NE(notes.find(c.note), std::string::npos) << notes;
    EXPECT_EQ(notes.empty(), std::string(c.note).empty()) << notes;
  }
}

}  // namespace
}  // namespace orlan
