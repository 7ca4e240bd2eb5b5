#include "devices/rtc.h"

#include "core/machine.h"
#include "core/state_io.h"
#include "core/word.h"
#include "devices/atomic_file.h"

namespace orlan {
namespace {

// February always has 28 days: the chip knows no leap years.
constexpr std::array<uint8_t, 12> kMonthLengths = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};

constexpr uint8_t kFlagSecond = 0x10;
constexpr uint8_t kFlagPeriodic = 0x40;
constexpr uint8_t kFlagEnabled = 0x80;
constexpr uint8_t kControlIrq = 0x08;
constexpr uint8_t kStatusAfterRead = 0x80;

}  // namespace

Rtc::Rtc(Machine& machine) : machine_(machine) {}

void Rtc::Commit() {
  if (pending_ == kNone) return;
  if (pending_ != kRtcFlags && pending_ != kRtcStatus) {
    regs_[pending_] = static_cast<uint8_t>(LoadWord(latch_.data()) >> 1);
  }
  pending_ = kNone;
}

uint8_t* Rtc::Read(uint16_t offset) {
  Commit();
  const int i = (offset >> 1) & 077;
  StoreWord(latch_.data(), static_cast<uint16_t>(regs_[i] << 1));
  if (i == kRtcStatus) regs_[kRtcStatus] = kStatusAfterRead;
  if (i == kRtcFlags) regs_[kRtcFlags] = 0;
  return latch_.data();
}

uint8_t* Rtc::Write(uint16_t offset) {
  Commit();
  pending_ = (offset >> 1) & 077;
  return latch_.data();
}

void Rtc::RtcInit(const LocalTime& now) {
  pending_ = kNone;
  regs_[13] = regs_[12] = regs_[11] = regs_[10] = 0;
  regs_[kRtcYear] = static_cast<uint8_t>(((now.year % 100) + 100) % 100);
  regs_[kRtcMonth] = static_cast<uint8_t>(now.month);
  regs_[kRtcDay] = static_cast<uint8_t>(now.day);
  regs_[kRtcWeekday] = static_cast<uint8_t>(now.weekday);
  regs_[kRtcHours] = static_cast<uint8_t>(now.hour);
  regs_[kRtcMinutes] = static_cast<uint8_t>(now.minute);
  regs_[kRtcSeconds] = static_cast<uint8_t>(now.second);
}

void Rtc::RtcSecondTick() {
  Commit();
  regs_[kRtcFlags] |= kFlagSecond;
  if (regs_[kRtcControl] & kFlagSecond) regs_[kRtcFlags] |= kFlagEnabled;
  AdvanceTime();
}

void Rtc::AdvanceTime() {
  // Fields are bytes: one the processor set out of range wraps at 255 like the chip.
  if (++regs_[kRtcSeconds] < 60) return;
  regs_[kRtcSeconds] = 0;
  if (++regs_[kRtcMinutes] < 60) return;
  regs_[kRtcMinutes] = 0;
  if (++regs_[kRtcHours] < 24) return;
  regs_[kRtcHours] = 0;
  regs_[kRtcWeekday] = static_cast<uint8_t>(regs_[kRtcWeekday] % 7 + 1);
  // (month - 1) mod 12 taken as a true modulus, so that a month of 0 (which only
  // the processor can store) counts as December instead of leaving the table.
  const uint8_t month_length = kMonthLengths[(regs_[kRtcMonth] + 11) % 12];
  if (++regs_[kRtcDay] <= month_length) return;
  regs_[kRtcDay] = 1;
  if (++regs_[kRtcMonth] <= 12) return;
  regs_[kRtcMonth] = 1;
  if (++regs_[kRtcYear] > 99) regs_[kRtcYear] = 0;
}

void Rtc::RtcPeriodicTick() {
  if (!machine_.run.requests_held() && (regs_[kRtcControl] & kControlIrq)) {
    machine_.cpu.irq_clock = true;
  }
  regs_[kRtcFlags] |= kFlagPeriodic;
  if (regs_[kRtcControl] & kFlagPeriodic) regs_[kRtcFlags] |= kFlagEnabled;
}

void Rtc::SaveState(StateWriter& out) const {
  out.Section("RTC");
  out.Bytes(regs_);
  out.Index(pending_);
  out.Bytes(latch_);
}

void Rtc::LoadState(StateReader& in) {
  in.Section("RTC");
  in.Bytes(regs_);
  pending_ = in.Index(kRtcRegisterCount);
  in.Bytes(latch_);
}

IoResult Rtc::RtcSave(const std::filesystem::path& directory) {
  Commit();
  return WriteFileAtomically(directory / kRtcFileName, regs_);
}

}  // namespace orlan
