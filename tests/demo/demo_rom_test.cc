// Boots the demo ROM on a machine with its devices, drives it with emulated timer
// ticks and keys, and reads what the display shows.
//
// Whole screens are compared with the pictures in expected/ (64 lines of '#' dark and
// '.' light dots). After a deliberate change of the ROM, rewrite them with
//   ORLAN_REBASELINE=1 ctest -R DemoRom
// and review the diff of tests/demo/expected before committing.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "devices/local_time.h"
#include "frontend/system.h"
#include "tests/support/demo_machine.h"
#include "tests/support/temp_dir.h"

namespace orlan {
namespace {

namespace fs = std::filesystem;

constexpr int kColumns = 20;
constexpr int kVirtualKeyBackspace = 0x08;
constexpr int kVirtualKeyEnter = 0x0D;
constexpr int kVirtualKeySpace = 0x20;
// Time from reset until the boot screen is complete (keys typed before are lost:
// the ROM takes key interrupts only once the screen is drawn).
constexpr int kBootMs = 900;

std::vector<uint8_t> ReadBytes(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), {});
}

using testing::ReadSymbols;
using testing::TempDir;

// One machine running the demo ROM with emulated time, as the window's timers tick it.
class DemoMachine {
 public:
  // The demo's ROM with the cartridges of `directory`, which gets the clock file.
  DemoMachine(const fs::path& directory, const LocalTime& now) {
    EXPECT_EQ(ReadBytes(fs::path(ORLAN_DEMO_DIR) / "rom.bin").size(), 32512u);
    PowerOnOptions options;
    options.folder = directory;
    options.use = FolderUse::kDevices;
    options.rom = fs::path(ORLAN_DEMO_DIR) / "rom.bin";
    options.now = now;
    CapturingMessageSink sink;
    EXPECT_EQ(system_.PowerOn(options, sink), PowerOnResult::kStarted);
    EXPECT_EQ(sink.messages, std::vector<std::string>{});
    system_.Start();
  }
  ~DemoMachine() {
    CapturingMessageSink sink;
    EXPECT_TRUE(system_.Close({}, sink));
  }

  void RunMs(int ms) { system_.RunFor(static_cast<uint64_t>(ms)); }

  // A key held for 50 ms, then released for 50 ms; '\b' is Backspace, '\n' Enter.
  void Type(const std::string& text) {
    for (char c : text) {
      if (c == ' ') {
        system_.HostKeyDown(kVirtualKeySpace);
      } else if (c == '\b') {
        system_.HostKeyDown(kVirtualKeyBackspace);
      } else if (c == '\n') {
        system_.HostKeyDown(kVirtualKeyEnter);
      } else {
        EXPECT_TRUE(system_.HostCharacter(static_cast<char32_t>(c))) << c;
      }
      RunMs(50);
      system_.HostKeyUp();
      RunMs(c == '\n' ? 400 : 50);  // Enter redraws four rows
    }
  }

  // The display as drawn into the picture: 64 lines of 120 dots.
  std::string Picture() const {
    std::string out;
    for (int y = 0; y < kLcdHeight; ++y) {
      for (int x = 0; x < kLcdWidth; ++x) {
        out += system_.board().lcd.Pixel(x * kLcdScale, y * kLcdScale) == kLcdDark ? '#' : '.';
      }
      out += '\n';
    }
    return out;
  }

