// Read-only access to an INI settings file: bracketed sections of key=value lines.
#ifndef ORLAN_FRONTEND_INI_FILE_H_
#define ORLAN_FRONTEND_INI_FILE_H_

#include <cstdint>
#include <filesystem>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <string_view>

namespace orlan {

// An integer setting value: decimal with an optional sign, or hexadecimal after
// "0x", "0X" or "$" (up to 32 bits, taken as a signed 32-bit pattern). Blanks around
// the value are ignored. Anything else, also an out-of-range number, gives nothing.
std::optional<int32_t> ParseSettingInteger(std::string_view text);

// Reads (section, key, default) -> value; the way every part of the program that has
// a setting asks for it, so that tests can hand in values without a file.
using SettingsReader =
    std::function<int32_t(std::string_view section, std::string_view key, int32_t default_value)>;

class IniFile {
 public:
  IniFile() = default;  // an empty file: every lookup gives the default

  // Parses the file; a file that does not exist or cannot be read is empty.
  static IniFile Load(const std::filesystem::path& path);
  static IniFile Parse(std::string_view text);

  // The raw value text of a key, if present. Section and key names compare without
  // regard to case; the first occurrence of a section or key counts.
  std::optional<std::string> ReadString(std::string_view section, std::string_view key) const;
  // The key's integer value; `default_value` when the key is missing or not a valid
  // 32-bit integer.
  int32_t ReadInteger(std::string_view section, std::string_view key, int32_t default_value) const;

 private:
  // Keyed by lower-cased "section" then lower-cased "key".
  std::map<std::string, std::map<std::string, std::string>> sections_;
};

// A reader over a parsed INI file (kept alive by the reader).
SettingsReader MakeSettingsReader(IniFile file);

}  // namespace orlan

#endif  // ORLAN_FRONTEND_INI_FILE_H_
