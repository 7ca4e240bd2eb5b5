// A FIFO where a machine file is expected, for tests of code that must never open one.
// Should the code under test block on it all the same, a writer comes after a while
// and ends the read, so that the test fails instead of hanging.
#ifndef ORLAN_TESTS_SUPPORT_FIFO_H_
#define ORLAN_TESTS_SUPPORT_FIFO_H_

#ifndef _WIN32
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <condition_variable>
#include <filesystem>
#include <mutex>
#include <thread>
#include <vector>

namespace orlan::testing {

class Fifo {
 public:
  explicit Fifo(std::filesystem::path path) : path_(std::move(path)) {
    mkfifo(path_.c_str(), 0600);
    watchdog_ = std::thread([this] { Watch(); });
  }
  ~Fifo() {
    {
      std::lock_guard<std::mutex> lock(mutex_);
      done_ = true;
    }
    wake_.notify_all();
    watchdog_.join();
  }
  Fifo(const Fifo&) = delete;
  Fifo& operator=(const Fifo&) = delete;

 private:
  void Watch() {
    std::unique_lock<std::mutex> lock(mutex_);
    if (wake_.wait_for(lock, std::chrono::seconds(5), [this] { return done_; })) return;
    // Someone opened it: feed a reader enough bytes for any machine file, then an end.
    const std::vector<char> bytes(65536, 0);
    while (!wake_.wait_for(lock, std::chrono::milliseconds(100), [this] { return done_; })) {
      const int fd = open(path_.c_str(), O_WRONLY | O_NONBLOCK);
      if (fd < 0) continue;
      [[maybe_unused]] const auto wrote = write(fd, bytes.data(), bytes.size());
      close(fd);
    }
  }

  std::filesystem::path path_;
  std::mutex mutex_;
  std::condition_variable wake_;
  bool done_ = false;
  std::thread watchdog_;
};

}  // namespace orlan::testing

#endif  // _WIN32

#endif  // ORLAN_TESTS_SUPPORT_FIFO_H_
