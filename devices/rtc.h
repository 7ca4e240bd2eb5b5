// The real-time clock chip: 64 byte registers, a one-second tick that advances the
// calendar and a periodic tick that requests the clock interrupt.
#ifndef ORLAN_DEVICES_RTC_H_
#define ORLAN_DEVICES_RTC_H_

#include <array>
#include <cstdint>
#include <filesystem>
#include <string_view>

#include "core/bus_device.h"
#include "devices/io_result.h"
#include "devices/local_time.h"

namespace orlan {

class Machine;
class StateReader;
class StateWriter;

inline constexpr int kRtcRegisterCount = 64;
inline constexpr std::string_view kRtcFileName = "rtc.bin";

// Register numbers.
inline constexpr int kRtcSeconds = 0;
inline constexpr int kRtcMinutes = 2;
inline constexpr int kRtcHours = 4;
inline constexpr int kRtcWeekday = 6;
inline constexpr int kRtcDay = 7;
inline constexpr int kRtcMonth = 8;
inline constexpr int kRtcYear = 9;
inline constexpr int kRtcControl = 11;  // 010: periodic irq, 020/0100: flag bit 7
inline constexpr int kRtcFlags = 12;    // 020 second, 0100 periodic, 0200 enabled one
inline constexpr int kRtcStatus = 13;

class Rtc final : public BusDevice {
 public:
  static constexpr int kNone = -1;

  explicit Rtc(Machine& machine);

  // Bus window 165000-165177: register (offset >> 1) & 63, its value in bits 1-8.
  // Both handlers first commit a write still waiting in the latch.
  uint8_t* Read(uint16_t offset) override;
  uint8_t* Write(uint16_t offset) override;
  // RtcCommit: takes bits 1-8 of the latch into the pending register (writes of
  // registers 12 and 13 are dropped).
  void Commit() override;

  // Start-up: clears the control and status registers and sets the time.
  void RtcInit(const LocalTime& now);
  // Every second: commits, sets the second flags and advances the calendar.
  void RtcSecondTick();
  // Every 32 ms: requests the clock interrupt (unless the run is stopped or paused) when
  // register 11 bit 3 is set, and sets the periodic flags.
  void RtcPeriodicTick();
  // Close: commits, then writes the 64 registers to "rtc.bin" in `directory`, which
  // is replaced as a whole or not at all.
  IoResult RtcSave(const std::filesystem::path& directory);

  // Registers and the write waiting in the latch.
  void SaveState(StateWriter& out) const;
  void LoadState(StateReader& in);

  uint8_t reg(int i) const { return regs_[i & 077]; }
  void set_reg(int i, uint8_t value) { regs_[i & 077] = value; }
  const std::array<uint8_t, kRtcRegisterCount>& registers() const { return regs_; }
  int pending_index() const { return pending_; }
  uint16_t latch() const { return static_cast<uint16_t>(latch_[0] | latch_[1] << 8); }

 private:
  void AdvanceTime();

  Machine& machine_;
  std::array<uint8_t, kRtcRegisterCount> regs_{};
  int pending_ = kNone;
  std::array<uint8_t, 2> latch_{};
};

}  // namespace orlan

#endif  // ORLAN_DEVICES_RTC_H_
