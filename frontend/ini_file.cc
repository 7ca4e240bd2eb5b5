#include "frontend/ini_file.h"

#include <cctype>
#include <fstream>
#include <sstream>
#include <utility>

#include "core/digits.h"

namespace orlan {
namespace {

std::string_view Trim(std::string_view s) {
  const auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; };
  while (!s.empty() && blank(s.front())) s.remove_prefix(1);
  while (!s.empty() && blank(s.back())) s.remove_suffix(1);
  return s;
}

std::string Lower(std::string_view s) {
  std::string out(s);
  for (char& c : out) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return out;
}

}  // namespace

std::optional<int32_t> ParseSettingInteger(std::string_view text) {
  text = Trim(text);
  bool negative = false;
  if (!text.empty() && (text.front() == '+' || text.front() == '-')) {
    negative = text.front() == '-';
    text.remove_prefix(1);
  }
  int base = 10;
  if (text.starts_with("0x") || text.starts_with("0X")) {
    base = 16;
    text.remove_prefix(2);
  } else if (text.starts_with("$")) {
    base = 16;
    text.remove_prefix(1);
  }
  const DigitRun digits = ReadDigits(text, base);
  if (text.empty() || digits.length != text.size()) return std::nullopt;
  // Decimal must fit the signed range; hexadecimal may use all 32 bits.
  const uint64_t limit = base == 16 ? 0xFFFFFFFFu : (negative ? 0x80000000u : 0x7FFFFFFFu);
  if (digits.value > limit) return std::nullopt;
  const auto bits = static_cast<uint32_t>(digits.value);
  return static_cast<int32_t>(negative ? 0u - bits : bits);
}

IniFile IniFile::Load(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return IniFile();
  std::ostringstream text;
  text << in.rdbuf();
  return Parse(text.str());
}

IniFile IniFile::Parse(std::string_view text) {
  IniFile file;
  std::map<std::string, std::string>* section = nullptr;
  while (!text.empty()) {
    const size_t end = text.find('\n');
    std::string_view line = Trim(text.substr(0, end));
    text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
    if (line.empty() || line.front() == ';' || line.front() == '#') continue;
    if (line.front() == '[') {
      const size_t close = line.find(']');
      if (close == std::string_view::npos) {
        section = nullptr;
        continue;
      }
      // A repeated section adds nothing: the first occurrence of each key counts.
      section = &file.sections_[Lower(Trim(line.substr(1, close - 1)))];
      continue;
    }
    const size_t equals = line.find('=');
    if (section == nullptr || equals == std::string_view::npos) continue;
    std::string_view value = Trim(line.substr(equals + 1));
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
        value.back() == value.front()) {
      value = value.substr(1, value.size() - 2);
    }
    section->try_emplace(Lower(Trim(line.substr(0, equals))), value);
  }
  return file;
}

std::optional<std::string> IniFile::ReadString(std::string_view section,
                                               std::string_view key) const {
  const auto s = sections_.find(Lower(section));
  if (s == sections_.end()) return std::nullopt;
  const auto k = s->second.find(Lower(key));
  if (k == s->second.end()) return std::nullopt;
  return k->second;
}

int32_t IniFile::ReadInteger(std::string_view section, std::string_view key,
                             int32_t default_value) const {
  const auto text = ReadString(section, key);
  if (!text) return default_value;
  return ParseSettingInteger(*text).value_or(default_value);
}

SettingsReader MakeSettingsReader(IniFile file) {
  return [file = std::move(file)](std::string_view section, std::string_view key,
                                  int32_t default_value) {
    return file.ReadInteger(section, key, default_value);
  };
}

}  // namespace orlan
