// The listing of the cross-assembler against the debugger's disassembler: the words
// listed for every instruction are those that the disassembler reads back as one
// instruction at that address, with the expected text.
#include <gtest/gtest.h>

#include <cstdint>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "core/machine.h"
#include "debugger/disassembler.h"
#include "debugger/line_assembler.h"
#include "debugger/number_text.h"
#include "tools/asm/assembler.h"

namespace orlan::asm_tool {
namespace {

struct ListedLine {
  uint16_t address = 0;
  std::vector<uint16_t> words;
  std::string source;
};

// The lines of a listing that carry an address and words.
std::vector<ListedLine> ParseListing(const std::string& listing) {
  std::vector<ListedLine> lines;
  std::istringstream in(listing);
  std::string text;
  while (std::getline(in, text)) {
    if (text.size() < 8 || text[0] == ' ') continue;
    ListedLine line;
    line.address = static_cast<uint16_t>(std::stoul(text.substr(0, 6), nullptr, 8));
    for (std::size_t at = 8; at + 6 <= text.size() && at < 29 && text[at] != ' '; at += 7) {
      line.words.push_back(static_cast<uint16_t>(std::stoul(text.substr(at, 6), nullptr, 8)));
    }
    line.source = text.size() > 29 ? text.substr(29) : "";
    lines.push_back(line);
  }
  return lines;
}

TEST(AsmListingTest, DisassemblerReadsBackEveryListedInstruction) {
  struct Case {
    const char* source;
    const char* disassembly;  // mnemonic and operands, base 8
  };
  const Case cases[] = {
      {"start:  mov #msg,r0", "mov #100060,r0"},
      {"        movb (r1)+,-(sp)", "movb (r1)+,-(sp)"},
      {"        mov @#lcd,r1", "mov @#164000,r1"},
      {"        mov 5(r1),@tab+2(r2)", "mov 000005(r1),@100064(r2)"},
      {"        cmp r0,tab", "cmp r0,100062"},
      {"        jsr pc,sub", "jsr pc,100056"},
      {"        br start", "br 100000"},
      {"        bhis .+4", "bhis 100036"},
      {"        sob r2,start", "sob r2,100000"},
      {"        trap 12.", "trap 14"},
      {"        clear cz", "clear cz"},
      {"        mtps #340", "mtps #340"},
      {"        ash #-2,r3", "ash #177776,r3"},
      {"        clrb @(r4)", "clrb @000000(r4)"},
      {"sub:    rts pc", "rts pc"},
  };
  std::string source = "lcd = 164000\n.org 100000\n";
  for (const Case& c : cases) source += std::string(c.source) + "\n";
  source += "msg: .word 0\ntab: .word 1, 2\n";
  const AsmResult r = Assemble(source);
  ASSERT_TRUE(r.ok()) << r.ErrorText("t.s");

  Machine machine;
  const std::vector<uint8_t> image = r.Image(0100000, 0177377, 0377);
  std::copy(image.begin(), image.end(), machine.rom().begin() + (0100000 - kRomBase));
  const NumberFormat octal = NumberFormat::ForRadix(8);
  Disassembler dis(machine, octal);

  const std::vector<ListedLine> listed = ParseListing(r.listing);
  std::size_t next = 0;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.source);
    while (next < listed.size() && listed[next].source != c.source) ++next;
    ASSERT_LT(next, listed.size()) << r.listing;
    const ListedLine& line = listed[next];
    dis.set_address(line.address);
    const DisassembledLine d = dis.Next();
    std::string mnemonic = d.mnemonic;
    while (!mnemonic.empty() && mnemonic.back() == ' ') mnemonic.pop_back();
    EXPECT_EQ(mnemonic + (d.operands.empty() ? "" : " " + d.operands), c.disassembly);
    ASSERT_EQ(static_cast<std::size_t>(d.word_count), line.words.size());
    for (int i = 0; i < d.word_count; ++i) {
      EXPECT_EQ(machine.PeekWord(static_cast<uint16_t>(line.address + 2 * i)), line.words[i]);
    }
    EXPECT_EQ(dis.address(), static_cast<uint16_t>(line.address + 2 * line.words.size()));
  }
}

TEST(AsmListingTest, ListingShowsAssignmentsDataAndContinuationLines) {
  const AsmResult r =
      Assemble("x = 12\n.org 100000\n; note\nt: .ascii \"ABCDEFG\"\n.even\n.word 1,2,3,4\n");
  ASSERT_TRUE(r.ok()) << r.ErrorText("t.s");
  EXPECT_EQ(r.listing,
            "        = 000012             x = 12\n"
            "100000                       .org 100000\n"
            "                             ; note\n"
            "100000  101 102 103 104 105  t: .ascii \"ABCDEFG\"\n"
            "100005  106 107\n"
            "100007                       .even\n"
            "100010  000001 000002 000003 .word 1,2,3,4\n"
            "100016  000004\n");
}

// The whole demo ROM: every instruction that the listing shows is one instruction of
// the disassembler with the listed words, and the disassembled text assembles back to
// the same words at the same address.
TEST(AsmListingTest, DemoRomListingRoundTripsThroughTheDisassembler) {
  std::ifstream in(ORLAN_DEMO_ROM_SOURCE);
  ASSERT_TRUE(in) << ORLAN_DEMO_ROM_SOURCE;
  std::stringstream source;
  source << in.rdbuf();
  const AsmResult r = Assemble(source.str());
  ASSERT_TRUE(r.ok()) << r.ErrorText("rom.s");

  Machine machine;
  const std::vector<uint8_t> image = r.Image(0100000, 0177377, 0377);
  std::copy(image.begin(), image.end(), machine.rom().begin() + (0100000 - kRomBase));
  const NumberFormat octal = NumberFormat::ForRadix(8);
  Disassembler dis(machine, octal);
  LineAssembler assembler(octal);
  int instructions = 0;
  for (const ListedLine& line : ParseListing(r.listing)) {
    // Instruction lines: code from 173000 on (data lives below).
    if (line.words.empty() || line.address < 0173000) continue;
    SCOPED_TRACE(line.source);
    dis.set_address(line.address);
    const DisassembledLine d = dis.Next();
    ASSERT_EQ(static_cast<std::size_t>(d.word_count), line.words.size());
    ASSERT_TRUE(assembler.AssembleLine(d.mnemonic + " " + d.operands, line.address))
        << d.mnemonic << d.operands << " at " << assembler.pos();
    const std::vector<uint16_t> again(assembler.words().begin(), assembler.words().end());
    EXPECT_EQ(again, line.words);
    ++instructions;
  }
  EXPECT_GT(instructions, 300);
}

}  // namespace
}  // namespace orlan::asm_tool
