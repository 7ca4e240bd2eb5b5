// The two plug-in memory cartridges, each a raw image file read and written in place.
#ifndef ORLAN_DEVICES_CARTRIDGES_H_
#define ORLAN_DEVICES_CARTRIDGES_H_

#include <array>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "devices/io_result.h"

namespace orlan {

class StateReader;
class StateWriter;

inline constexpr int kCartridgeCount = 2;
inline constexpr std::array<std::string_view, kCartridgeCount> kCartridgeFileNames = {"smp0.bin",
                                                                                      "smp1.bin"};
// A file this long or longer is a read-only cartridge with 24-bit addresses.
inline constexpr uint32_t kCartridgeReadOnlySize = 65536;

// The high four bits of a cartridge command.
inline constexpr uint8_t kCartNone = 0x00;
inline constexpr uint8_t kCartReadDown = 0x10;
inline constexpr uint8_t kCartReadUp = 0xD0;
inline constexpr uint8_t kCartWriteDown = 0x20;
inline constexpr uint8_t kCartWriteUp = 0xC0;
inline constexpr uint8_t kCartWriteDown2 = 0xE0;
inline constexpr uint8_t kCartLoadAddress = 0xA0;

struct Cartridge {
  std::FILE* file = nullptr;  // unbuffered: every stored byte reaches the file at once
  bool present = false;
  uint32_t size = 0;
  uint32_t address = 0;
  uint32_t address_mask = 0;
  uint8_t command = 0;
};

class Cartridges {
 public:
  Cartridges() = default;
  ~Cartridges();  // closes files still open, ignoring errors
  Cartridges(const Cartridges&) = delete;
  Cartridges& operator=(const Cartridges&) = delete;

  // Opens "smp<n>.bin" in `directory` for reading and writing when it exists. A
  // missing file leaves the cartridge absent and is no error; an existing file that
  // cannot be opened is.
  IoResult CartOpen(int n, const std::filesystem::path& directory);
  // Closes the file of cartridge n, if open; the cartridge is absent afterwards.
  IoResult CartClose(int n);
  // Sets the command of cartridge n (present or not); always returns 0.
  uint8_t CartSetCommand(int n, uint8_t value);
  // Carries out the current command with one data byte; returns the answer (377 for
  // an absent cartridge). A file read or write that fails answers 377 and is
  // recorded for TakeError once, until a file access of that cartridge succeeds
  // again (a full disk must not bring a message per byte); the machine runs on.
  uint8_t CartTransfer(int n, uint8_t data);

  // Each cartridge's address and command, and the size of its file (the contents are
  // the live file's). A load keeps the files as they are and adds to `warnings` (when
  // given) a line for each file whose presence or size differs from the state's.
  void SaveState(StateWriter& out) const;
  void LoadState(StateReader& in, std::vector<std::string>* warnings);

  // The oldest file error not yet taken; nullopt when none. The front end tells the
  // user.
  std::optional<std::string> TakeError();
  // How many file writes were tried, and how many file accesses failed, so far.
  uint32_t writes() const { return writes_; }
  uint32_t faults() const { return faults_; }

  // n is 0 or 1.
  const Cartridge& cartridge(int n) const { return carts_[n]; }
  bool present(int n) const { return n >= 0 && n < kCartridgeCount && carts_[n].present; }

 private:
  bool ReadByte(int n, uint8_t& value);
  bool WriteByte(int n, uint8_t value);
  void RecordError(int n, std::string_view what, int error_number);

  std::array<Cartridge, kCartridgeCount> carts_{};
  std::array<bool, kCartridgeCount> faulted_{};  // told, and not working again yet
  std::vector<std::string> errors_;
  uint32_t writes_ = 0;
  uint32_t faults_ = 0;
};

}  // namespace orlan

#endif  // ORLAN_DEVICES_CARTRIDGES_H_
