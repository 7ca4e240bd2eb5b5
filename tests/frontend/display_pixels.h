// The display's picture of a system, copied, for comparing one moment with another.
#ifndef ORLAN_TESTS_FRONTEND_DISPLAY_PIXELS_H_
#define ORLAN_TESTS_FRONTEND_DISPLAY_PIXELS_H_

#include <cstdint>
#include <vector>

#include "frontend/system.h"

namespace orlan::testing {

inline std::vector<uint32_t> DisplayPixels(const System& system) {
  const uint32_t* pixels = system.board().lcd.pixels();
  return std::vector<uint32_t>(pixels, pixels + kLcdPictureWidth * kLcdPictureHeight);
}

}  // namespace orlan::testing

#endif  // ORLAN_TESTS_FRONTEND_DISPLAY_PIXELS_H_
