#include <gtest/gtest.h>

#include <array>
#include <memory>

#include "core/bus_device.h"
#include "core/machine.h"
#include "core/word.h"
#include "tests/core/instruction_runner.h"

namespace orlan::testing {
namespace {

// A device register that counts the read and write handler calls, so that a read of
// a write-only destination shows.
class CountingDevice final : public BusDevice {
 public:
  uint8_t* Read(uint16_t) override {
    ++reads;
    StoreWord(latch.data(), value);
    return latch.data();
  }
  uint8_t* Write(uint16_t) override {
    ++writes;
    return latch.data();
  }
  void Commit() override {}

  int reads = 0;
  int writes = 0;
  uint16_t value = 0100;
  std::array<uint8_t, 2> latch{};
};

// Each instruction works on the device register at 164000 through @#164000.
TEST(OperandAccess, DestinationReadOnlyWhenNeeded) {
  const struct {
    const char* what;
    uint16_t op;
    int reads, writes;
    uint16_t stored;  // the latch after the instruction, for a write
  } cases[] = {
      {"MOV R0,@#a", 010037, 0, 1, 0123}, {"MOVB R0,@#a", 0110037, 0, 1, 0123},
      {"CLR @#a", 005037, 0, 1, 0},       {"CLRB @#a", 0105037, 0, 1, 0},
      {"SXT @#a", 006737, 0, 1, 0},       {"MFPS @#a", 0106737, 0, 1, 04},
      {"BIS R0,@#a", 050037, 1, 1, 0123}, {"BICB R0,@#a", 0140037, 1, 1, 0},
      {"ADD R0,@#a", 060037, 1, 1, 0223}, {"SUB R0,@#a", 0160037, 1, 1, 0177755},
      {"INC @#a", 005237, 1, 1, 0101},    {"ASLB @#a", 0106337, 1, 1, 0200},
      {"SWAB @#a", 000337, 1, 1, 040000}, {"XOR R0,@#a", 074037, 1, 1, 023},
      {"CMP R0,@#a", 020037, 1, 0, 0},    {"BITB R0,@#a", 0130037, 1, 0, 0},
      {"TST @#a", 005737, 1, 0, 0},       {"MTPS @#a", 0106437, 1, 0, 0},
      {"MUL @#a,R0", 070037, 1, 0, 0},    {"ASH @#a,R0", 072037, 1, 0, 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    Machine m;
    auto device = std::make_unique<CountingDevice>();
    CountingDevice& d = *device;
    m.AttachDevice(DeviceWindow::kLcd, std::move(device));
    m.cpu.SetR(0, 0123);
    Execute(m, {c.op, kLcdBase}, 04);
    EXPECT_EQ(d.reads, c.reads);
    EXPECT_EQ(d.writes, c.writes);
    if (c.writes) {
      EXPECT_EQ(LoadWord(d.latch.data()), c.stored);
    }
  }
}

// A read-modify-write destination evaluates its mode once: one step of the register,
// one index word; the source is evaluated completely before the destination.
TEST(OperandAccess, ModesEvaluatedOnce) {
  const struct {
    const char* what;
    uint16_t op, index;  // index: the word after the instruction, if any
    uint16_t r2, want_r2;
    uint16_t address, want;  // the word that changes
  } cases[] = {
      {"INC (R2)+", 005222, 0, kData, kData + 2, kData, 0102},
      {"INCB (R2)+", 0105222, 0, kData + 1, kData + 2, kData, 0501},
      {"COM -(R2)", 005142, 0, kData + 2, kData, kData, 0177676},
      {"ADD R2,@(R2)+", 060232, 0, kData + 4, kData + 6, kData, 0101 + kData + 4},
      {"ASR 2(R2)", 006262, 2, kData, kData, kData + 2, 0101},
      {"MOV (R2)+,(R2)+", 012222, 0, kData, kData + 4, kData + 2, 0101},
      {"BIS (R2)+,(R2)", 052212, 0, kData, kData + 2, kData + 2, 0303},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    Machine m;
    Deposit(m, kData, {0101, 0202, kData});  // the third word points at the first
    m.cpu.SetR(2, c.r2);
    if (c.index) {
      Execute(m, {c.op, c.index}, 0);
    } else {
      Execute(m, {c.op}, 0);
    }
    EXPECT_EQ(m.cpu.R(2), c.want_r2);
    EXPECT_EQ(WordAt(m, c.address), c.want);
  }
}

// An immediate byte source is the low byte of the word after the instruction.
TEST(OperandAccess, ImmediateByteSource) {
  Machine m;
  m.cpu.SetR(1, 0125252);
  Execute(m, {0112701, 0177400}, 0);  // MOVB #177400,R1
  EXPECT_EQ(m.cpu.R(1), 0);
  EXPECT_EQ(m.cpu.psw, 04);
  Execute(m, {0152701, 0200}, 0);  // BISB #200,R1
  EXPECT_EQ(m.cpu.R(1), 0200);
  EXPECT_EQ(m.cpu.psw, 010);
}

}  // namespace
}  // namespace orlan::testing
