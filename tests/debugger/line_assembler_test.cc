#include "debugger/line_assembler.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace orlan {
namespace {

// Expected outcome: the words on success, or the 1-based failure position.
struct Case {
  std::string text;
  std::vector<uint16_t> words;
  int fail_at = 0;
};

void ExpectAssembles(const Case& c, int radix, uint16_t address) {
  const NumberFormat f = NumberFormat::ForRadix(radix);
  LineAssembler a(f);
  const bool ok = a.AssembleLine(c.text, address);
  SCOPED_TRACE('"' + c.text + '"');
  EXPECT_EQ(ok, c.fail_at == 0);
  EXPECT_EQ(a.pos(), c.fail_at);
  if (ok) {
    EXPECT_EQ(std::vector<uint16_t>(a.words().begin(), a.words().end()), c.words);
  } else {
    EXPECT_TRUE(a.words().empty()) << "a failed line leaves nothing to store";
  }
}

TEST(LineAssembler, OctalAt1000) {
  const Case cases[] = {
      {"mov #5,r0", {012700, 000005}},
      {"MOVB R1,(R2)+", {0110122}},
      {"mov 1104,200(r1)", {016761, 000100, 000200}},
      {"mov @#177566,@#1234", {013737, 0177566, 001234}},
      {"br 1000", {000777}},
      {"br 1400", {000577}},
      {"br 1402", {}, 8},
      {"br 400", {}, 7},
      {"br 1001", {000777}},  // an odd difference rounds down
      {"sob r2,774", {077203}},
      {"sob r2,1002", {077200}},
      {"sob r2,604", {077277}},
      {"sob r2,602", {}, 11},
      {"sob r2,1004", {}, 12},
      {"clrb 1014", {0105067, 000010}},
      {"jsr pc,1024", {004767, 000020}},
      {"inc @1000", {005277, 0177774}},
      {"clr @(r2)", {005072, 000000}},
      {"clr @r2", {005012}},
      {"clear cvzn", {000257}},
      {"clear ", {000240}},
      {"clear", {}, 6},
      {"clear zc", {}, 8},
      {"set z", {000264}},
      {"trap 377", {0104777}},
      {"trap 400", {}, 9},
      {"spl 10", {}, 7},
      {"mark 100", {}, 9},
      {"mul #12,r3", {070327, 000012}},
      {"rts r7", {000207}},
      {"bhis 1000", {0103377}},
      {"bhi 1000", {0101377}},
      {"blos 1000", {0101777}},
      {"blo 1000", {0103777}},
      {"ashc r0,r2", {073200}},
      {"ash r0,r2", {072200}},
      {"go", {000012}},
      {"step", {000016}},
      {"halt x", {}, 6},
      {"haltx", {}, 5},
      {"illop", {}, 6},
      {"xyz", {}, 1},
      {"clr", {}, 4},
      {"clr ", {}, 5},
      {"mov r1,", {}, 8},
      {"mov r1 ,r2", {010102}},
      {"mov r1, r2", {010102}},
      {"mov ( r1),r2", {}, 6},
      {"mov #-1,r0", {}, 6},
      {"movx r1,r2", {}, 4},
      {"", {}},
      {"  nop  ", {000240}},
      {"mov 1000,1000", {016767, 0177774, 0177772}},  // each offset from its own word
      {"mov @200(r1),-(sp)", {017146, 000200}},
      {"mov @(sp)+,@-(pc)", {013657}},
      {"jmp @#1000", {000137, 001000}},
      {"mov #200001,r0", {012700, 000001}},  // wraps in 16 bits
      {"mov r1,r2 ; x", {}, 11},
      {"\xC4\xB1", {}, 1},
      {"xor r3,(r4)", {074314}},
      {"mtps #340", {0106427, 000340}},
  };
  for (const Case& c : cases) ExpectAssembles(c, 8, 001000);
}

TEST(LineAssembler, OtherRadixesAndAddresses) {
  ExpectAssembles({"mov #FF,r0", {012700, 000377}}, 16, 0x0200);
  ExpectAssembles({"mov #ff,r0", {012700, 000377}}, 16, 0x0200);
  ExpectAssembles({"br 200", {000777}}, 16, 0x0200);
  ExpectAssembles({"trap 255", {0104777}}, 10, 001000);
  ExpectAssembles({"trap 256", {}, 9}, 10, 001000);
  // Targets past the top of the address space wrap.
  ExpectAssembles({"br 0", {000400}}, 8, 0177776);
  ExpectAssembles({"br 4", {000402}}, 8, 0177776);
  ExpectAssembles({"sob r0,177776", {077002}}, 8, 0);
}

TEST(LineAssembler, OnlyTheFirst64CharactersCount) {
  const std::string fits = "mov r1,r2" + std::string(55, ' ');
  ExpectAssembles({fits + "x", {010102}}, 8, 001000);
  ExpectAssembles({fits.substr(0, 63) + "x", {}, 64}, 8, 001000);
}

TEST(LineAssembler, NamesMatchAsPrefixesInAnyCase) {
  const NumberFormat f = NumberFormat::ForRadix(8);
  LineAssembler a(f);
  a.SetText("SPx");
  EXPECT_EQ(a.FindName(kRegisterNameTable), 6);
  EXPECT_EQ(a.pos(), 3);
  a.SetText("r");
  EXPECT_EQ(a.FindName(kRegisterNameTable), -1);
  EXPECT_EQ(a.pos(), 1);
  a.SetText("Bhis");
  EXPECT_EQ(kMnemonicTable[a.FindName(kMnemonicTable)].value, 0103000);
}

}  // namespace
}  // namespace orlan
