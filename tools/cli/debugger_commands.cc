// Debugger commands: disassembly and line assembly, with the texts and the stores of
// the debug window.
#include <string>

#include "debugger/disassembler.h"
#include "debugger/disassembly_line.h"
#include "debugger/line_assembler.h"
#include "debugger/symbol_file.h"
#include "tools/cli/command_table.h"

namespace orlan::cli {

namespace {

Action ParseDis(const Args& args, const Session& session) {
  args.ExpectCount(1, 2);
  const uint16_t address = args.Address(0, session.symbols);
  const uint32_t count = args.size() > 1 ? static_cast<uint32_t>(args.Number(1, 0100000)) : 1;
  if (count == 0) throw UsageError("number out of range: " + std::string(args[1]));
  return [address, count](Session& s) {
    // Reads go through the bus, as the debug window's do, device read actions included.
    Disassembler disassembler(s.machine(), s.format);
    disassembler.set_symbols(&s.symbols);
    disassembler.set_address(address);
    for (uint32_t i = 0; i < count; ++i) {
      for (const std::string& name : disassembler.LabelsAt(disassembler.address())) {
        s.out << LabelText(name) << '\n';
      }
      s.out << TrimTrailingBlanks(LineText(disassembler.Next(), s.format)) << '\n';
    }
  };
}

Action ParseAsm(const Args& args, const Session& session) {
  args.ExpectCount(1, 1);
  const uint16_t address = args.Address(0, session.symbols);
  LineAssembler assembler(session.format);
  assembler.set_symbols(&session.symbols);
  if (!assembler.AssembleLine(args.text(), address)) {
    const std::string& unknown = assembler.unknown_symbol();
    throw AssemblyError(assembler.pos(), unknown.empty() ? "" : "unknown symbol: " + unknown);
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

Action ParseSym(const Args& args, const Session&) {
  args.ExpectCount(1, 1);
  const std::string path(args[0]);
  const SymbolFile file = LoadSymbolFile(path);
  // A file with any fault adds nothing, like every bad line.
  if (file.error_count > 0) throw UsageError(SymbolErrorText(path, file));
  return [symbols = file.symbols](Session& s) { s.symbols.Merge(symbols); };
}

}  // namespace

void AddDebuggerCommands(CommandTable& table) {
  table.Add({"dis", "dis ADDR [COUNT]", "disassemble COUNT instructions from ADDR on", ParseDis});
  table.Add({"asm", "asm ADDR TEXT", "assemble TEXT (rest of the line) and store it at ADDR",
             ParseAsm, 1});
  table.Add({"sym", "sym FILE",
             "load a symbol file (name = value lines); names then stand for addresses", ParseSym});
}

}  // namespace orlan::cli
