// Keys timed in run ticks: random host and mouse input arrives whole and in order with
// a run tick for every press, and pasted text is typed two ticks down, two ticks up.
#include "frontend/key_pacer.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "devices/key_tables.h"
#include "frontend/system.h"

namespace orlan {
namespace {

struct Applied {
  KeyChange change;
  int tick;  // run ticks done before it reached the keyboard
  bool taken;
};

TEST(KeyPacerTest, RandomInputArrivesInOrderWithATickForEveryPress) {
  for (unsigned seed = 1; seed <= 300; ++seed) {
    SCOPED_TRACE(seed);
    std::mt19937 random(seed);
    int tick = 0;
    bool stopped = false;
    std::vector<Applied> applied;
    KeyPacer pacer([&](const KeyChange& c) {
      const bool taken = c.key_index >= kFirstMachineKey && !stopped;
      applied.push_back({c, tick, taken});
      return taken;
    });
    std::vector<KeyChange> submitted;
    for (int op = 0; op < 200; ++op) {
      const auto source = static_cast<KeySource>(random() % 2);
      switch (random() % 6) {
        case 0:
        case 1:
          submitted.push_back({source, static_cast<int>(random() % kKeyIndexCount)});
          pacer.Submit(submitted.back());
          break;
        case 2:
          submitted.push_back({source, 0});
          pacer.Submit(submitted.back());
          break;
        case 3:
          if (random() % 8 == 0) stopped = !stopped;  // the debugger opens or closes
          break;
        default:
          ++tick;
          pacer.RunTickDone();
      }
    }
    stopped = false;
    for (int i = 0; i < 400; ++i) {
      ++tick;
      pacer.RunTickDone();
    }

    for (const KeySource source : {KeySource::kHost, KeySource::kMouse}) {
      std::vector<KeyChange> in, out;
      std::copy_if(submitted.begin(), submitted.end(), std::back_inserter(in),
                   [source](const KeyChange& c) { return c.source == source; });
      const Applied* last_taken = nullptr;
      for (const Applied& a : applied) {
        if (a.change.source != source) continue;
        out.push_back(a.change);
        // A press the machine took saw a run tick before anything replaced it.
        if (last_taken != nullptr) {
          EXPECT_GT(a.tick, last_taken->tick);
        }
        last_taken = a.taken ? &a : nullptr;
      }
      EXPECT_EQ(in, out);
    }
  }
}

// The host key after each run tick.
std::vector<int> HostKeyAfterTicks(System& system, int ticks) {
  std::vector<int> keys;
  for (int i = 0; i < ticks; ++i) {
    system.Tick(TickKind::kRun);
    keys.push_back(system.board().keyboard.host_key());
  }
  return keys;
}

TEST(SystemPasteTest, TypesEachKeyTwoTicksDownAndTwoUp) {
  const int a = KeyIndexForCharacter('A');
  const int z = KeyIndexForCharacter('Z');
  const int one = KeyIndexForCharacter('1');
  struct Case {
    std::u32string text;
    std::vector<int> keys;
    std::size_t skipped;
  };
  const Case cases[] = {
      {U"az 1", {a, z, kSpaceKey, one}, 0},
      {U"A\r\nZ\n\r1\r", {a, kEnterKey, z, kEnterKey, kEnterKey, one, kEnterKey}, 0},
      {U"a\t~\u00e9z", {a, z}, 3},
      {U"~~", {}, 2},
  };
  for (const Case& c : cases) {
    System system;
    system.machine().run.set_steps_per_tick(0);
    EXPECT_EQ(system.Paste(c.text), (PasteResult{c.keys.size(), c.skipped}));
    std::vector<int> expected;
    for (const int key : c.keys) expected.insert(expected.end(), {key, key, 0, 0});
    EXPECT_EQ(HostKeyAfterTicks(system, static_cast<int>(expected.size())), expected);
    EXPECT_EQ(system.pasting(), !c.keys.empty());  // to the end of the last gap
    HostKeyAfterTicks(system, 1);
    EXPECT_FALSE(system.pasting());
    EXPECT_EQ(system.TakePasteNotice().has_value(), c.skipped > 0);
    EXPECT_EQ(system.TakePasteNotice(), std::nullopt);  // once
  }
}

TEST(SystemPasteTest, StoppedRunsWaitAndEscapeCancels) {
  const int a = KeyIndexForCharacter('A');
  const int b = KeyIndexForCharacter('B');
  System system;
  system.machine().run.set_steps_per_tick(0);
  system.Paste(U"ab~c");
  EXPECT_EQ(HostKeyAfterTicks(system, 2), (std::vector<int>{a, a}));
  system.machine().run.Stop();  // ticks of a stopped run do not count
  EXPECT_EQ(HostKeyAfterTicks(system, 3), (std::vector<int>{a, a, a}));
  system.machine().run.Resume(2);
  EXPECT_EQ(HostKeyAfterTicks(system, 5), (std::vector<int>{a, a, 0, 0, b}));
  EXPECT_TRUE(system.machine().cpu.irq_channel);
  EXPECT_TRUE(system.HostCharacter(U'q'));  // host keys are ignored while text is typed
  EXPECT_EQ(system.board().keyboard.host_key(), b);
  EXPECT_FALSE(system.HostKeyDown(kVirtualKeyEscape));
  EXPECT_FALSE(system.pasting());
  // The key pressed last still gets its tick; nothing more is typed, nothing noticed.
  EXPECT_EQ(system.board().keyboard.host_key(), b);
  EXPECT_EQ(HostKeyAfterTicks(system, 9), std::vector<int>(9, 0));
  EXPECT_EQ(system.TakePasteNotice(), std::nullopt);
  EXPECT_TRUE(system.HostCharacter(U'q'));
  EXPECT_EQ(system.board().keyboard.host_key(), KeyIndexForCharacter('Q'));
}

}  // namespace
}  // namespace orlan
