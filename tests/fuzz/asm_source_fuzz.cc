// Whole orlan-asm sources. A source that assembles keeps its bytes inside the image,
// and its symbol file assembles again to the same symbols.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "tests/fuzz/fuzz_check.h"
#include "tools/asm/assembler.h"

using orlan::fuzz::Check;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view source(reinterpret_cast<const char*>(data), size);
  const orlan::asm_tool::AsmOptions options;
  const orlan::asm_tool::AsmResult result = orlan::asm_tool::Assemble(source, options);
  if (!result.ok()) {
    Check(result.errors.size() <= 110, "the error list is bounded");
    Check(!result.ErrorText("f.s").empty(), "errors have text");
    return 0;
  }
  for (uint32_t a = 0; a < result.memory.size(); ++a) {
    if (result.memory[a] < 0) continue;
    Check(a >= options.image_first && a <= options.image_last, "bytes inside the image");
  }
  const orlan::asm_tool::AsmResult symbols = orlan::asm_tool::Assemble(result.SymbolText());
  Check(symbols.ok() && symbols.symbols == result.symbols, "the symbol file assembles back");
  return 0;
}
