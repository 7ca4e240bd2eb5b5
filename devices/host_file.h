// Opening a C stream by a filesystem path, also for paths outside the narrow
// character set on hosts whose narrow file names are not UTF-8.
#ifndef ORLAN_DEVICES_HOST_FILE_H_
#define ORLAN_DEVICES_HOST_FILE_H_

#include <cstdio>
#include <filesystem>

namespace orlan {

// `mode` as for std::fopen ("rb", "wb", "r+b"). Null on failure, with errno set.
std::FILE* OpenHostFile(const std::filesystem::path& path, const char* mode);

}  // namespace orlan

#endif  // ORLAN_DEVICES_HOST_FILE_H_
