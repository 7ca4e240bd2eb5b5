// Reading a whole host file into memory.
#ifndef ORLAN_FRONTEND_READ_FILE_H_
#define ORLAN_FRONTEND_READ_FILE_H_

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <vector>

#include "devices/io_result.h"

namespace orlan {

// Reads the regular file at `path` into `bytes`. Anything else there (a folder, a FIFO
// that would block) and a file longer than `limit` bytes are refused unopened.
IoResult ReadWholeFile(const std::filesystem::path& path, std::size_t limit,
                       std::vector<uint8_t>& bytes);

}  // namespace orlan

#endif  // ORLAN_FRONTEND_READ_FILE_H_
