// The claim of one emulator on a machine folder, so that a second one (another window,
// or the monitor beside the window) cannot write the same cartridge files.
#ifndef ORLAN_DEVICES_FOLDER_LOCK_H_
#define ORLAN_DEVICES_FOLDER_LOCK_H_

#include <cstdint>
#include <filesystem>

#include "devices/io_result.h"

namespace orlan {

// The file in the machine folder whose lock stands for the folder. It is created when
// missing and left in place: only the lock on it counts, never its presence.
inline constexpr char kLockFileName[] = "orlan.lock";

// An exclusive lock of the operating system (not a file of process numbers), so the
// system drops it however the process ends, and a killed emulator leaves no stale lock.
class FolderLock {
 public:
  FolderLock() = default;
  ~FolderLock() { Release(); }
  FolderLock(const FolderLock&) = delete;
  FolderLock& operator=(const FolderLock&) = delete;

  // Claims `folder`. Fails, with a message naming the folder, only when another
  // emulator (in this process or another) holds it; a folder in which the lock file
  // cannot be made (read-only media, for one) is used without a lock.
  IoResult Acquire(const std::filesystem::path& folder);
  // Lets the folder go; nothing when none is held.
  void Release();
  bool held() const { return handle_ != kNone; }

 private:
  static constexpr intptr_t kNone = -1;
  intptr_t handle_ = kNone;  // the open lock file: a descriptor or a Windows handle
};

}  // namespace orlan

#endif  // ORLAN_DEVICES_FOLDER_LOCK_H_
