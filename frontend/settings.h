// The program's settings, read once at start-up from "orlan.ini".
#ifndef ORLAN_FRONTEND_SETTINGS_H_
#define ORLAN_FRONTEND_SETTINGS_H_

#include <cstdint>
#include <filesystem>

#include "frontend/ini_file.h"

namespace orlan {

inline constexpr char kSettingsFileName[] = "orlan.ini";

struct Settings {
  int32_t cpu_speed = 400;   // steps per 10 ms run tick, used as given
  int32_t ram_size = 16384;  // raw value; RamSizeFromSetting turns it into a size
  int32_t save_rom = 0;      // non-zero: offer to save a ROM changed by the debugger
  int32_t radix = 16;        // the debugger's number base, checked by the debugger
};

// Reads every setting through `reader`; missing or invalid values give the defaults.
Settings LoadSettings(const SettingsReader& reader);

// The settings of the INI file at `path`: the defaults where the file, a key or a valid
// value is missing.
Settings ReadSettingsFile(const std::filesystem::path& path);

}  // namespace orlan

#endif  // ORLAN_FRONTEND_SETTINGS_H_
