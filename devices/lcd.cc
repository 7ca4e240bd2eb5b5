#include "devices/lcd.h"

#include "core/machine.h"
#include "core/state_io.h"
#include "core/word.h"

namespace orlan {

Lcd::Lcd(Machine& machine)
    : machine_(machine), picture_(kLcdPictureWidth * kLcdPictureHeight, kLcdLight) {}

uint8_t* Lcd::Read(uint16_t offset) {
  StoreWord(latch_.data(), regs_[(offset >> 1) & 1]);
  return latch_.data();
}

uint8_t* Lcd::Write(uint16_t offset) {
  pending_ = (offset >> 1) & 1;
  machine_.ArmPendingWrite(this);
  return latch_.data();
}

void Lcd::Commit() {
  if (pending_ == kNone) return;
  regs_[pending_] = LoadWord(latch_.data());
  pending_ = kNone;
}

void Lcd::LcdInit() { pending_ = kNone; }

uint8_t Lcd::DisplayByte(int j) const {
  const uint16_t a = static_cast<uint16_t>(regs_[0] + j);
  return a <= machine_.ram_top() ? machine_.ram()[a] : 0377;
}

bool Lcd::DotDark(int x, int y) const {
  // Word k = 15 * (y mod 32) + x / 8: its low byte is the upper half, its high byte
  // the lower half; bit 7 is the leftmost dot.
  const int k = 15 * (y % 32) + x / 8;
  const int j = 2 * k + (y >= 32 ? 1 : 0);
  return (DisplayByte(j) >> (7 - x % 8)) & 1;
}

std::string Lcd::DotsText(char dark, char light) const {
  std::string text;
  text.reserve((kLcdWidth + 1) * kLcdHeight);
  for (int y = 0; y < kLcdHeight; ++y) {
    for (int x = 0; x < kLcdWidth; ++x) text += DotDark(x, y) ? dark : light;
    text += '\n';
  }
  return text;
}

void Lcd::PaintByte(int j, uint8_t value) {
  const int k = j / 2;
  const int row = k / 15 + (j % 2 == 1 ? 32 : 0);
  const int x0 = (k % 15) * 8 * kLcdScale;
  const int y0 = row * kLcdScale;
  for (int bit = 0; bit < 8; ++bit) {
    const uint32_t colour = (value & (0200 >> bit)) ? kLcdDark : kLcdLight;
    const int x = x0 + bit * kLcdScale;
    for (int dy = 0; dy < kLcdScale; ++dy) {
      uint32_t* line = &picture_[(y0 + dy) * kLcdPictureWidth + x];
      for (int dx = 0; dx < kLcdScale; ++dx) line[dx] = colour;
    }
  }
}

void Lcd::DrawLcd() {
  for (int j = 0; j < kLcdBytes; ++j) {
    const uint8_t b = DisplayByte(j);
    if (b == shadow_[j]) continue;
    changed_ = true;
    shadow_[j] = b;
    PaintByte(j, b);
  }
}

void Lcd::SaveState(StateWriter& out) const {
  out.Section("LCD");
  out.U16(regs_[0]);
  out.U16(regs_[1]);
  out.Index(pending_);
  out.Bytes(latch_);
  out.Bytes(shadow_);
}

void Lcd::LoadState(StateReader& in) {
  in.Section("LCD");
  regs_[0] = in.U16();
  regs_[1] = in.U16();
  pending_ = in.Index(2);
  in.Bytes(latch_);
  in.Bytes(shadow_);
  for (int j = 0; j < kLcdBytes; ++j) PaintByte(j, shadow_[j]);
  changed_ = true;
}

void Lcd::InvalidateLcd() {
  const auto ram = machine_.ram();
  for (int j = 0; j < kLcdBytes; ++j) {
    shadow_[j] = static_cast<uint8_t>(~ram[kLcdInvalidateBase + j]);
    PaintByte(j, shadow_[j]);
  }
}

}  // namespace orlan
