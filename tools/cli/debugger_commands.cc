// Debugger commands: disassembly and line assembly, with the texts and the stores of
// the debug window.
#include <string>

#include "debugger/disassembler.h"
#include "debugger/disassembly_line.h"
#include "debugger/line_assembler.h"
#include "tools/cli/command_table.h"

namespace orlan::cli {

namespace {

Action ParseDis(const Args& args, const Session&) {
  args.ExpectCount(1, 2);
  const uint16_t address = args.Word(0);
  const uint32_t count = args.size() > 1 ? static_cast<uint32_t>(args.Number(1, 0100000)) : 1;
  if (count == 0) throw UsageError("number out of range: " + std::string(args[1]));
  return [address, count](Session& s) {
    // Reads go through the bus, as the debug window's do, device read actions included.
    Disassembler disassembler(s.machine(), s.format);
    disassembler.set_address(address);
    for (uint32_t i = 0; i < count; ++i) {
      s.out << TrimTrailingBlanks(LineText(disassembler.Next(), s.format)) << '\n';
    }
  };
}

Action ParseAsm(const Args& args, const Session& session) {
  args.ExpectCount(1, 1);
  const uint16_t address = args.Word(0);
  LineAssembler assembler(session.format);
  if (!assembler.AssembleLine(args.text(), address)) {
    throw AssemblyError(assembler.pos());
  }
  const std::vector<uint16_t> words(assembler.words().begin(), assembler.words().end());
  return [address, words](Session& s) {
    Disassembler disassembler(s.machine(), s.format);
    disassembler.set_address(address);
    for (uint16_t word : words) disassembler.StoreWord(word);
    // Also for an empty line, as in the debug window: the ROM save is offered at close.
    s.machine().run.MarkRomModified();
  };
}

}  // namespace

void AddDebuggerCommands(CommandTable& table) {
  table.Add({"dis", "dis ADDR [COUNT]", "disassemble COUNT instructions from ADDR on", ParseDis});
  table.Add({"asm", "asm ADDR TEXT", "assemble TEXT (rest of the line) and store it at ADDR",
             ParseAsm, 1});
}

}  // namespace orlan::cli
