#include "devices/cartridges.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <vector>

#include "tests/devices/device_bench.h"

#ifndef _WIN32
#include <sys/resource.h>

#include <csignal>
#endif

namespace orlan {
namespace {

using testing::PatternBytes;
using testing::ScratchDir;

// One transfer of a conversation: the command in force, the data byte, and what
// the cartridge answers and where its address is afterwards.
struct Transfer {
  uint8_t command;
  uint8_t data;
  uint8_t answer;
  uint32_t address_after;
};

struct Conversation {
  const char* what;
  std::size_t file_size;
  std::vector<Transfer> transfers;
};

TEST(CartTransfer, Conversations) {
  const Conversation conversations[] = {
      {"three address bytes keep the last two",
       1024,
       {{0xA0, 0x12, 0377, 0x12},
        {0xA0, 0x34, 0377, 0x1234},
        {0xA0, 0x56, 0377, 0x3456},
        {0xD0, 0, 0377, 0x3457}}},
      {"read down from 0 wraps within 16 bits",
       1024,
       {{0x10, 0, 3, 0xFFFF}, {0x10, 0, 0377, 0xFFFE}}},
      {"read up",
       1024,
       {{0xA0, 0x00, 0377, 0}, {0xA0, 0x02, 0377, 2}, {0xD0, 0, 17, 3}, {0xD0, 0, 24, 4}}},
      {"the command's low bits do not matter", 1024, {{0xD7, 0, 3, 1}, {0x1F, 0, 10, 0}}},
      {"write up stores the last byte, then nothing",
       1024,
       {{0xA0, 0x03, 0377, 3},
        {0xA0, 0xFF, 0377, 1023},
        {0xC0, 0x99, 0377, 1024},
        {0xC0, 0x98, 0377, 1025},
        {0xA0, 0x03, 0377, 0x103},
        {0xA0, 0xFF, 0377, 1023},
        {0x10, 0, 0x99, 1022}}},
      {"write down with 0x20 and 0xE0",
       1024,
       {{0xA0, 0x05, 0377, 5},
        {0x20, 0x41, 0377, 4},
        {0xE0, 0x42, 0377, 3},
        {0xD0, 0, 24, 4},
        {0xD0, 0, 0x42, 5},
        {0xD0, 0, 0x41, 6}}},
      {"no-op and unused commands",
       1024,
       {{0x00, 0x55, 0, 0},
        {0x30, 0, 0377, 0},
        {0x90, 0, 0377, 0},
        {0xB0, 0, 0377, 0},
        {0xF0, 0, 0377, 0}}},
      {"a 65536-byte cartridge has 24-bit addresses and is read-only",
       65536,
       {{0xA0, 0x01, 0377, 0x01},
        {0xA0, 0x02, 0377, 0x0102},
        {0xA0, 0x03, 0377, 0x010203},
        {0xA0, 0x04, 0377, 0x020304},
        {0xA0, 0x00, 0377, 0x030400},
        {0xA0, 0x10, 0377, 0x040010},
        {0xA0, 0x00, 0377, 0x001000},
        {0xC0, 0x77, 0377, 0x1001},
        {0x10, 0, static_cast<uint8_t>(0x1001 * 7 + 3), 0x1000},
        {0x10, 0, static_cast<uint8_t>(0x1000 * 7 + 3), 0x0FFF}}},
      {"24-bit read down from 0 wraps to 0xFFFFFF",
       65536,
       {{0x10, 0, 3, 0xFFFFFF}, {0x10, 0, 0377, 0xFFFFFE}}},
      {"an empty file is present with 16-bit addresses",
       0,
       {{0x00, 0, 0, 0},
        {0xD0, 0, 0377, 1},
        {0xC0, 0x12, 0377, 2},
        {0xA0, 0x12, 0377, 0x212},
        {0xA0, 0x34, 0377, 0x1234}}},
  };
  for (const Conversation& c : conversations) {
    SCOPED_TRACE(c.what);
    ScratchDir dir;
    const std::vector<uint8_t> original = PatternBytes(c.file_size);
    dir.WriteFile("smp0.bin", original);
    Cartridges carts;
    ASSERT_TRUE(carts.CartOpen(0, dir.path()).ok());
    ASSERT_TRUE(carts.present(0));
    EXPECT_EQ(carts.cartridge(0).size, c.file_size);
    EXPECT_EQ(carts.cartridge(0).address_mask, c.file_size < 65536 ? 0xFFFFu : 0xFFFFFFu);
    std::vector<uint8_t> expected_file = original;
    for (std::size_t i = 0; i < c.transfers.size(); ++i) {
      const Transfer& t = c.transfers[i];
      SCOPED_TRACE(i);
      const uint32_t address = carts.cartridge(0).address;
      const uint8_t high = t.command & 0xF0;
      const bool writes = high == 0x20 || high == 0xC0 || high == 0xE0;
      if (writes && address < c.file_size && c.file_size < 65536) expected_file[address] = t.data;
      EXPECT_EQ(carts.CartSetCommand(0, t.command), 0);
      EXPECT_EQ(carts.CartTransfer(0, t.data), t.answer);
      EXPECT_EQ(carts.cartridge(0).address, t.address_after);
    }
    EXPECT_EQ(dir.ReadFile("smp0.bin"), expected_file) << "the file holds every store at once";
    EXPECT_FALSE(carts.TakeError().has_value());
    EXPECT_TRUE(carts.CartClose(0).ok());
    EXPECT_FALSE(carts.present(0));
    EXPECT_EQ(carts.CartTransfer(0, 0), 0377) << "closed";
  }
}

TEST(CartTransfer, AbsentCartridgesAndBadNumbersAnswer377) {
  ScratchDir dir;
  dir.WriteFile("smp0.bin", PatternBytes(16));
  Cartridges carts;
  ASSERT_TRUE(carts.CartOpen(0, dir.path()).ok());
  ASSERT_TRUE(carts.CartOpen(1, dir.path()).ok()) << "a missing file is no error";
  EXPECT_FALSE(carts.present(1));
  for (int command : {0x00, 0x10, 0x20, 0xA0, 0xC0, 0xD0, 0xE0, 0xF0}) {
    SCOPED_TRACE(command);
    EXPECT_EQ(carts.CartSetCommand(1, static_cast<uint8_t>(command)), 0);
    EXPECT_EQ(carts.cartridge(1).command, command) << "set even when absent";
    EXPECT_EQ(carts.CartTransfer(1, 0x12), 0377);
    EXPECT_EQ(carts.cartridge(1).address, 0u);
  }
  EXPECT_EQ(carts.CartSetCommand(2, 0x10), 0);
  EXPECT_EQ(carts.CartTransfer(2, 0), 0377);
  EXPECT_EQ(carts.CartTransfer(-1, 0), 0377);
  EXPECT_EQ(carts.CartSetCommand(0, 0), 0);
  EXPECT_EQ(carts.CartTransfer(0, 0), 0) << "present: command 0 answers 0";
}

TEST(CartOpen, ExistingFileThatCannotBeOpenedIsAnError) {
  ScratchDir dir;
  std::filesystem::create_directory(dir.path() / "smp1.bin");
  Cartridges carts;
  const IoResult result = carts.CartOpen(1, dir.path());
  EXPECT_FALSE(result.ok());
  EXPECT_NE(result.error.find("smp1.bin"), std::string::npos) << result.error;
  EXPECT_FALSE(carts.present(1));
  EXPECT_EQ(carts.CartTransfer(1, 0), 0377);
}

TEST(CartOpen, ResetsAddressAndCommand) {
  ScratchDir dir;
  dir.WriteFile("smp0.bin", PatternBytes(100));
  Cartridges carts;
  ASSERT_TRUE(carts.CartOpen(0, dir.path()).ok());
  carts.CartSetCommand(0, 0xA0);
  carts.CartTransfer(0, 7);
  ASSERT_TRUE(carts.CartOpen(0, dir.path()).ok());
  EXPECT_EQ(carts.cartridge(0).address, 0u);
  EXPECT_EQ(carts.cartridge(0).command, 0);
}

TEST(CartTransfer, ReadFailureWhileRunningAnswers377AndIsReportedOnce) {
  ScratchDir dir;
  dir.WriteFile("smp0.bin", PatternBytes(1024));
  Cartridges carts;
  ASSERT_TRUE(carts.CartOpen(0, dir.path()).ok());
  // The medium loses its data behind the emulator's back.
  std::filesystem::resize_file(dir.path() / "smp0.bin", 10);
  carts.CartSetCommand(0, 0xA0);
  carts.CartTransfer(0, 0x01);
  carts.CartTransfer(0, 0x00);  // address 256, past the new end
  carts.CartSetCommand(0, 0xD0);
  EXPECT_EQ(carts.CartTransfer(0, 0), 0377);
  EXPECT_EQ(carts.CartTransfer(0, 0), 0377);
  EXPECT_EQ(carts.cartridge(0).address, 0x102u) << "the address moves as usual";
  const auto error = carts.TakeError();
  ASSERT_TRUE(error.has_value());
  EXPECT_NE(error->find("smp0.bin"), std::string::npos) << *error;
  EXPECT_FALSE(carts.TakeError().has_value()) << "told once";
  // Bytes still there read normally.
  carts.CartSetCommand(0, 0xA0);
  carts.CartTransfer(0, 0);
  carts.CartTransfer(0, 9);
  carts.CartSetCommand(0, 0x10);
  EXPECT_EQ(carts.CartTransfer(0, 0), static_cast<uint8_t>(9 * 7 + 3));
  EXPECT_FALSE(carts.TakeError().has_value());
}

#ifndef _WIN32
// A process file-size limit makes writes past it fail the way a full disk does.
class FileSizeLimit {
 public:
  explicit FileSizeLimit(rlim_t bytes) {
    previous_handler_ = std::signal(SIGXFSZ, SIG_IGN);
    getrlimit(RLIMIT_FSIZE, &previous_);
    rlimit limit = previous_;
    limit.rlim_cur = bytes;
    setrlimit(RLIMIT_FSIZE, &limit);
  }
  ~FileSizeLimit() {
    setrlimit(RLIMIT_FSIZE, &previous_);
    std::signal(SIGXFSZ, previous_handler_);
  }

