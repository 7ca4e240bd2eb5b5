#include "debugger/symbol_file.h"

#include <fstream>
#include <map>
#include <optional>
#include <sstream>
#include <system_error>

#include "debugger/number_text.h"

namespace orlan {
namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

std::string_view Trim(std::string_view text) {
  while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
  while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
  return text;
}

// A piece of the file for a message: quoted, cut short, with control and non-ASCII
// bytes written as \xNN so that no message carries them.
std::string Quoted(std::string_view text) {
  constexpr std::size_t kShown = 24;
  std::string out = "'";
  for (std::size_t i = 0; i < text.size() && i < kShown; ++i) {
    const auto c = static_cast<unsigned char>(text[i]);
    if (c >= 0x20 && c < 0x7F) {
      out += static_cast<char>(c);
    } else {
      static constexpr char kHex[] = "0123456789ABCDEF";
      out += "\\x";
      out += kHex[c >> 4];
      out += kHex[c & 15];
    }
  }
  if (text.size() > kShown) out += "...";
  return out + "'";
}

class Parser {
 public:
  SymbolFile Parse(std::string_view text) {
    int line = 0;
    while (!text.empty()) {
      ++line;
      const std::size_t end = text.find('\n');
      std::string_view content = text.substr(0, end);
      text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
      if (!content.empty() && content.back() == '\r') content.remove_suffix(1);
      Line(line, content);
    }
    return std::move(file_);
  }

 private:
  void Line(int line, std::string_view content) {
    content = Trim(content.substr(0, content.find(';')));
    if (content.empty()) return;
    const std::size_t length = NameLength(content);
    if (length == 0)
      return Error(line, "a name must begin with a letter, _ or $: " + Quoted(content));
    const std::string_view name = content.substr(0, length);
    std::string_view rest = Trim(content.substr(length));
    if (rest.empty() || rest.front() != '=') {
      return Error(line, "'=' expected after the name " + Quoted(name));
    }
    rest = Trim(rest.substr(1));
    if (rest.empty()) return Error(line, "a value expected after " + Quoted(name) + " =");
    // Numbers as the cross-assembler writes them.
    const std::optional<uint64_t> value = ParseMarkedNumber(rest);
    if (!value || *value > 0177777) {
      return Error(line, "not a value from 0 to 177777: " + Quoted(rest));
    }
    if (IsRegisterName(name)) return Error(line, Quoted(name) + " is a register name");
    const auto [it, added] = lines_.emplace(name, line);
    if (!added) {
      return Error(line,
                   Quoted(name) + " is already defined on line " + std::to_string(it->second));
    }
    file_.symbols.Define(name, static_cast<uint16_t>(*value));
  }

  void Error(int line, std::string reason) {
    if (file_.errors.size() < kMaxSymbolFileErrors)
      file_.errors.push_back({line, std::move(reason)});
    ++file_.error_count;
  }

  SymbolFile file_;
  std::map<std::string, int, std::less<>> lines_;  // the line that defined each name
};

}  // namespace

SymbolFile ParseSymbolText(std::string_view text) { return Parser().Parse(text); }

SymbolFile LoadSymbolFile(const std::filesystem::path& path) {
  const auto failed = [](const char* reason) {
    SymbolFile file;
    file.errors.push_back({0, reason});
    file.error_count = 1;
    return file;
  };
  constexpr char kUnreadable[] = "the file cannot be read";
  std::error_code ec;
  if (std::filesystem::is_directory(path, ec)) return failed(kUnreadable);
  const std::uintmax_t size = std::filesystem::file_size(path, ec);
  if (!ec && size > kMaxSymbolFileBytes) return failed("the file is larger than 16 MiB");
  std::ifstream in(path, std::ios::binary);
  if (!in) return failed(kUnreadable);
  std::ostringstream text;
  text << in.rdbuf();
  if (in.bad()) return failed(kUnreadable);
  return ParseSymbolText(text.str());
}

std::string SymbolErrorText(std::string_view file_name, const SymbolFile& file) {
  constexpr std::size_t kShown = 5;
  std::string text;
  for (std::size_t i = 0; i < file.errors.size() && i < kShown; ++i) {
    const SymbolFileError& e = file.errors[i];
    if (!text.empty()) text += '\n';
    text += std::string(file_name);
    if (e.line > 0) text += ":" + std::to_string(e.line);
    text += ": " + e.reason;
  }
  if (file.error_count > kShown) {
    text += "\n(and " + std::to_string(file.error_count - kShown) + " more)";
  }
  return text;
}

void LoadMachineSymbols(const std::filesystem::path& dir, SymbolTable& symbols,
                        const std::function<void(const std::string&)>& report) {
  for (const char* name : kMachineSymbolFiles) {
    const std::filesystem::path path = dir / name;
    std::error_code ec;
    if (!std::filesystem::exists(path, ec)) continue;
    const SymbolFile file = LoadSymbolFile(path);
    symbols.Merge(file.symbols);
    if (file.error_count > 0) report(SymbolErrorText(name, file));
  }
}

}  // namespace orlan
