// The settings reader on any "orlan.ini" text: every setting comes out usable.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "core/machine.h"
#include "debugger/number_text.h"
#include "frontend/ini_file.h"
#include "frontend/settings.h"
#include "tests/fuzz/fuzz_check.h"

using orlan::fuzz::Check;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  const orlan::IniFile file = orlan::IniFile::Parse(text);
  const orlan::Settings settings = orlan::LoadSettings(orlan::MakeSettingsReader(file));
  const uint16_t ram_size = orlan::RamSizeFromSetting(settings.ram_size);
  Check(ram_size >= 040000 && ram_size <= 0100000 && ram_size % 16 == 0, "a usable RAM size");
  const int radix = orlan::NumberFormat::ForRadix(settings.radix).radix;
  Check(radix >= orlan::kMinRadix && radix <= orlan::kMaxRadix, "a usable base");

  // Any value the integer reader accepts reads back the same from its decimal text.
  if (const std::optional<int32_t> value = orlan::ParseSettingInteger(text)) {
    Check(orlan::ParseSettingInteger(std::to_string(*value)) == value, "decimal round trip");
  }
  return 0;
}
