// The ROM images: loading one into the ROM store, and writing the main image back
// when the debugger has changed it.
#ifndef ORLAN_FRONTEND_ROM_FILES_H_
#define ORLAN_FRONTEND_ROM_FILES_H_

#include <cstddef>
#include <cstdint>
#include <filesystem>

#include "devices/io_result.h"

namespace orlan {

class Machine;

// An image file and the part of the ROM store it supplies.
struct RomImage {
  const char* file_name;
  uint16_t address;  // first bus address supplied
  std::size_t size;  // bytes taken from the start of the file
};
inline constexpr RomImage kExtraRomImage{"romt.bin", 040000, 16384};  // 040000-077777
inline constexpr RomImage kMainRomImage{"rom.bin", 0100000, 32512};   // 100000-177377

// Reads the first image.size bytes of the file at `path` into the ROM store at
// image.address. A file that is not a regular file, cannot be opened for reading or is
// shorter than image.size is an error, and the ROM store is then unchanged.
IoResult LoadRomImage(Machine& machine, const RomImage& image, const std::filesystem::path& path);

// Writes the ROM store part of the main image (100000-177377) to `target`, which is
// replaced as a whole or not at all.
IoResult SaveRomImage(const Machine& machine, const std::filesystem::path& target);

}  // namespace orlan

#endif  // ORLAN_FRONTEND_ROM_FILES_H_
