// Replacing a host file as a whole: a reader, a crash or a full disk never sees a file
// that is half old and half new.
#ifndef ORLAN_DEVICES_ATOMIC_FILE_H_
#define ORLAN_DEVICES_ATOMIC_FILE_H_

#include <cstdint>
#include <filesystem>
#include <span>
#include <string_view>

#include "devices/io_result.h"

namespace orlan {

// Writes `bytes` as the new contents of `target`. They go to a temporary file with a
// name of its own beside the target, created exclusively (so nothing that already has
// that name, a link included, is ever opened), flushed to the disk and then renamed
// over the target. On any failure the target stays as it was, the temporary file is
// removed, and the result names the file at fault.
IoResult WriteFileAtomically(const std::filesystem::path& target, std::span<const uint8_t> bytes);
IoResult WriteFileAtomically(const std::filesystem::path& target, std::string_view text);

}  // namespace orlan

#endif  // ORLAN_DEVICES_ATOMIC_FILE_H_
