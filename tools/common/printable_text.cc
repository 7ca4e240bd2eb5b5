#include "tools/common/printable_text.h"

namespace orlan {

std::string PrintableText(std::string_view text) {
  static constexpr char kHex[] = "0123456789ABCDEF";
  std::string out;
  out.reserve(text.size());
  for (const char c : text) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte >= 040 && byte != 0177) {
      out.push_back(c);
      continue;
    }
    out.push_back('\\');
    switch (byte) {
      case 0:
        out.push_back('0');
        break;
      case '\t':
        out.push_back('t');
        break;
      case '\n':
        out.push_back('n');
        break;
      case '\r':
        out.push_back('r');
        break;
      default:
        out.push_back('x');
        out.push_back(kHex[byte >> 4]);
        out.push_back(kHex[byte & 017]);
        break;
    }
  }
  return out;
}

}  // namespace orlan
