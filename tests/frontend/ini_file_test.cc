#include "frontend/ini_file.h"

#include <gtest/gtest.h>

#include <optional>

#include "frontend/settings.h"
#include "temp_dir.h"

namespace orlan {
namespace {

struct IntegerCase {
  const char* text;
  std::optional<int32_t> value;
};

TEST(ParseSettingIntegerTest, AcceptsDecimalAndHexadecimalOnly) {
  const IntegerCase cases[] = {
      {"400", 400},
      {"  42\t", 42},
      {"010", 10},  // decimal, never octal
      {"-5", -5},
      {"+7", 7},
      {"0x5000", 0x5000},
      {"0X1f", 0x1F},
      {"$FF", 0xFF},
      {"$ffffffff", -1},  // hexadecimal spans all 32 bits
      {"-$10", -16},
      {"2147483647", 2147483647},
      {"-2147483648", INT32_MIN},
      {"2147483648", std::nullopt},
      {"-2147483649", std::nullopt},
      {"0x100000000", std::nullopt},
      {"99999999999999999999", std::nullopt},
      {"", std::nullopt},
      {"   ", std::nullopt},
      {"-", std::nullopt},
      {"0x", std::nullopt},
      {"$", std::nullopt},
      {"12abc", std::nullopt},
      {"1 2", std::nullopt},
      {"0x1G", std::nullopt},
      {"1e3", std::nullopt},
      {"--1", std::nullopt},
      {"0x-1", std::nullopt},
      {"FF", std::nullopt},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(ParseSettingInteger(c.text), c.value) << '"' << c.text << '"';
  }
}

constexpr char kIni[] =
    "; a comment\r\n"
    "Orphan=1\r\n"
    "[Settings]\r\n"
    "CpuSpeed = 0x200\r\n"
    "cpuspeed=999\r\n"
    "RamSize=lots\r\n"
    "Quoted=\"12\"\r\n"
    "Empty=\r\n"
    "[ debugger ]\n"
    "Radix=8\n"
    "[Broken\n"
    "Radix=10\n"
    "[Settings]\n"
    "Late=5\n";

struct LookupCase {
  const char* section;
  const char* key;
  int32_t expected;
};

TEST(IniFileTest, LooksUpIntegersWithDefaults) {
  const IniFile file = IniFile::Parse(kIni);
  const LookupCase cases[] = {
      {"Settings", "CpuSpeed", 0x200},  // first occurrence counts
      {"SETTINGS", "CPUSPEED", 0x200},  // names ignore case
      {"Settings", "RamSize", -1},      // not a number: default
      {"Settings", "Quoted", 12},      {"Settings", "Empty", -1},   {"Settings", "Missing", -1},
      {"Debugger", "Radix", 8},  // a broken section header ends the section
      {"Settings", "Late", 5},   // a repeated section adds keys
      {"Settings", "Orphan", -1},      {"Missing", "CpuSpeed", -1}, {"Debugger", "CpuSpeed", -1},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(file.ReadInteger(c.section, c.key, -1), c.expected) << c.section << '.' << c.key;
  }
}

struct SettingsCase {
  const char* ini;  // nullptr: no file
  Settings expected;
};

TEST(LoadSettingsTest, ReadsEachKeyFromItsOwnSection) {
  const SettingsCase cases[] = {
      {nullptr, {400, 16384, 0, 16}},
      {"", {400, 16384, 0, 16}},
      {"[Settings]\nCpuSpeed=0\nRamSize=0x5000\n", {0, 0x5000, 0, 16}},
      {"[Settings]\nCpuSpeed=-3\nRamSize=100000\n", {-3, 100000, 0, 16}},
      {"[Settings]\nSaveRom=1\nRadix=8\n", {400, 16384, 0, 16}},  // wrong section
      {"[Debugger]\nSaveRom=1\nRadix=$A\nCpuSpeed=1\n", {400, 16384, 1, 10}},
      {"[Debugger]\nSaveRom=yes\n", {400, 16384, 0, 16}},
  };
  for (const auto& c : cases) {
    testing::TempDir dir;
    if (c.ini != nullptr) dir.Write(kSettingsFileName, std::string(c.ini));
    const Settings s = LoadSettings(SettingsFileReader(dir.path()));
    EXPECT_EQ(s.cpu_speed, c.expected.cpu_speed) << (c.ini ? c.ini : "(none)");
    EXPECT_EQ(s.ram_size, c.expected.ram_size) << (c.ini ? c.ini : "(none)");
    EXPECT_EQ(s.save_rom, c.expected.save_rom) << (c.ini ? c.ini : "(none)");
    EXPECT_EQ(s.radix, c.expected.radix) << (c.ini ? c.ini : "(none)");
  }
}

}  // namespace
}  // namespace orlan
