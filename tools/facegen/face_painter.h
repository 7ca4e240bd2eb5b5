// Paints our own face pictures for the emulator's window: the face with its display
// frame, keys and legends, the key images (pressed and released frames with
// transparent green interiors) and the alternative legend strips.
#ifndef ORLAN_TOOLS_FACEGEN_FACE_PAINTER_H_
#define ORLAN_TOOLS_FACEGEN_FACE_PAINTER_H_

#include <QColor>
#include <QImage>
#include <string>

namespace orlan::facegen {

// Pure green: transparent in key images.
inline const QColor kTransparentGreen(0, 255, 0);

QImage PaintFace();     // 790 x 312
QImage PaintKeys();     // 124 x 40
QImage PaintOverlay();  // 282 x 72
// The program's icon, kIconSize square: the face's body, display and keys in small,
// on a transparent ground.
inline constexpr int kIconSize = 256;
QImage PaintIcon();

// Legend of key index 1-63 on the key cap, and the two legend strip texts above it:
// the host key that types it (shown on the face) and its code (the alternative set).
std::string CapLegend(int key_index);
std::string HostKeyLegend(int key_index);
std::string CodeLegend(int key_index);

}  // namespace orlan::facegen

#endif  // ORLAN_TOOLS_FACEGEN_FACE_PAINTER_H_