 private:
  rlimit previous_{};
  void (*previous_handler_)(int);
};

TEST(CartTransfer, WriteFailureWhileRunningIsReportedNotLost) {
  ScratchDir dir;
  dir.WriteFile("smp0.bin", PatternBytes(1024));
  Cartridges carts;
  ASSERT_TRUE(carts.CartOpen(0, dir.path()).ok());
  carts.CartSetCommand(0, 0xA0);
  carts.CartTransfer(0, 0x03);
  carts.CartTransfer(0, 0xFE);  // address 1022
  {
    FileSizeLimit limit(512);
    carts.CartSetCommand(0, 0xC0);
    EXPECT_EQ(carts.CartTransfer(0, 0x55), 0377);
    EXPECT_EQ(carts.CartTransfer(0, 0x66), 0377);
  }
  EXPECT_EQ(carts.cartridge(0).address, 1024u);
  const auto error = carts.TakeError();
  ASSERT_TRUE(error.has_value()) << "a lost write must be reported";
  EXPECT_NE(error->find("smp0.bin"), std::string::npos) << *error;
  EXPECT_FALSE(carts.TakeError().has_value());
  // Once the medium accepts data again, writes go through.
  carts.CartSetCommand(0, 0xA0);
  carts.CartTransfer(0, 0x03);
  carts.CartTransfer(0, 0xFE);
  carts.CartSetCommand(0, 0xC0);
  carts.CartTransfer(0, 0x77);
  EXPECT_EQ(dir.ReadFile("smp0.bin")[1022], 0x77);
  EXPECT_FALSE(carts.TakeError().has_value());
}
#endif

}  // namespace
}  // namespace orlan
