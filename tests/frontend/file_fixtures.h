// Files for tests: temporary folders, byte patterns and failing writes.
#ifndef ORLAN_TESTS_FRONTEND_FILE_FIXTURES_H_
#define ORLAN_TESTS_FRONTEND_FILE_FIXTURES_H_

#include <sys/resource.h>

#include <algorithm>
#include <csignal>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <vector>

namespace orlan::testing {

// A fresh folder for one test's files, removed with everything in it afterwards.
class TempDir {
 public:
  TempDir() {
    std::random_device random;
    for (;;) {
      path_ =
          std::filesystem::temp_directory_path() / ("orlan-frontend-" + std::to_string(random()));
      if (std::filesystem::create_directory(path_)) break;
    }
  }
  ~TempDir() {
    std::error_code ec;
    std::filesystem::remove_all(path_, ec);
  }
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;

  const std::filesystem::path& path() const { return path_; }
  std::filesystem::path operator/(const std::string& name) const { return path_ / name; }

  void Write(const std::string& name, const std::string& text) const {
    std::ofstream(path_ / name, std::ios::binary) << text;
  }
  void Write(const std::string& name, const std::vector<uint8_t>& bytes) const {
    std::ofstream out(path_ / name, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
  }
  std::vector<uint8_t> Read(const std::string& name) const {
    std::ifstream in(path_ / name, std::ios::binary);
    return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), {});
  }
  // Names of everything in the directory, for checking that nothing was left behind.
  std::vector<std::string> Entries() const {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(path_)) {
      names.push_back(entry.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    return names;
  }

 private:
  std::filesystem::path path_;
};

// `size` bytes counting up from `first`, so misplaced or shifted copies show.
inline std::vector<uint8_t> Pattern(std::size_t size, uint8_t first = 1) {
  std::vector<uint8_t> bytes(size);
  for (std::size_t i = 0; i < size; ++i) bytes[i] = static_cast<uint8_t>(first + i * 7 + i / 256);
  return bytes;
}

// While alive, writes at file offsets of `limit` and beyond fail (instead of the
// process being killed), as on a full medium.
class FileSizeLimit {
 public:
  explicit FileSizeLimit(rlim_t limit) : old_handler_(std::signal(SIGXFSZ, SIG_IGN)) {
    getrlimit(RLIMIT_FSIZE, &saved_);
    rlimit lowered = saved_;
    lowered.rlim_cur = limit;
    setrlimit(RLIMIT_FSIZE, &lowered);
  }
  ~FileSizeLimit() {
    setrlimit(RLIMIT_FSIZE, &saved_);
    std::signal(SIGXFSZ, old_handler_);
  }
  FileSizeLimit(const FileSizeLimit&) = delete;
  FileSizeLimit& operator=(const FileSizeLimit&) = delete;

 private:
  void (*old_handler_)(int);
  rlimit saved_{};
};

}  // namespace orlan::testing

#endif  // ORLAN_TESTS_FRONTEND_FILE_FIXTURES_H_
