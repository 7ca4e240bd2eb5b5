#include "devices/cartridges.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <vector>

#include "tests/devices/device_bench.h"

namespace orlan {
namespace {

using testing::PatternBytes;
using testing::TempDir;

// A conversation with cartridge 0: each transfer sets the command, sends the data
// byte, and checks the answer and the address afterwards; `stored` lists the file
// bytes that must have changed, as (offset, value).
struct Transfer {
  uint8_t command, data, answer;
  uint32_t address_after;
};
struct Conversation {
  std::size_t file_size;
  std::vector<Transfer> transfers;
  std::vector<std::pair<uint32_t, uint8_t>> stored;
};

TEST(CartTransfer, Conversations) {
  // clang-format off
  const Conversation conversations[] = {
      // Three address bytes keep the last two; 0x3456 is past the end.
      {1024, {{0xA0, 0x12, 0377, 0x12}, {0xA0, 0x34, 0377, 0x1234}, {0xA0, 0x56, 0377, 0x3456},
              {0xD0, 0, 0377, 0x3457}}, {}},
      // Read down from 0 wraps within 16 bits; read up; the low command bits do not matter.
      {1024, {{0x10, 0, 3, 0xFFFF}, {0x10, 0, 0377, 0xFFFE}}, {}},
      {1024, {{0xA0, 0, 0377, 0}, {0xA0, 2, 0377, 2}, {0xD7, 0, 17, 3}, {0xDF, 0, 24, 4}}, {}},
      // Write up stores the last byte, then nothing; write down with 0x20 and 0xE0.
      {1024, {{0xA0, 0x03, 0377, 3}, {0xA0, 0xFF, 0377, 1023}, {0xC0, 0x99, 0377, 1024},
              {0xC0, 0x98, 0377, 1025}, {0xA0, 0x03, 0377, 0x103}, {0xA0, 0xFF, 0377, 1023},
              {0x10, 0, 0x99, 1022}}, {{1023, 0x99}}},
      {1024, {{0xA0, 5, 0377, 5}, {0x2F, 0x41, 0377, 4}, {0xE0, 0x42, 0377, 3}, {0xD0, 0, 24, 4},
              {0xD0, 0, 0x42, 5}, {0xD0, 0, 0x41, 6}}, {{4, 0x42}, {5, 0x41}}},
      // No-op and unused commands.
      {1024, {{0x00, 0x55, 0, 0}, {0x30, 0, 0377, 0}, {0x90, 0, 0377, 0}, {0xB0, 0, 0377, 0},
              {0xF0, 0, 0377, 0}}, {}},
      // 65536 bytes: 24-bit addresses, read-only.
      {65536, {{0xA0, 1, 0377, 1}, {0xA0, 2, 0377, 0x0102}, {0xA0, 3, 0377, 0x010203},
               {0xA0, 4, 0377, 0x020304}, {0xA0, 0x10, 0377, 0x030410}, {0xA0, 0, 0377, 0x041000},
               {0xA0, 0, 0377, 0x100000}, {0xA0, 0x10, 0377, 0x000010},
               {0xC0, 0x77, 0377, 0x11}, {0x10, 0, 0x11 * 7 + 3, 0x10},
               {0x10, 0, 0x10 * 7 + 3, 0x0F}}, {}},
      {65536, {{0x10, 0, 3, 0xFFFFFF}, {0x10, 0, 0377, 0xFFFFFE}}, {}},
      // An empty file is present, with 16-bit addresses.
      {0, {{0x00, 0, 0, 0}, {0xD0, 0, 0377, 1}, {0xC0, 0x12, 0377, 2}, {0xA0, 0x12, 0377, 0x212},
           {0xA0, 0x34, 0377, 0x1234}}, {}},
  };
  // clang-format on
  for (const Conversation& c : conversations) {
    SCOPED_TRACE(&c - conversations);
    TempDir dir;
    dir.Write("smp0.bin", PatternBytes(c.file_size));
    Cartridges carts;
    ASSERT_TRUE(carts.CartOpen(0, dir.path()).ok());
    ASSERT_TRUE(carts.present(0));
    EXPECT_EQ(carts.cartridge(0).address_mask, c.file_size < 65536 ? 0xFFFFu : 0xFFFFFFu);
    for (const Transfer& t : c.transfers) {
      SCOPED_TRACE(&t - c.transfers.data());
      EXPECT_EQ(carts.CartSetCommand(0, t.command), 0);
      EXPECT_EQ(carts.CartTransfer(0, t.data), t.answer);
      EXPECT_EQ(carts.cartridge(0).address, t.address_after);
    }
    std::vector<uint8_t> expected = PatternBytes(c.file_size);
    for (auto [offset, value] : c.stored) expected[offset] = value;
    EXPECT_EQ(dir.Read("smp0.bin"), expected) << "stores are in the file before any close";
    EXPECT_FALSE(carts.TakeError().has_value());
    EXPECT_TRUE(carts.CartClose(0).ok());
    EXPECT_EQ(carts.CartTransfer(0, 0), 0377) << "closed";
  }
}

TEST(CartTransfer, AbsentCartridgesAnswer377) {
  TempDir dir;
  Cartridges carts;
  ASSERT_TRUE(carts.CartOpen(1, dir.path()).ok()) << "a missing file is no error";
  for (int command : {0x00, 0x10, 0x20, 0xA0, 0xC0, 0xD0, 0xE0}) {
    EXPECT_EQ(carts.CartSetCommand(1, static_cast<uint8_t>(command)), 0);
    EXPECT_EQ(carts.cartridge(1).command, command);
    EXPECT_EQ(carts.CartTransfer(1, 0x12), 0377);
  }
  EXPECT_EQ(carts.CartSetCommand(2, 0x10), 0);
  EXPECT_EQ(carts.CartTransfer(2, 0), 0377);
}

TEST(CartOpen, ExistingFileThatCannotBeOpenedIsAnError) {
  TempDir dir;
  std::filesystem::create_directory(dir.path() / "smp1.bin");
  Cartridges carts;
  const IoResult result = carts.CartOpen(1, dir.path());
  EXPECT_NE(result.error.find("smp1.bin"), std::string::npos) << result.error;
  EXPECT_FALSE(carts.present(1));
}

// Loads a 16-bit address into cartridge 0 and sets `command`.
void Seek(Cartridges& carts, uint16_t address, uint8_t command) {
  carts.CartSetCommand(0, 0xA0);
  carts.CartTransfer(0, static_cast<uint8_t>(address >> 8));
  carts.CartTransfer(0, static_cast<uint8_t>(address));
  carts.CartSetCommand(0, command);
}

TEST(CartTransfer, ReadFailureWhileRunningAnswers377AndIsReportedOnce) {
  TempDir dir;
  dir.Write("smp0.bin", PatternBytes(1024));
  Cartridges carts;
  ASSERT_TRUE(carts.CartOpen(0, dir.path()).ok());
  // The medium loses its data behind the emulator's back.
  std::filesystem::resize_file(dir.path() / "smp0.bin", 10);
  Seek(carts, 256, 0xD0);  // past the new end
  EXPECT_EQ(carts.CartTransfer(0, 0), 0377);
  EXPECT_EQ(carts.CartTransfer(0, 0), 0377);
  EXPECT_EQ(carts.cartridge(0).address, 0x102u) << "the address moves as usual";
  const auto error = carts.TakeError();
  ASSERT_TRUE(error.has_value());
  EXPECT_NE(error->find("smp0.bin"), std::string::npos) << *error;
  EXPECT_FALSE(carts.TakeError().has_value()) << "told once";
  Seek(carts, 9, 0x10);  // bytes still there read normally
  EXPECT_EQ(carts.CartTransfer(0, 0), static_cast<uint8_t>(9 * 7 + 3));
  EXPECT_FALSE(carts.TakeError().has_value());
}

#ifndef _WIN32
using testing::FileSizeLimit;

TEST(CartTransfer, WriteFailureWhileRunningIsReportedNotLost) {
  TempDir dir;
  dir.Write("smp0.bin", PatternBytes(1024));
  Cartridges carts;
  ASSERT_TRUE(carts.CartOpen(0, dir.path()).ok());
  Seek(carts, 1022, 0xC0);
  {
    FileSizeLimit limit(512);
    EXPECT_EQ(carts.CartTransfer(0, 0x55), 0377);
    EXPECT_EQ(carts.CartTransfer(0, 0x66), 0377);
  }
  EXPECT_EQ(carts.cartridge(0).address, 1024u);
  const auto error = carts.TakeError();
  ASSERT_TRUE(error.has_value()) << "a lost write must be reported";
  EXPECT_NE(error->find("smp0.bin"), std::string::npos) << *error;
  EXPECT_FALSE(carts.TakeError().has_value());
  Seek(carts, 1022, 0xC0);  // once the medium takes data again, writes go through
  carts.CartTransfer(0, 0x77);
  EXPECT_EQ(dir.Read("smp0.bin")[1022], 0x77);
  EXPECT_FALSE(carts.TakeError().has_value());
}

// A full disk fails every write: one message for the fault, not one per byte (the
// window showed a box per run tick), and a new one once writes worked in between.
TEST(CartTransfer, AFaultIsToldOnceUntilTheCartridgeWorksAgain) {
  TempDir dir;
  dir.Write("smp0.bin", PatternBytes(1024));
  Cartridges carts;
  ASSERT_TRUE(carts.CartOpen(0, dir.path()).ok());
  FileSizeLimit limit(512);
  struct Write {
    uint16_t address;
    bool told;
  };
  const Write writes[] = {{600, true}, {601, false}, {700, false}, {10, false}, {602, true}};
  for (const Write& w : writes) {
    SCOPED_TRACE(w.address);
    Seek(carts, w.address, 0xC0);
    carts.CartTransfer(0, 0x55);
    EXPECT_EQ(carts.TakeError().has_value(), w.told);
  }
}
#endif

}  // namespace
}  // namespace orlan
