// A debug window over a program assembled by the cross-assembler: its bytes in RAM and
// its names read from the symbol file that the assembler writes.
#ifndef ORLAN_TESTS_DEBUGGER_ASSEMBLED_WINDOW_H_
#define ORLAN_TESTS_DEBUGGER_ASSEMBLED_WINDOW_H_

#include <gtest/gtest.h>

#include <cstdint>
#include <utility>

#include "debugger/symbol_file.h"
#include "tests/debugger/window_test_util.h"
#include "tools/asm/assembler.h"

namespace orlan::testing {

// Assembles `source` into `window`'s RAM (every byte it defines below 040000) and gives
// the window the program's symbols, which it returns.
inline SymbolTable AssembleInto(Window& window, const char* source) {
  asm_tool::AsmOptions options;
  options.image_first = 0;
  options.image_last = 037777;
  const asm_tool::AsmResult program = asm_tool::Assemble(source, options);
  EXPECT_TRUE(program.ok()) << program.ErrorText("program");
  for (uint16_t a = 0; a <= options.image_last; ++a) {
    if (program.memory[a] >= 0) window.machine.ram()[a] = static_cast<uint8_t>(program.memory[a]);
  }
  SymbolFile file = ParseSymbolText(program.SymbolText());
  EXPECT_EQ(file.error_count, 0u);
  window.model.SetSymbols(file.symbols);
  return std::move(file.symbols);
}

}  // namespace orlan::testing

#endif  // ORLAN_TESTS_DEBUGGER_ASSEMBLED_WINDOW_H_
