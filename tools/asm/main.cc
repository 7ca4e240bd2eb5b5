// orlan-asm: assembles a PDP-11 source file into a raw ROM image, with an optional
// listing and symbol file.
#include <cstdio>
#include <fstream>
#include <iostream>
#include <optional>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

#include "devices/atomic_file.h"
#include "tools/asm/assembler.h"
#include "tools/asm/expression.h"

namespace {

using orlan::asm_tool::AsmOptions;
using orlan::asm_tool::AsmResult;

constexpr char kUsage[] =
    "usage: orlan-asm [options] SOURCE\n"
    "  -o FILE      raw image (default: SOURCE with .bin)\n"
    "  -l FILE      listing: address, words, source line\n"
    "  -s FILE      symbols: name = value\n"
    "  --from ADDR  first image address (default 100000)\n"
    "  --to ADDR    last image address (default 177377)\n"
    "  --fill BYTE  value of bytes not assembled (default 377)\n"
    "Numbers are octal; a trailing . makes them decimal, 0x hexadecimal.\n";

std::optional<uint16_t> ParseNumberArg(std::string_view text) {
  const orlan::asm_tool::ExprResult r = orlan::asm_tool::ParseExpression(
      text, 0, 0, [](std::string_view) { return std::optional<uint16_t>(); });
  if (!r.error.empty() || !r.defined || r.end != text.size()) return std::nullopt;
  return r.value;
}

// Reports an output file that could not be written.
bool Written(const orlan::IoResult& result) {
  if (!result) std::cerr << "orlan-asm: " << result.error << "\n";
  return result.ok();
}

}  // namespace

int main(int argc, char** argv) {
  std::string source_path, image_path, listing_path, symbols_path;
  AsmOptions options;
  int fill = 0377;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    auto value = [&](const char* what) -> std::optional<std::string> {
      if (i + 1 >= argc) {
        std::cerr << "orlan-asm: " << arg << " needs " << what << "\n" << kUsage;
        return std::nullopt;
      }
      return std::string(argv[++i]);
    };
    auto number = [&](uint16_t& out, uint16_t limit) {
      const std::optional<std::string> v = value("a number");
      if (!v) return false;
      const std::optional<uint16_t> n = ParseNumberArg(*v);
      if (!n || *n > limit) {
        std::cerr << "orlan-asm: bad number for " << arg << ": " << *v << "\n";
        return false;
      }
      out = *n;
      return true;
    };
    if (arg == "-h" || arg == "--help") {
      std::cout << kUsage;
      return 0;
    } else if (arg == "-o" || arg == "-l" || arg == "-s") {
      const std::optional<std::string> v = value("a file name");
      if (!v) return 2;
      (arg == "-o" ? image_path : arg == "-l" ? listing_path : symbols_path) = *v;
    } else if (arg == "--from") {
      if (!number(options.image_first, 0xFFFF)) return 2;
    } else if (arg == "--to") {
      if (!number(options.image_last, 0xFFFF)) return 2;
    } else if (arg == "--fill") {
      uint16_t f = 0;
      if (!number(f, 0xFF)) return 2;
      fill = f;
    } else if (!arg.empty() && arg[0] == '-') {
      std::cerr << "orlan-asm: unknown option " << arg << "\n" << kUsage;
      return 2;
    } else if (source_path.empty()) {
      source_path = arg;
    } else {
      std::cerr << "orlan-asm: only one source file\n" << kUsage;
      return 2;
    }
  }
  if (source_path.empty()) {
    std::cerr << kUsage;
    return 2;
  }
  if (options.image_last < options.image_first) {
    std::cerr << "orlan-asm: the image range is empty\n";
    return 2;
  }
  if (image_path.empty()) {
    const std::size_t dot = source_path.find_last_of('.');
    const std::size_t slash = source_path.find_last_of('/');
    image_path = (dot != std::string::npos && (slash == std::string::npos || dot > slash)
                      ? source_path.substr(0, dot)
                      : source_path) +
                 ".bin";
  }

  std::ifstream in(source_path, std::ios::binary);
  if (!in) {
    std::cerr << "orlan-asm: cannot read " << source_path << "\n";
    return 1;
  }
  std::stringstream buffer;
  buffer << in.rdbuf();
  const std::string source = buffer.str();

  const AsmResult result = orlan::asm_tool::Assemble(source, options);
  if (!result.ok()) {
    std::cerr << result.ErrorText(source_path);
    return 1;
  }
  const std::vector<uint8_t> image =
      result.Image(options.image_first, options.image_last, static_cast<uint8_t>(fill));
  // Each file is replaced as a whole, so a build that fails midway leaves no
  // half-written image behind.
  using orlan::WriteFileAtomically;
  if (!Written(WriteFileAtomically(image_path, image))) return 1;
  if (!listing_path.empty() && !Written(WriteFileAtomically(listing_path, result.listing))) {
    return 1;
  }
  if (!symbols_path.empty() && !Written(WriteFileAtomically(symbols_path, result.SymbolText()))) {
    return 1;
  }
  return 0;
}