  // The text of one row, read back with the ROM's own font; '~' for a cell that is no
  // character of it.
  std::string Row(int row) const {
    static const std::map<std::string, uint16_t> symbols =
        ReadSymbols(fs::path(ORLAN_DEMO_DIR) / "rom.sym");
    const uint16_t font = symbols.at("font");
    std::string out;
    for (int col = 0; col < kColumns; ++col) {
      char found = '~';
      for (int ch = 040; ch < 0140 && found == '~'; ++ch) {
        bool same = true;
        for (int y = 0; y < 8 && same; ++y) {
          const uint8_t bits =
              system_.machine().PeekByte(static_cast<uint16_t>(font + (ch - 040) * 8 + y));
          for (int x = 0; x < 6 && same; ++x) {
            const bool dark = system_.board().lcd.Pixel((col * 6 + x) * kLcdScale,
                                                        (row * 8 + y) * kLcdScale) == kLcdDark;
            same = dark == ((bits & (0200 >> x)) != 0);
          }
        }
        if (same) found = static_cast<char>(ch);
      }
      out += found;
    }
    while (!out.empty() && out.back() == ' ') out.pop_back();
    return out;
  }

  Machine& machine() { return system_.machine(); }

 private:
  System system_;
};

// Tuesday, 8 December 2026, 04:25:58.
constexpr LocalTime kTuesdayMorning{2026, 12, 8, 2, 4, 25, 58};

void WriteCartridge(const fs::path& path, std::vector<uint8_t> bytes) {
  std::ofstream out(path, std::ios::binary);
  out.write(reinterpret_cast<const char*>(bytes.data()),
            static_cast<std::streamsize>(bytes.size()));
}

void ExpectPicture(const std::string& name, const std::string& picture) {
  const fs::path path = fs::path(ORLAN_DEMO_EXPECTED_DIR) / (name + ".txt");
  const char* rebaseline = std::getenv("ORLAN_REBASELINE");
  if (rebaseline != nullptr && std::string(rebaseline) == "1") {
    fs::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary) << picture;
    return;
  }
  std::ifstream in(path, std::ios::binary);
  ASSERT_TRUE(in) << "missing " << path << " (ORLAN_REBASELINE=1 writes it)";
  std::stringstream expected;
  expected << in.rdbuf();
  EXPECT_EQ(picture, expected.str()) << "display differs from " << path;
}

TEST(DemoRomTest, BootScreensWithAndWithoutCartridges) {
  struct Case {
    const char* picture;
    bool cart0;
    bool cart1;
    const char* row2;
    const char* row3;
  };
  const Case cases[] = {
      {"boot_no_cartridges", false, false, "CART0 NO CART", "CART1 NO CART"},
      {"boot_both_cartridges", true, true, "CART0 BOOT 00001", "CART1 PRESENT"},
      {nullptr, false, true, "CART0 NO CART", "CART1 PRESENT"},
      {nullptr, true, false, "CART0 BOOT 00001", "CART1 NO CART"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.row2) + " / " + c.row3);
    TempDir dir;
    if (c.cart0) WriteCartridge(dir.path() / "smp0.bin", std::vector<uint8_t>(1024, 0));
    if (c.cart1) WriteCartridge(dir.path() / "smp1.bin", std::vector<uint8_t>(1024, 0));
    DemoMachine m(dir.path(), kTuesdayMorning);
    m.RunMs(kBootMs);
    EXPECT_EQ(m.Row(0), "     ORLAN  DEMO");
    EXPECT_EQ(m.Row(1), "TU 08.12.26 04:25:58");
    EXPECT_EQ(m.Row(2), c.row2);
    EXPECT_EQ(m.Row(3), c.row3);
    EXPECT_EQ(m.Row(6), "TYPE, THEN ENTER");
    EXPECT_EQ(m.Row(7), "> _");
    if (c.picture != nullptr) ExpectPicture(c.picture, m.Picture());
  }
}

