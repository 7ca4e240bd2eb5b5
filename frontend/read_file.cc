#include "frontend/read_file.h"

#include <cerrno>
#include <cstdio>

#include "devices/host_file.h"

namespace orlan {

IoResult ReadWholeFile(const std::filesystem::path& path, std::size_t limit,
                       std::vector<uint8_t>& bytes) {
  switch (HostFileKind(path)) {
    case FileKind::kMissing:
      return IoResult::FromErrno(path, "cannot open", ENOENT);
    case FileKind::kOther:
      return NotRegularFile(path);
    case FileKind::kRegular:
      break;
  }
  errno = 0;
  std::FILE* f = OpenHostFile(path, "rb");
  if (f == nullptr) return IoResult::FromErrno(path, "cannot open", errno);
  bytes.clear();
  std::vector<uint8_t> chunk(1 << 16);
  std::size_t got = 0;
  while (bytes.size() <= limit && (got = std::fread(chunk.data(), 1, chunk.size(), f)) > 0) {
    bytes.insert(bytes.end(), chunk.begin(), chunk.begin() + static_cast<std::ptrdiff_t>(got));
  }
  const bool failed = std::ferror(f) != 0;
  const int error_number = errno;
  std::fclose(f);
  if (failed) return IoResult::FromErrno(path, "cannot read", error_number);
  if (bytes.size() > limit) {
    return IoResult::Failure(PathText(path) + ": too large (more than " + std::to_string(limit) +
                             " bytes)");
  }
  return IoResult::Ok();
}

}  // namespace orlan
