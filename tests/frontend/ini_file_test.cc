#include "frontend/ini_file.h"

#include <gtest/gtest.h>

#include <optional>

#include "file_fixtures.h"
#include "frontend/settings.h"

namespace orlan {
namespace {

TEST(ParseSettingIntegerTest, AcceptsDecimalAndHexadecimalOnly) {
  const std::pair<const char*, std::optional<int32_t>> cases[] = {
      {" 42\t", 42},
      {"010", 10},  // decimal, never octal
      {"-5", -5},
      {"0x5000", 0x5000},
      {"0X1f", 0x1F},
      {"$ffffffff", -1},  // hexadecimal spans all 32 bits
      {"2147483647", 2147483647},
      {"-2147483648", INT32_MIN},
      {"2147483648", std::nullopt},
      {"0x100000000", std::nullopt},
      {"", std::nullopt},
      {"0x", std::nullopt},
      {"$", std::nullopt},
      {"12abc", std::nullopt},
      {"1 2", std::nullopt},
      {"FF", std::nullopt},
  };
  for (const auto& [text, value] : cases) EXPECT_EQ(ParseSettingInteger(text), value) << text;
}

TEST(IniFileTest, LooksUpIntegersWithDefaults) {
  const IniFile file = IniFile::Parse(
      "Orphan=1\r\n[Settings]\r\n; note\r\nCpuSpeed = 0x200\r\ncpuspeed=9\r\nRamSize=lots\r\n"
      "[ debugger ]\nRadix=8\n[Broken\nRadix=10\n[Settings]\nLate=5\n");
  const std::tuple<const char*, const char*, int32_t> cases[] = {
      {"SETTINGS", "CPUSPEED", 0x200},  // names ignore case; the first occurrence counts
      {"Settings", "RamSize", -1},      // not a number
      {"Settings", "Missing", -1},     {"Settings", "Orphan", -1},
      {"Debugger", "Radix", 8},  // a broken section header ends the section
      {"Settings", "Late", 5},         {"Debugger", "CpuSpeed", -1},
  };
  for (const auto& [section, key, expected] : cases) {
    EXPECT_EQ(file.ReadInteger(section, key, -1), expected) << section << '.' << key;
  }
}

TEST(LoadSettingsTest, ReadsEachKeyFromItsOwnSection) {
  const std::pair<const char*, Settings> cases[] = {
      {nullptr, {400, 16384, 0, 16}},
      {"[Settings]\nCpuSpeed=-3\nRamSize=0x5000\nSaveRom=1\nRadix=8\n", {-3, 0x5000, 0, 16}},
      {"[Debugger]\nSaveRom=1\nRadix=$A\nCpuSpeed=1\n", {400, 16384, 1, 10}},
  };
  for (const auto& [ini, expected] : cases) {
    testing::TempDir dir;
    if (ini != nullptr) dir.Write(kSettingsFileName, std::string(ini));
    const Settings s = ReadSettingsFile(dir / kSettingsFileName);
    EXPECT_EQ(std::tie(s.cpu_speed, s.ram_size, s.save_rom, s.radix),
              std::tie(expected.cpu_speed, expected.ram_size, expected.save_rom, expected.radix))
        << (ini ? ini : "(no file)");
  }
}

}  // namespace
}  // namespace orlan
