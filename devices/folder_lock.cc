#include "devices/folder_lock.h"

#include <string>

#ifdef _WIN32
#include "devices/windows_api.h"
#else
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#endif

namespace orlan {
namespace {

IoResult InUse(const std::filesystem::path& folder) {
  return IoResult::Failure(PathText(folder) + ": the machine folder is in use by another emulator");
}

}  // namespace

#ifdef _WIN32

IoResult FolderLock::Acquire(const std::filesystem::path& folder) {
  Release();
  const std::filesystem::path path = folder / kLockFileName;
  HANDLE file = CreateFileW(path.c_str(), GENERIC_READ | GENERIC_WRITE,
                            FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                            OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return IoResult::Ok();  // no lock file: no lock
  OVERLAPPED at{};
  if (!LockFileEx(file, LOCKFILE_EXCLUSIVE_LOCK | LOCKFILE_FAIL_IMMEDIATELY, 0, 1, 0, &at)) {
    const DWORD error = GetLastError();
    CloseHandle(file);
    if (error == ERROR_LOCK_VIOLATION || error == ERROR_IO_PENDING) return InUse(folder);
    return IoResult::Ok();
  }
  handle_ = reinterpret_cast<intptr_t>(file);
  return IoResult::Ok();
}

void FolderLock::Release() {
  if (handle_ == kNone) return;
  HANDLE file = reinterpret_cast<HANDLE>(handle_);
  OVERLAPPED at{};
  UnlockFileEx(file, 0, 1, 0, &at);
  CloseHandle(file);
  handle_ = kNone;
}

#else

IoResult FolderLock::Acquire(const std::filesystem::path& folder) {
  Release();
  const std::filesystem::path path = folder / kLockFileName;
  // Never through a link, and never blocking on something that is no regular file.
  const int fd = open(path.c_str(), O_RDWR | O_CREAT | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC, 0666);
  if (fd < 0) return IoResult::Ok();  // no lock file: no lock
  struct stat status {};
  if (fstat(fd, &status) != 0 || !S_ISREG(status.st_mode)) {
    close(fd);
    return IoResult::Ok();
  }
  // flock, unlike fcntl's record locks, belongs to this open file: a second claim from
  // the same process conflicts too, and closing another descriptor of the file does
  // not drop it.
  if (flock(fd, LOCK_EX | LOCK_NB) != 0) {
    const int error_number = errno;
    close(fd);
    if (error_number == EWOULDBLOCK) return InUse(folder);
    return IoResult::Ok();
  }
  handle_ = fd;
  return IoResult::Ok();
}

void FolderLock::Release() {
  if (handle_ == kNone) return;
  close(static_cast<int>(handle_));  // closing drops the lock
  handle_ = kNone;
}

#endif

}  // namespace orlan
