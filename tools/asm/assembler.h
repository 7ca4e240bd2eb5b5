// The cross-assembler: a two-pass assembler for ROM images. Instructions go through
// the debugger's line assembler, so the debugger disassembles exactly what this
// writes; symbols and expressions in operands are turned into octal numbers first.
#ifndef ORLAN_TOOLS_ASM_ASSEMBLER_H_
#define ORLAN_TOOLS_ASM_ASSEMBLER_H_

#include <cstdint>
#include <map>
#include <string>
#include <string_view>
#include <vector>

namespace orlan::asm_tool {

struct Diagnostic {
  int line = 0;    // 1-based
  int column = 0;  // 1-based
  std::string message;
};

struct AsmOptions {
  // Bytes may only be emitted inside this address range (the image).
  uint16_t image_first = 0100000;
  uint16_t image_last = 0177377;
};

struct AsmResult {
  std::vector<Diagnostic> errors;  // empty on success
  // One entry per address: the byte assembled there, or -1.
  std::vector<int> memory = std::vector<int>(0x10000, -1);
  std::map<std::string, uint16_t> symbols;
  std::string listing;

  bool ok() const { return errors.empty(); }
  // The bytes first..last, unassembled ones given as `fill`.
  std::vector<uint8_t> Image(uint16_t first, uint16_t last, uint8_t fill) const;
  // "name = value" lines (octal), sorted by name; the text assembles again.
  std::string SymbolText() const;
  // "file:line:column: error: message" lines.
  std::string ErrorText(std::string_view file_name) const;
};

AsmResult Assemble(std::string_view source, const AsmOptions& options = {});

}  // namespace orlan::asm_tool

#endif  // ORLAN_TOOLS_ASM_ASSEMBLER_H_
