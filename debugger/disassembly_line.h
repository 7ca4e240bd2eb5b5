// Layout of a disassembly line, shared by the debug window and the command-line
// monitor: the address, the mnemonic and the operands at fixed character columns.
#ifndef ORLAN_DEBUGGER_DISASSEMBLY_LINE_H_
#define ORLAN_DEBUGGER_DISASSEMBLY_LINE_H_

#include <string>
#include <string_view>

#include "debugger/disassembler.h"
#include "debugger/number_text.h"

namespace orlan {

// Character columns, counted from 0: the address text (zero-filled, then ":") is at
// column 0.
inline int MnemonicColumn(const NumberFormat& format) { return format.word_digits + 2; }
inline int OperandColumn(const NumberFormat& format) { return format.word_digits + 8; }

// The address text of a line: the zero-filled word and ":".
std::string AddressText(uint16_t address, const NumberFormat& format);

// The whole line, padded with blanks up to each column (so it may end in blanks).
std::string LineText(const DisassembledLine& line, const NumberFormat& format);

// A label row: the name and ":".
std::string LabelText(std::string_view name);

// `text` without the blanks at its end.
std::string_view TrimTrailingBlanks(std::string_view text);

}  // namespace orlan

#endif  // ORLAN_DEBUGGER_DISASSEMBLY_LINE_H_
