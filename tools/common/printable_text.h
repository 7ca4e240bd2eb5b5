// Text from the user's files and lines as messages can show it.
#ifndef ORLAN_TOOLS_COMMON_PRINTABLE_TEXT_H_
#define ORLAN_TOOLS_COMMON_PRINTABLE_TEXT_H_

#include <string>
#include <string_view>

namespace orlan {

// `text` with each control byte (0-037 and 0177) written as an escape: \0, \t, \n, \r
// or \xHH. A NUL or a carriage return printed raw would hide or overwrite the rest of
// a message; other bytes, those of UTF-8 text included, stay as they are.
std::string PrintableText(std::string_view text);

}  // namespace orlan

#endif  // ORLAN_TOOLS_COMMON_PRINTABLE_TEXT_H_
