// The display as a picture of any whole-number scale, for the monitor's and the
// window's screenshots.
#ifndef ORLAN_FRONTEND_LCD_IMAGE_H_
#define ORLAN_FRONTEND_LCD_IMAGE_H_

#include <cstdint>
#include <vector>

#include "devices/lcd.h"

namespace orlan {

// Each dot of the display a `scale` by `scale` square (scale >= 1) in the display's
// own colours, row by row as 0xAARRGGBB: (kLcdWidth * scale) x (kLcdHeight * scale).
std::vector<uint32_t> ScaledLcdPixels(const Lcd& lcd, int scale);

// That picture as a PNG file.
std::vector<uint8_t> EncodeLcdPng(const Lcd& lcd, int scale);

}  // namespace orlan

#endif  // ORLAN_FRONTEND_LCD_IMAGE_H_
