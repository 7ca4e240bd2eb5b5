#include "devices/atomic_file.h"

#include <fcntl.h>
#include <sys/stat.h>

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <random>
#include <string>
#include <system_error>

#ifdef _WIN32
#include <io.h>

#include "devices/windows_api.h"
#else
#include <unistd.h>
#endif

namespace orlan {
namespace {

#ifdef _WIN32
constexpr int kCreateFlags = _O_WRONLY | _O_CREAT | _O_EXCL | _O_BINARY | _O_NOINHERIT;

int CreateExclusive(const std::filesystem::path& path) {
  return _wopen(path.c_str(), kCreateFlags, _S_IREAD | _S_IWRITE);
}
int WriteSome(int fd, const uint8_t* data, std::size_t size) {
  return _write(fd, data, static_cast<unsigned>(size > 0x40000000 ? 0x40000000 : size));
}
int Flush(int fd) { return _commit(fd); }
int Close(int fd) { return _close(fd); }
// Windows renames over an existing file only when asked to.
std::error_code ReplaceWith(const std::filesystem::path& from, const std::filesystem::path& to) {
  if (MoveFileExW(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
    return {};
  }
  return std::error_code(static_cast<int>(GetLastError()), std::system_category());
}
#else
// O_EXCL with O_CREAT fails on any existing name, a symbolic link included.
constexpr int kCreateFlags = O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC;

int CreateExclusive(const std::filesystem::path& path) {
  return open(path.c_str(), kCreateFlags, 0666);
}
ssize_t WriteSome(int fd, const uint8_t* data, std::size_t size) { return write(fd, data, size); }
int Flush(int fd) {
  // A file system that cannot sync (EINVAL) still has the bytes.
  return fsync(fd) == 0 || errno == EINVAL ? 0 : -1;
}
int Close(int fd) { return close(fd); }
std::error_code ReplaceWith(const std::filesystem::path& from, const std::filesystem::path& to) {
  if (std::rename(from.c_str(), to.c_str()) == 0) return {};
  return std::error_code(errno, std::generic_category());
}
#endif

// A name beside the target that no other writer picks: random digits, new ones for
// each attempt.
std::filesystem::path TemporaryName(const std::filesystem::path& target, uint64_t salt) {
  static constexpr char kHex[] = "0123456789abcdef";
  std::random_device device;
  uint64_t bits =
      (uint64_t{device()} << 32) ^ device() ^ salt ^
      static_cast<uint64_t>(std::chrono::steady_clock::now().time_since_epoch().count());
  std::string suffix = ".";
  for (int i = 0; i < 12; ++i, bits >>= 4) suffix += kHex[bits & 15];
  suffix += ".tmp";
  std::filesystem::path name = target;
  name += suffix;
  return name;
}

// Writes every byte; false with errno set on failure.
bool WriteAll(int fd, std::span<const uint8_t> bytes) {
  std::size_t done = 0;
  while (done < bytes.size()) {
    const auto wrote = WriteSome(fd, bytes.data() + done, bytes.size() - done);
    if (wrote < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    if (wrote == 0) {
      errno = EIO;
      return false;
    }
    done += static_cast<std::size_t>(wrote);
  }
  return true;
}

}  // namespace

IoResult WriteFileAtomically(const std::filesystem::path& target, std::span<const uint8_t> bytes) {
  constexpr int kAttempts = 64;
  std::filesystem::path temporary;
  int fd = -1;
  for (int attempt = 0; attempt < kAttempts && fd < 0; ++attempt) {
    temporary = TemporaryName(target, static_cast<uint64_t>(attempt) * 0x9E3779B97F4A7C15u);
    errno = 0;
    fd = CreateExclusive(temporary);
    if (fd < 0 && errno != EEXIST) return IoResult::FromErrno(temporary, "cannot create", errno);
  }
  if (fd < 0) return IoResult::FromErrno(temporary, "cannot create", EEXIST);

  const auto remove_temporary = [&temporary] {
    std::error_code ignored;
    std::filesystem::remove(temporary, ignored);
  };
  errno = 0;
  if (!WriteAll(fd, bytes) || Flush(fd) != 0) {
    const int error_number = errno;
    Close(fd);
    remove_temporary();
    return IoResult::FromErrno(temporary, "cannot write", error_number);
  }
  errno = 0;
  if (Close(fd) != 0) {
    const int error_number = errno;
    remove_temporary();
    return IoResult::FromErrno(temporary, "cannot write", error_number);
  }
  if (const std::error_code error = ReplaceWith(temporary, target)) {
    remove_temporary();
    return IoResult::FromError(target, "cannot replace", error);
  }
  return IoResult::Ok();
}

IoResult WriteFileAtomically(const std::filesystem::path& target, std::string_view text) {
  return WriteFileAtomically(
      target, std::span<const uint8_t>(reinterpret_cast<const uint8_t*>(text.data()), text.size()));
}

}  // namespace orlan
