#include "devices/host_file.h"

#include <string>
#include <system_error>

namespace orlan {

std::FILE* OpenHostFile(const std::filesystem::path& path, const char* mode) {
#ifdef _WIN32
  const std::wstring wide_mode(mode, mode + std::char_traits<char>::length(mode));
  return _wfopen(path.c_str(), wide_mode.c_str());
#else
  return std::fopen(path.c_str(), mode);
#endif
}

FileKind HostFileKind(const std::filesystem::path& path) {
  std::error_code ec;
  const std::filesystem::file_status status = std::filesystem::status(path, ec);
  if (status.type() == std::filesystem::file_type::not_found) return FileKind::kMissing;
  if (ec || status.type() == std::filesystem::file_type::regular) return FileKind::kRegular;
  return FileKind::kOther;
}

IoResult NotRegularFile(const std::filesystem::path& path) {
  return IoResult::Failure(PathText(path) + ": not a regular file");
}

}  // namespace orlan
