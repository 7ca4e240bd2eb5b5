// Where things are on the pictures of the machine's face: the face itself, the
// display set into it, the legend strips above the key rows, the key picture and the
// alternative legend strips. The window and the picture generator both use these.
#ifndef ORLAN_DEVICES_FACE_GEOMETRY_H_
#define ORLAN_DEVICES_FACE_GEOMETRY_H_

#include <array>

#include "devices/lcd.h"

namespace orlan {

// The face picture.
inline constexpr int kFaceWidth = 790;
inline constexpr int kFaceHeight = 312;

// The display's picture sits on the face with its top left corner here.
inline constexpr int kLcdLeft = 62;
inline constexpr int kLcdTop = 55;
static_assert(kLcdPictureWidth == 360 && kLcdPictureHeight == 192);
static_assert(kLcdLeft + kLcdPictureWidth <= kFaceWidth);
static_assert(kLcdTop + kLcdPictureHeight <= kFaceHeight);

// The legend strips: kLegendWidth x kLegendHeight each, at x kLegendLeft, one above
// each key row.
inline constexpr int kLegendLeft = 486;
inline constexpr int kLegendWidth = 282;
inline constexpr int kLegendHeight = 9;
inline constexpr std::array<int, 8> kLegendStripY = {25, 58, 93, 124, 155, 186, 217, 248};

// The key picture: pressed and released images of the keys.
inline constexpr int kKeyPictureWidth = 124;
inline constexpr int kKeyPictureHeight = 40;

// The overlay picture: the alternative legend strips, stacked in order.
inline constexpr int kOverlayWidth = kLegendWidth;
inline constexpr int kOverlayHeight = kLegendHeight * static_cast<int>(kLegendStripY.size());
static_assert(kOverlayWidth == 282 && kOverlayHeight == 72);

}  // namespace orlan

#endif  // ORLAN_DEVICES_FACE_GEOMETRY_H_
