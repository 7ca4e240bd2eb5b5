// A copy of the demo machine's built folder for one test (ORLAN_DEMO_DIR names it).
#ifndef ORLAN_TESTS_SUPPORT_DEMO_FOLDER_H_
#define ORLAN_TESTS_SUPPORT_DEMO_FOLDER_H_

#include <cstdint>
#include <filesystem>
#include <vector>

#include "tests/support/temp_dir.h"

namespace orlan::testing {

// The demo's settings, ROM and pictures, without the cartridge and clock files that
// running the emulator there leaves behind; a blank cartridge 0 of `cartridge_size`
// bytes when that is not 0 (the ROM counts its boots in it).
inline void CopyDemo(const TempDir& dir, std::size_t cartridge_size = 0) {
  for (const char* name : {"orlan.ini", "rom.bin", "face.bmp", "keys.bmp", "overlay.bmp"}) {
    const std::filesystem::path from = std::filesystem::path(ORLAN_DEMO_DIR) / name;
    if (std::filesystem::exists(from)) std::filesystem::copy_file(from, dir / name);
  }
  if (cartridge_size > 0) dir.Write("smp0.bin", std::vector<uint8_t>(cartridge_size, 0));
}

}  // namespace orlan::testing

#endif  // ORLAN_TESTS_SUPPORT_DEMO_FOLDER_H_
