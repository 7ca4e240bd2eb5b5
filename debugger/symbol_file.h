// Symbol files: the "name = value" lines that the cross-assembler writes beside a ROM
// image, read into a symbol table. The machine folder's "rom.sym" and "romt.sym"
// name the addresses of "rom.bin" and "romt.bin".
//
// One definition per line: a name (a letter, "_" or "$", then letters, digits, "_"
// and "$"; not a register name), "=", and a value: octal digits, decimal digits with
// a trailing ".", or hexadecimal digits after "0x", at most 177777. Blanks and tabs
// may stand around each part; ";" starts a comment; empty lines are skipped; a line
// may end in CR LF. A name defined twice in one file is an error.
#ifndef ORLAN_DEBUGGER_SYMBOL_FILE_H_
#define ORLAN_DEBUGGER_SYMBOL_FILE_H_

#include <cstddef>
#include <filesystem>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "debugger/symbol_table.h"

namespace orlan {

struct SymbolFileError {
  int line = 0;  // 1-based; 0 for the file as a whole
  std::string reason;

  bool operator==(const SymbolFileError&) const = default;
};

struct SymbolFile {
  SymbolTable symbols;                  // every line that was understood
  std::vector<SymbolFileError> errors;  // the first kMaxSymbolFileErrors, in line order
  std::size_t error_count = 0;          // all of them
};

inline constexpr std::size_t kMaxSymbolFileErrors = 100;
inline constexpr std::uintmax_t kMaxSymbolFileBytes = 16 << 20;

// Reads the definitions of a symbol file's text; any text is safe to give.
SymbolFile ParseSymbolText(std::string_view text);

// Reads the file at `path`; a file that cannot be read (or is larger than 16 MiB)
// gives one error of line 0.
SymbolFile LoadSymbolFile(const std::filesystem::path& path);

// "NAME:N: reason" for the first few errors, one per line, and how many more
// there are; empty when there are none.
std::string SymbolErrorText(std::string_view file_name, const SymbolFile& file);

inline constexpr const char* kMachineSymbolFiles[] = {"romt.sym", "rom.sym"};

// Loads "romt.sym" and then "rom.sym" from a machine folder into `symbols`, each when
// it exists; a later name replaces an earlier one. The lines understood are kept;
// each file with errors is reported once through `report`.
void LoadMachineSymbols(const std::filesystem::path& dir, SymbolTable& symbols,
                        const std::function<void(const std::string&)>& report);

}  // namespace orlan

#endif  // ORLAN_DEBUGGER_SYMBOL_FILE_H_
