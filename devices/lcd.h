// The LCD controller: two registers on the bus and the picture of display memory.
#ifndef ORLAN_DEVICES_LCD_H_
#define ORLAN_DEVICES_LCD_H_

#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "core/bus_device.h"

namespace orlan {

class Machine;
class StateReader;
class StateWriter;

inline constexpr int kLcdWidth = 120;  // dots
inline constexpr int kLcdHeight = 64;
inline constexpr int kLcdBytes = 960;
inline constexpr int kLcdScale = 3;  // each dot is a 3 by 3 square of the picture
inline constexpr int kLcdPictureWidth = kLcdWidth * kLcdScale;    // 360
inline constexpr int kLcdPictureHeight = kLcdHeight * kLcdScale;  // 192
// Picture pixels are 0xAARRGGBB words, ready for a 32-bit RGB image.
inline constexpr uint32_t kLcdDark = 0xFF000000;
inline constexpr uint32_t kLcdLight = 0xFFFFFFFF;
// The RAM that InvalidateLcd compares against.
inline constexpr uint16_t kLcdInvalidateBase = 01000;

class Lcd final : public BusDevice {
 public:
  static constexpr int kNone = -1;

  explicit Lcd(Machine& machine);

  // Bus window 164000-164003: register (offset >> 1) & 1.
  uint8_t* Read(uint16_t offset) override;
  uint8_t* Write(uint16_t offset) override;
  // LcdCommit: copies the whole latch into the pending register.
  void Commit() override;

  // Start-up: forgets any pending register write.
  void LcdInit();
  // Repaints the picture wherever a display byte differs from its shadow; sets
  // changed() when anything was painted.
  void DrawLcd();
  // Sets every shadow byte to the complement of the RAM byte at 01000 + j, so the
  // next DrawLcd repaints (nearly) everything. The picture is repainted from the new
  // shadow so that it always shows what the shadow says was drawn.
  void InvalidateLcd();

  // Register 0 (LcdStart) and register 1.
  uint16_t reg(int i) const { return regs_[i & 1]; }
  void set_reg(int i, uint16_t value) { regs_[i & 1] = value; }
  uint16_t lcd_start() const { return regs_[0]; }
  int pending_index() const { return pending_; }
  uint16_t latch() const { return static_cast<uint16_t>(latch_[0] | latch_[1] << 8); }

  // Display byte j (0-959) as the display shows it now: the RAM byte at
  // LcdStart + j (16-bit wrap), or 377 when that address is not RAM.
  uint8_t DisplayByte(int j) const;
  // Whether dot (x, y) of the 120 x 64 display is dark in display memory now
  // (independent of the picture and the shadow).
  bool DotDark(int x, int y) const;
  // The display as 64 lines of 120 characters, each line ending in a newline.
  std::string DotsText(char dark = '#', char light = '.') const;

  // Registers, latch and shadow. A load repaints the whole picture from the shadow
  // (the picture always shows what the shadow says was drawn) and marks it changed.
  void SaveState(StateWriter& out) const;
  void LoadState(StateReader& in);

  // LcdChanged.
  bool changed() const { return changed_; }
  void set_changed(bool changed) { changed_ = changed; }

  // LcdShadow.
  std::span<const uint8_t, kLcdBytes> shadow() const { return shadow_; }

  // LcdPicture: kLcdPictureWidth x kLcdPictureHeight pixels, row by row, no padding.
  const uint32_t* pixels() const { return picture_.data(); }
  uint32_t Pixel(int x, int y) const { return picture_[y * kLcdPictureWidth + x]; }

 private:
  void PaintByte(int j, uint8_t value);

  Machine& machine_;
  std::array<uint16_t, 2> regs_{};
  int pending_ = kNone;
  std::array<uint8_t, 2> latch_{};
  std::array<uint8_t, kLcdBytes> shadow_{};
  bool changed_ = false;
  std::vector<uint32_t> picture_;
};

}  // namespace orlan

#endif  // ORLAN_DEVICES_LCD_H_
