// Another process that claims a machine folder and then waits to be killed, for tests
// of a lock that must not outlive its holder.
#ifndef ORLAN_TESTS_SUPPORT_LOCK_HOLDER_H_
#define ORLAN_TESTS_SUPPORT_LOCK_HOLDER_H_

#include <filesystem>

#ifdef _WIN32
#include <string>

#include "devices/windows_api.h"
#else
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include "devices/folder_lock.h"
#endif

namespace orlan::testing {

class LockHolder {
 public:
  // Starts the holder and waits until it holds `folder`; held() tells whether it does.
  explicit LockHolder(const std::filesystem::path& folder) { Start(folder); }
  ~LockHolder() { Kill(); }
  LockHolder(const LockHolder&) = delete;
  LockHolder& operator=(const LockHolder&) = delete;

  bool held() const { return held_; }

#ifdef _WIN32
  // Ends the holder at once, as the task manager does.
  void Kill() {
    if (child_.hProcess == nullptr) return;
    TerminateProcess(child_.hProcess, 1);
    WaitForSingleObject(child_.hProcess, INFINITE);
    CloseHandle(child_.hThread);
    CloseHandle(child_.hProcess);
    CloseHandle(lifeline_);
    child_ = {};
  }

 private:
  // A separate program (ORLAN_LOCK_HOLDER) that reports the lock on its output and
  // ends by itself when its input does, so that a failed test leaves no holder behind.
  void Start(const std::filesystem::path& folder) {
    SECURITY_ATTRIBUTES inherited{sizeof(SECURITY_ATTRIBUTES), nullptr, TRUE};
    HANDLE report = nullptr, report_end = nullptr, lifeline_end = nullptr;
    if (!CreatePipe(&report, &report_end, &inherited, 0)) return;
    if (!CreatePipe(&lifeline_end, &lifeline_, &inherited, 0)) {
      CloseHandle(report);
      CloseHandle(report_end);
      return;
    }
    SetHandleInformation(report, HANDLE_FLAG_INHERIT, 0);
    SetHandleInformation(lifeline_, HANDLE_FLAG_INHERIT, 0);
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = lifeline_end;
    startup.hStdOutput = report_end;
    startup.hStdError = report_end;
    std::wstring command = L"\"" + std::filesystem::path(ORLAN_LOCK_HOLDER).wstring() + L"\" \"" +
                           folder.wstring() + L"\"";
    if (CreateProcessW(nullptr, command.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr,
                       &startup, &child_)) {
      CloseHandle(report_end);
      report_end = nullptr;
      char byte = 0;
      DWORD got = 0;
      held_ = ReadFile(report, &byte, 1, &got, nullptr) && got == 1 && byte == '!';
    } else {
      child_ = {};
      CloseHandle(lifeline_);
    }
    if (report_end != nullptr) CloseHandle(report_end);
    CloseHandle(report);
    CloseHandle(lifeline_end);
  }

  PROCESS_INFORMATION child_{};
  HANDLE lifeline_ = nullptr;  // the holder's input, open while it is to live
#else
  // Ends the holder at once: no destructor or exit handler of its runs.
  void Kill() {
    if (child_ <= 0) return;
    kill(child_, SIGKILL);
    waitpid(child_, nullptr, 0);
    child_ = -1;
  }

 private:
  // A copy of this process that reports the lock through a pipe.
  void Start(const std::filesystem::path& folder) {
    int report[2];
    if (pipe(report) != 0) return;
    child_ = fork();
    if (child_ == 0) {
      FolderLock lock;
      if (lock.Acquire(folder).ok() && lock.held()) {
        [[maybe_unused]] const auto wrote = write(report[1], "!", 1);
      }
      pause();
      _exit(0);
    }
    close(report[1]);
    char byte = 0;
    held_ = child_ > 0 && read(report[0], &byte, 1) == 1;
    close(report[0]);
  }

  pid_t child_ = -1;
#endif
  bool held_ = false;
};

}  // namespace orlan::testing

#endif  // ORLAN_TESTS_SUPPORT_LOCK_HOLDER_H_
