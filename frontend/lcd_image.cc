#include "frontend/lcd_image.h"

#include "frontend/png_image.h"

namespace orlan {

std::vector<uint32_t> ScaledLcdPixels(const Lcd& lcd, int scale) {
  const int width = kLcdWidth * scale;
  std::vector<uint32_t> pixels(static_cast<std::size_t>(width) * kLcdHeight * scale);
  for (int y = 0; y < kLcdHeight * scale; ++y) {
    for (int x = 0; x < width; ++x) {
      pixels[static_cast<std::size_t>(y) * width + x] =
          lcd.DotDark(x / scale, y / scale) ? kLcdDark : kLcdLight;
    }
  }
  return pixels;
}

std::vector<uint8_t> EncodeLcdPng(const Lcd& lcd, int scale) {
  return EncodePng(kLcdWidth * scale, kLcdHeight * scale, ScaledLcdPixels(lcd, scale));
}

}  // namespace orlan
