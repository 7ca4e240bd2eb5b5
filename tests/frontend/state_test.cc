// Saved states: a loaded state runs on exactly as the saved machine did, and every bad
// state file is refused with a message of its own and changes nothing.
#include <gtest/gtest.h>

#include <functional>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "core/crc32.h"
#include "frontend/state_file.h"
#include "frontend/system.h"
#include "tests/support/demo_machine.h"

namespace orlan {
namespace {

using testing::TempDir;

constexpr LocalTime kNow{2026, 3, 4, 3, 5, 6, 7};

// The demo machine booted from a copy of its folder.
struct Demo {
  TempDir dir;
  System system;
  explicit Demo(std::size_t cartridge_size = 1024) {
    testing::CopyDemo(ORLAN_DEMO_DIR, dir, cartridge_size);
    PowerOnOptions options;
    options.folder = dir.path();
    options.now = kNow;
    CapturingMessageSink sink;
    EXPECT_EQ(system.PowerOn(options, sink), PowerOnResult::kStarted);
    system.Start();
    system.RunFor(1000);
  }
};

// Something that happens to a running machine: time passing, single steps (so that
// states are taken between any two steps, not only between ticks), keys.
struct Event {
  enum Kind { kRun, kSteps, kKey, kKeyUp } kind;
  int value;
};

std::vector<Event> RandomEvents(std::mt19937& random, int count) {
  std::vector<Event> events;
  for (int i = 0; i < count; ++i) {
    switch (random() % 4) {
      case 0:
        events.push_back({Event::kRun, static_cast<int>(random() % 200)});
        break;
      case 1:
        events.push_back({Event::kSteps, static_cast<int>(random() % 500)});
        break;
      case 2:
        events.push_back({Event::kKey, static_cast<int>(3 + random() % 61)});
        break;
      default:
        events.push_back({Event::kKeyUp, 0});
    }
  }
  return events;
}

void Play(System& system, const std::vector<Event>& events) {
  for (const Event& e : events) {
    switch (e.kind) {
      case Event::kRun:
        system.RunFor(static_cast<uint64_t>(e.value));
        break;
      case Event::kSteps:
        for (int i = 0; i < e.value; ++i) system.machine().CpuStep();
        break;
      case Event::kKey:
        system.PressKey(e.value);
        break;
      case Event::kKeyUp:
        system.HostKeyUp();
        break;
    }
  }
}

// Everything a state holds, read through the parts' own accessors rather than through
// a state, so that a field the state leaves out shows.
std::string Observe(const System& system) {
  std::ostringstream o;
  const Machine& m = system.machine();
  const CpuState& c = m.cpu;
  const Board& b = system.board();
  for (int r = 0; r < 8; ++r) o << c.R(r) << ' ';
  o << c.psw << ' ' << c.ir << ' ' << c.cpc << ' ' << c.cps << ' ' << c.ea << ' ' << c.mask
    << c.trace_suppress << c.wait << c.irq_clock << c.irq_channel << (c.pending_write == &b.lcd)
    << (c.pending_write == &b.channel) << (c.pending_write == &b.rtc)
    << (c.pending_write == nullptr) << '\n';
  o << m.run.trace_count() << ' ' << m.run.breakpoint_address() << ' ' << m.run.run_stopped() << ' '
    << m.run.resume_delay() << ' ' << m.run.rom_modified() << ' ' << m.ram_size() << ' '
    << Crc32(m.ram()) << ' ' << Crc32(m.rom()) << '\n';
  o << b.lcd.reg(0) << ' ' << b.lcd.reg(1) << ' ' << b.lcd.pending_index() << ' ' << b.lcd.latch()
    << ' ' << Crc32(b.lcd.shadow()) << ' ' << Crc32(b.rtc.registers()) << ' '
    << b.rtc.pending_index() << ' ' << b.rtc.latch() << '\n';
  for (int r = 0; r < 4; ++r) o << b.channel.reg(r) << ' ';
  o << b.channel.pending_index() << ' ' << b.channel.latch() << ' ' << b.channel.received() << ' '
    << b.channel.active() << ' ' << b.keyboard.host_key() << ' ' << b.keyboard.mouse_key();
  for (int n = 0; n < kCartridgeCount; ++n) {
    o << ' ' << b.cartridges.cartridge(n).address << ' ' << +b.cartridges.cartridge(n).command;
  }
  const TimerTicks& t = system.ticks();
  o << '\n'
    << system.now_ms() << ' ' << t.run << ' ' << t.rtc << ' ' << t.refresh << ' ' << t.second;
  return o.str();
}

std::vector<uint32_t> Picture(const System& system) {
  const uint32_t* pixels = system.board().lcd.pixels();
  return std::vector<uint32_t>(pixels, pixels + kLcdPictureWidth * kLcdPictureHeight);
}

TEST(SavedStateTest, ALoadedStateRunsOnAsTheSavedMachineDid) {
  Demo demo;
  System& s = demo.system;
  std::mt19937 random(20260304);
  for (int point = 0; point < 64; ++point) {
    SCOPED_TRACE(point);
    Play(s, RandomEvents(random, 3));
    const std::vector<uint8_t> saved = s.SaveState();
    const std::string observed = Observe(s);
    const std::vector<Event> then = RandomEvents(random, 6);
    Play(s, then);
    const std::vector<uint8_t> first = s.SaveState();
    EXPECT_NE(first, saved);
    const std::vector<uint32_t> first_picture = Picture(s);

    const StateLoadResult loaded = s.LoadState(saved);
    ASSERT_TRUE(loaded.ok()) << loaded.error;
    EXPECT_TRUE(loaded.warnings.empty());
    EXPECT_EQ(s.SaveState(), saved);
    EXPECT_EQ(Observe(s), observed);
    Play(s, then);
    EXPECT_EQ(s.SaveState(), first);
    EXPECT_EQ(Picture(s), first_picture);
  }
}

void PutU32(std::vector<uint8_t>& file, std::size_t at, uint32_t value) {
  for (int i = 0; i < 4; ++i) file[at + i] = static_cast<uint8_t>(value >> (8 * i));
}

// The state file of `payload`, spoilt by `spoil` and wrapped again with a good checksum.
std::vector<uint8_t> Rewrapped(const std::vector<uint8_t>& file, uint32_t fingerprint_change,
                               const std::function<void(std::vector<uint8_t>&)>& spoil) {
  std::vector<uint8_t> payload(file.begin() + kStateHeaderSize, file.end());
  spoil(payload);
  const uint32_t fingerprint =
      static_cast<uint32_t>(file[12] | file[13] << 8 | file[14] << 16 | file[15] << 24);
  return WrapState(fingerprint + fingerprint_change, payload);
}

TEST(SavedStateTest, EveryBadFileIsRefusedWithItsOwnMessageAndChangesNothing) {
  Demo demo;
  System& s = demo.system;
  const std::vector<uint8_t> good = s.SaveState();
  s.RunFor(500);
  const std::vector<uint8_t> before = s.SaveState();
  const auto refusal = [&s](const std::vector<uint8_t>& file) {
    const StateLoadResult result = s.LoadState(file);
    return result.ok() ? std::string("loaded") : result.error;
  };
  const auto keep = [](std::vector<uint8_t>&) {};
  struct Case {
    const char* name;
    std::vector<uint8_t> file;
    const char* message;
  };
  std::vector<Case> cases = {
      {"empty", {}, "empty"},
      {"magic", good, "not a saved state"},
      {"version", good, "format version 2;"},
      {"length too long", good, "truncated"},
      {"length too short", good, "bytes after its end"},
      {"checksum", good, "checksum"},
      {"fingerprint", Rewrapped(good, 1, keep), "another machine"},
      {"bad flag", Rewrapped(good, 0, [](auto& p) { p[32] = 2; }), "bad flag in its CPU part"},
      {"part missing", Rewrapped(good, 0, [](auto& p) { p.resize(4); }), "CPU part ends early"},
      {"part misplaced", Rewrapped(good, 0, [](auto& p) { p[0] = 'X'; }), "no CPU part"},
      {"bytes after", Rewrapped(good, 0, [](auto& p) { p.push_back(0); }), "after its last part"},
  };
  cases[1].file[0] ^= 1;
  PutU32(cases[2].file, 8, 2);
  PutU32(cases[3].file, 16, static_cast<uint32_t>(good.size() - kStateHeaderSize + 1));
  PutU32(cases[4].file, 16, static_cast<uint32_t>(good.size() - kStateHeaderSize - 1));
  cases[5].file[20] ^= 0x40;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const std::string message = refusal(c.file);
    EXPECT_NE(message.find(c.message), std::string::npos) << message;
    // Its own message: no other case's words.
    for (const Case& other : cases) {
      if (&other != &c) {
        EXPECT_EQ(message.find(other.message), std::string::npos) << message;
      }
    }
  }
  for (std::size_t length = 1; length < good.size(); ++length) {
    const std::vector<uint8_t> cut(good.begin(), good.begin() + length);
    ASSERT_EQ(refusal(cut).rfind("truncated", 0), 0u) << length;
  }
  // Any byte flipped anywhere: the header's bytes and a spread of the payload's.
  for (std::size_t at = 0; at < good.size(); at += at < kStateHeaderSize ? 1 : 251) {
    std::vector<uint8_t> flipped = good;
    flipped[at] ^= 0x10;
    ASSERT_NE(refusal(flipped), "loaded") << at;
  }
  EXPECT_EQ(s.SaveState(), before);
  EXPECT_EQ(refusal(good), "loaded");
}

TEST(SavedStateTest, ALoadWarnsOfCartridgeFilesThatChangedAndLoadsAnyway) {
  const std::vector<uint8_t> state = Demo(1024).system.SaveState();
  struct Case {
    std::size_t size_now;
    std::vector<std::string> warnings;
  };
  const Case cases[] = {
      {1024, {}},
      {2048, {"smp0.bin: 1024 bytes when the state was saved, 2048 bytes now"}},
      {0, {"smp0.bin: 1024 bytes when the state was saved, absent now"}},
  };
  for (const Case& c : cases) {
    Demo demo(c.size_now);
    const StateLoadResult result = demo.system.LoadState(state);
    EXPECT_TRUE(result.ok()) << result.error;
    EXPECT_EQ(result.warnings, c.warnings);
    EXPECT_EQ(demo.system.SaveState().size(), state.size());
  }
}

}  // namespace
}  // namespace orlan
