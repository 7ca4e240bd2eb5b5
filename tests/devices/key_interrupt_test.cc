#include <gtest/gtest.h>

#include "tests/devices/device_bench.h"

namespace orlan {
namespace {

// A key press interrupts the program; the handler at vector 310 selects the keyboard
// on the channel, reads the key's code and keeps it in RAM.
TEST(KeyInterrupt, HandlerReadsTheKeyThroughTheChannel) {
  struct Case {
    void (*press)(Keyboard&);
    uint16_t code;
  } cases[] = {
      {[](Keyboard& k) { k.HostCharacter(U'q'); }, 0367},
      {[](Keyboard& k) { k.HostCharacter(U'1'); }, 0043},
      {[](Keyboard& k) { k.HostKeyDown(0x0D); }, 0373},
      {[](Keyboard& k) {
         k.set_mouse_key(60);
         k.RaiseKeyInterrupt();
       },
       0177},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.code);
    testing::Bench b;
    Machine& m = b.machine;
    testing::TempDir dir;
    ASSERT_TRUE(b.board.channel.ChannelInit(dir.path()).ok());
    const uint16_t program[] = {
        0012737, 0000002, 0164024,  // 2000: MOV #2, @#164024   select the keyboard
        0013737, 0164020, 0003000,  // 2006: MOV @#164020, @#3000
        0000002,                    // 2014: RTI
    };
    for (int i = 0; i < 7; ++i) m.PokeWord(static_cast<uint16_t>(02000 + 2 * i), program[i]);
    m.PokeByte(0310, 0);  // vector 310: PC 002000, PSW 340
    m.PokeByte(0311, 004);
    m.PokeByte(0312, 0340);
    m.PokeByte(04000, 0);  // the interrupted program: MOV R0, R0
    m.PokeByte(04001, 020);
    m.cpu.set_pc(04000);
    m.cpu.set_sp(01000);
    m.cpu.psw = 0;

    c.press(b.board.keyboard);
    ASSERT_TRUE(m.cpu.irq_channel);
    for (int step = 0; step < 4; ++step) m.CpuStep();  // entry, select, read, return
    EXPECT_FALSE(m.cpu.irq_channel);
    EXPECT_EQ(m.cpu.pc(), 04000);
    EXPECT_EQ(m.cpu.sp(), 01000);
    EXPECT_EQ(m.cpu.psw, 0);
    EXPECT_EQ(m.PeekWord(03000), c.code);
  }
}

}  // namespace
}  // namespace orlan
