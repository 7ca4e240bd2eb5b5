// A program assembled by the cross-assembler, its image and symbol file in a folder of
// the test's own, for monitor scripts to load.
#ifndef ORLAN_TESTS_TOOLS_ASSEMBLED_PROGRAM_H_
#define ORLAN_TESTS_TOOLS_ASSEMBLED_PROGRAM_H_

#include <gtest/gtest.h>

#include <string>

#include "tests/support/temp_dir.h"
#include "tools/asm/assembler.h"

namespace orlan::cli::testing {

// prog.bin (001000-001777), prog.sym, and bad.sym, a symbol file with a bad line.
class AssembledProgram {
 public:
  explicit AssembledProgram(const char* source) {
    asm_tool::AsmOptions options;
    options.image_first = 01000;
    options.image_last = 01777;
    const asm_tool::AsmResult result = asm_tool::Assemble(source, options);
    EXPECT_TRUE(result.ok()) << result.ErrorText("program");
    dir_.Write("prog.bin", result.Image(01000, 01777, 0));
    dir_.Write("prog.sym", result.SymbolText());
    dir_.Write("bad.sym", std::string("fine = 1\nbad\n"));
  }
  std::string Path(const char* name) const { return (dir_ / name).string(); }

 private:
  orlan::testing::TempDir dir_;
};

}  // namespace orlan::cli::testing

#endif  // ORLAN_TESTS_TOOLS_ASSEMBLED_PROGRAM_H_