TEST(DemoRomTest, BootCounterCountsEveryBootInCartridgeZero) {
  TempDir dir;
  const fs::path cart = dir.path() / "smp0.bin";
  std::vector<uint8_t> bytes(1024, 0);
  bytes[0] = 0376;  // the counter crosses into its high byte
  bytes[2] = 0125;  // bytes after the counter stay as they are
  WriteCartridge(cart, bytes);
  const char* const shown[] = {"CART0 BOOT 00255", "CART0 BOOT 00256", "CART0 BOOT 00257"};
  for (int boot = 0; boot < 3; ++boot) {
    DemoMachine m(dir.path(), kTuesdayMorning);
    m.RunMs(kBootMs);
    EXPECT_EQ(m.Row(2), shown[boot]);
  }
  const std::vector<uint8_t> after = ReadBytes(cart);
  ASSERT_EQ(after.size(), 1024u);
  EXPECT_EQ(after[0], 0001);
  EXPECT_EQ(after[1], 0001);
  EXPECT_EQ(after[2], 0125);
}

TEST(DemoRomTest, ClockShowsEverySecondAcrossMidnightAndTheYear) {
  TempDir dir;
  DemoMachine m(dir.path(), LocalTime{2099, 12, 31, 4, 23, 59, 58});
  m.RunMs(kBootMs);
  EXPECT_EQ(m.Row(1), "TH 31.12.99 23:59:58");
  m.RunMs(1000);
  EXPECT_EQ(m.Row(1), "TH 31.12.99 23:59:59");
  m.RunMs(1000);
  EXPECT_EQ(m.Row(1), "FR 01.01.00 00:00:00");
}

TEST(DemoRomTest, TypedLineIsEditedAndEnteredIntoTheHistory) {
  TempDir dir;
  DemoMachine m(dir.path(), kTuesdayMorning);
  m.RunMs(kBootMs);
  m.Type("HELLO, WORLD");
  EXPECT_EQ(m.Row(7), "> HELLO, WORLD_");
  m.Type("\b\b\b\b\b\b");
  EXPECT_EQ(m.Row(7), "> HELLO,_");
  m.Type(" 1/2-3\n");
  EXPECT_EQ(m.Row(5), "TYPE, THEN ENTER");
  EXPECT_EQ(m.Row(6), "HELLO, 1/2-3");
  EXPECT_EQ(m.Row(7), "> _");
  m.Type("qz@\n");
  EXPECT_EQ(m.Row(4), "TYPE, THEN ENTER");
  EXPECT_EQ(m.Row(5), "HELLO, 1/2-3");
  EXPECT_EQ(m.Row(6), "QZ@");
  ExpectPicture("typed_lines", m.Picture());
}

TEST(DemoRomTest, InputLineStopsAtItsLastColumnAndBackspaceStopsAtItsStart) {
  TempDir dir;
  DemoMachine m(dir.path(), kTuesdayMorning);
  m.RunMs(kBootMs);
  m.Type("\b\bA");
  EXPECT_EQ(m.Row(7), "> A_");
  m.Type("BCDEFGHIJKLMNOPQRSTUV");
  EXPECT_EQ(m.Row(7), "> ABCDEFGHIJKLMNOPQ_");
  m.Type("\b");
  EXPECT_EQ(m.Row(7), "> ABCDEFGHIJKLMNOP_");
}

TEST(DemoRomTest, FaultShowsTheVectorAndTheReturnAddress) {
  struct Case {
    uint16_t word;
    const char* row7;
  };
  const Case cases[] = {
      {0000007, "TRAP 010 PC 006002"},  // reserved word
      {0000103, "TRAP 004 PC 006002"},  // jmp r3
      {0104400, "TRAP 034 PC 006002"},  // trap 0
      {0104000, "TRAP 030 PC 006002"},  // emt 0
      {0000003, "TRAP 014 PC 006002"},  // bpt
      {0000004, "TRAP 020 PC 006002"},  // iot
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.row7);
    TempDir dir;
    DemoMachine m(dir.path(), kTuesdayMorning);
    m.RunMs(kBootMs);
    m.machine().PokeWord(06000, c.word);
    m.machine().cpu.set_pc(06000);
    m.machine().cpu.wait = false;
    m.RunMs(kBootMs);
    EXPECT_EQ(m.Row(7), c.row7);
  }
}

}  // namespace
}  // namespace orlan
