// The line assembler on any text, in any base, at any address. What it accepts must
// disassemble to the same number of words (but for the PC's autoincrement modes) and
// assemble back to the same words.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "core/machine.h"
#include "debugger/disassembler.h"
#include "debugger/line_assembler.h"
#include "tests/fuzz/fuzz_check.h"

using orlan::fuzz::Check;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 3) return 0;
  const orlan::NumberFormat format = orlan::NumberFormat::ForRadix(data[0]);
  // An even address inside the default RAM, room left for three words.
  const auto address = static_cast<uint16_t>((data[1] | data[2] << 8) % 037770 & ~1);
  const std::string_view text(reinterpret_cast<const char*>(data + 3), size - 3);

  orlan::LineAssembler assembler(format);
  if (!assembler.AssembleLine(text, address)) {
    const std::size_t end = std::min(text.size(), orlan::kAsmTextLimit) + 1;
    Check(assembler.pos() >= 1 && static_cast<std::size_t>(assembler.pos()) <= end,
          "failure position on the line");
    Check(assembler.word_count() == 0, "no words after a failure");
    return 0;
  }
  Check(assembler.pos() == 0, "position 0 after success");
  const auto words = assembler.words();
  Check(words.size() <= 3, "at most three words");
  if (words.empty()) return 0;

  orlan::Machine machine;
  uint16_t a = address;
  for (const uint16_t word : words) {
    machine.PokeByte(a++, static_cast<uint8_t>(word));
    machine.PokeByte(a++, static_cast<uint8_t>(word >> 8));
  }
  orlan::Disassembler disassembler(machine, format);
  disassembler.set_address(address);
  const orlan::DisassembledLine line = disassembler.Next();
  if (line.word_count != static_cast<int>(words.size())) {
    // "(pc)+" and "@(pc)+" are taken as written, without a word of their own (the word
    // after the instruction becomes the operand); the disassembler shows them as # and
    // @# with that word.
    const int source = (words[0] >> 6) & 077;
    const int destination = words[0] & 077;
    Check(source == 027 || source == 037 || destination == 027 || destination == 037,
          "disassembled word count");
    return 0;
  }
  const std::string again = line.mnemonic + " " + line.operands;
  orlan::LineAssembler second(format);
  Check(second.AssembleLine(again, address), "the disassembly assembles");
  Check(second.word_count() == static_cast<int>(words.size()), "same word count again");
  for (std::size_t i = 0; i < words.size(); ++i) {
    Check(second.words()[i] == words[i], "same words again");
  }
  return 0;
}
