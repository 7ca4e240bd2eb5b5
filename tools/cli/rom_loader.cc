#include "tools/cli/rom_loader.h"

#include <algorithm>
#include <cstddef>
#include <fstream>
#include <stdexcept>
#include <vector>

namespace orlan::cli {

namespace {

constexpr std::size_t kRomtSize = 16384;
constexpr std::size_t kRomSize = 32512;
constexpr uint16_t kRomImageBase = 0100000;

std::vector<char> ReadPrefix(const std::string& path, std::size_t size) {
  std::vector<char> bytes(size);
  std::ifstream file(path, std::ios::binary);
  if (!file) throw std::runtime_error("cannot read file: " + path);
  file.read(bytes.data(), static_cast<std::streamsize>(size));
  if (static_cast<std::size_t>(file.gcount()) != size) {
    throw std::runtime_error(path + ": shorter than " + std::to_string(size) + " bytes");
  }
  return bytes;
}

}  // namespace

void LoadRomImages(Machine& machine, const std::string& rom_path, const std::string& romt_path) {
  std::vector<char> romt, rom;
  if (!romt_path.empty()) romt = ReadPrefix(romt_path, kRomtSize);
  if (!rom_path.empty()) rom = ReadPrefix(rom_path, kRomSize);
  auto store = machine.rom();
  std::fill(store.begin(), store.end(), 0377);
  std::copy(romt.begin(), romt.end(), store.begin());
  std::copy(rom.begin(), rom.end(), store.begin() + (kRomImageBase - kRomBase));
}

}  // namespace orlan::cli
