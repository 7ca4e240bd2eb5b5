// The ROM images: loading them into the ROM store at start-up, and writing the main
// image back when the debugger has changed it.
#ifndef ORLAN_FRONTEND_ROM_FILES_H_
#define ORLAN_FRONTEND_ROM_FILES_H_

#include <cstddef>
#include <cstdint>
#include <filesystem>

#include "frontend/message_sink.h"

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

enum class FileAccess {
  kReadWrite,  // how start-up opens every existing file
  kReadOnly,   // for tools that load an image given on their command line
};

// Reads the first image.size bytes of the file at `path` into the ROM store at
// image.address. Throws IoError when the file cannot be opened or is shorter than
// image.size; the ROM store is then unchanged.
void LoadRomImage(Machine& machine, const RomImage& image, const std::filesystem::path& path,
                  FileAccess access = FileAccess::kReadWrite);

// Start-up: fills the whole ROM store with 377, then loads "romt.bin" from `dir` if
// it exists and "rom.bin" if it exists; a missing "rom.bin" is reported through
// `sink`. Throws IoError for an image that exists but cannot be loaded.
void LoadRom(Machine& machine, const std::filesystem::path& dir, MessageSink& sink);

// Writes the ROM store part of the main image (100000-177377) to `target`. The bytes go
// to a new file beside the target, which replaces the target only once every byte is
// written, so a failed save leaves any earlier image as it was. Returns success.
bool SaveRomImage(const Machine& machine, const std::filesystem::path& target);

}  // namespace orlan

#endif  // ORLAN_FRONTEND_ROM_FILES_H_
