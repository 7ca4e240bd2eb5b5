#include "frontend/settings.h"

namespace orlan {

Settings LoadSettings(const SettingsReader& reader) {
  const Settings defaults;
  Settings s;
  s.cpu_speed = reader("Settings", "CpuSpeed", defaults.cpu_speed);
  s.ram_size = reader("Settings", "RamSize", defaults.ram_size);
  s.save_rom = reader("Debugger", "SaveRom", defaults.save_rom);
  s.radix = reader("Debugger", "Radix", defaults.radix);
  return s;
}

Settings ReadSettingsFile(const std::filesystem::path& path) {
  return LoadSettings(MakeSettingsReader(IniFile::Load(path)));
}

}  // namespace orlan
