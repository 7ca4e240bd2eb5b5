// A fresh machine with the peripherals installed, bus accesses made the way
// instructions make them, and a scratch directory for machine files.
#ifndef ORLAN_TESTS_DEVICES_DEVICE_BENCH_H_
#define ORLAN_TESTS_DEVICES_DEVICE_BENCH_H_

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "core/machine.h"
#include "core/word.h"
#include "devices/board.h"

namespace orlan::testing {

class ScratchDir {
 public:
  explicit ScratchDir(const std::string& tag = "") {
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    path_ = std::filesystem::temp_directory_path() /
            ("orlan_devices_" + std::string(info->test_suite_name()) + "_" + info->name() + tag);
    std::filesystem::remove_all(path_);
    std::filesystem::create_directories(path_);
  }
  ~ScratchDir() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
  }
  const std::filesystem::path& path() const { return path_; }
  void WriteFile(const std::string& name, const std::vector<uint8_t>& bytes) const {
    std::ofstream(path_ / name, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()),
               static_cast<std::streamsize>(bytes.size()));
  }
  std::vector<uint8_t> ReadFile(const std::string& name) const {
    std::ifstream in(path_ / name, std::ios::binary);
    return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), {});
  }

 private:
  std::filesystem::path path_;
};

// `size` bytes, the byte at offset a being (a * 7 + 3) mod 256.
inline std::vector<uint8_t> PatternBytes(std::size_t size) {
  std::vector<uint8_t> bytes(size);
  for (std::size_t a = 0; a < size; ++a) bytes[a] = static_cast<uint8_t>(a * 7 + 3);
  return bytes;
}

struct Bench {
  Machine machine;
  Board board = InstallDevices(machine);

  uint16_t ReadWord(uint16_t address) {
    machine.cpu.ea = address;
    return LoadWord(machine.BusLocateRead());
  }
  void WriteWord(uint16_t address, uint16_t value) {
    machine.cpu.ea = address;
    StoreWord(machine.BusLocateWrite(), value);
  }
  void WriteByte(uint16_t address, uint8_t value) {
    machine.cpu.ea = address;
    StoreByte(machine.BusLocateWrite(), value);
  }
  // One processor step, which first commits a pending device write. It runs BR .
  // with interrupts masked and its stack clear of the memory the tests use.
  void Step() {
    machine.PokeByte(036000, 0377);
    machine.PokeByte(036001, 001);
    machine.cpu.set_pc(036000);
    machine.cpu.set_sp(037000);
    machine.cpu.psw = 0340;
    machine.CpuStep();
  }
  void Store(uint16_t address, uint16_t value) {
    WriteWord(address, value);
    Step();
  }
};

}  // namespace orlan::testing

#endif  // ORLAN_TESTS_DEVICES_DEVICE_BENCH_H_
