// Host files by filesystem path: opening a C stream (also for paths outside the narrow
// character set on hosts whose narrow file names are not UTF-8), and telling a regular
// file from anything else before opening it.
#ifndef ORLAN_DEVICES_HOST_FILE_H_
#define ORLAN_DEVICES_HOST_FILE_H_

#include <cstdio>
#include <filesystem>

#include "devices/io_result.h"

namespace orlan {

// `mode` as for std::fopen ("rb", "wb", "r+b"). Null on failure, with errno set.
std::FILE* OpenHostFile(const std::filesystem::path& path, const char* mode);

enum class FileKind {
  kMissing,  // nothing there (a dangling link included)
  kRegular,  // a regular file, or a path that cannot be examined: opening it says why
  kOther,    // a folder, a FIFO, a device...: opening it could block or make no sense
};

// What is at `path`, following links. Looking never opens the file, so it cannot block.
FileKind HostFileKind(const std::filesystem::path& path);

// The refusal of a machine file that is there but no regular file.
IoResult NotRegularFile(const std::filesystem::path& path);

}  // namespace orlan

#endif  // ORLAN_DEVICES_HOST_FILE_H_
