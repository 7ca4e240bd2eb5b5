// The demo machine for tests: a copy of its folder to run, and the symbols of its ROM
// (the file "rom.sym" of `name = octal` lines that the assembler writes beside it).
#ifndef ORLAN_TESTS_SUPPORT_DEMO_MACHINE_H_
#define ORLAN_TESTS_SUPPORT_DEMO_MACHINE_H_

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <map>
#include <string>
#include <vector>

#include "tests/support/temp_dir.h"

namespace orlan::testing {

// The demo's files from `demo` with a blank cartridge of `cartridge_size` bytes (none
// for 0), which its ROM writes at boot.
inline void CopyDemo(const std::filesystem::path& demo, const TempDir& dir,
                     std::size_t cartridge_size = 1024) {
  for (const char* name : {"orlan.ini", "rom.bin", "face.bmp", "keys.bmp", "overlay.bmp"}) {
    const std::filesystem::path from = demo / name;
    if (std::filesystem::exists(from)) std::filesystem::copy_file(from, dir / name);
  }
  if (cartridge_size > 0) dir.Write("smp0.bin", std::vector<uint8_t>(cartridge_size, 0));
}

inline std::map<std::string, uint16_t> ReadSymbols(const std::filesystem::path& path) {
  std::map<std::string, uint16_t> symbols;
  std::ifstream in(path);
  std::string name, eq, value;
  while (in >> name >> eq >> value) {
    symbols[name] = static_cast<uint16_t>(std::stoul(value, nullptr, 8));
  }
  return symbols;
}

}  // namespace orlan::testing

#endif  // ORLAN_TESTS_SUPPORT_DEMO_MACHINE_H_
