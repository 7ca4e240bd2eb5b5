#include "tools/facegen/face_painter.h"

#include <QPainter>
#include <algorithm>
#include <array>
#include <cstdio>
#include <string_view>

#include "devices/face_geometry.h"
#include "devices/key_tables.h"
#include "tools/facegen/pixel_font.h"

namespace orlan::facegen {
namespace {

const QColor kBody(0x3A, 0x40, 0x48);
const QColor kBodyEdge(0x5C, 0x64, 0x6E);
const QColor kPanel(0x31, 0x36, 0x3D);
const QColor kBezel(0x1C, 0x1F, 0x23);
const QColor kGlass(0xF2, 0xF2, 0xEE);
const QColor kBrand(0xE8, 0xEC, 0xF0);
const QColor kStripText(0xC4, 0xCC, 0xD6);
const QColor kCodeText(0xF0, 0xC8, 0x60);
const QColor kKeyOutline(0x12, 0x14, 0x16);
const QColor kKeyLight(0xC8, 0xCC, 0xD2);
const QColor kKeyDark(0x58, 0x5E, 0x66);
const QColor kCapPlain(0xE4, 0xE6, 0xE8);
const QColor kCapFunction(0x9C, 0xAC, 0xC2);
const QColor kCapClose(0xB8, 0x3A, 0x3A);
const QColor kCapReset(0xC8, 0x8A, 0x2A);
const QColor kLegendDark(0x1E, 0x20, 0x24);
const QColor kLegendLight(0xFA, 0xFA, 0xFA);

// Names of the host keys in the key-down table, by virtual-key code.
struct HostKeyNameEntry {
  int virtual_key;
  std::string_view name;
};
constexpr std::array<HostKeyNameEntry, 13> kHostKeyNames = {{
    {0x08, "BKSP"},
    {0x0D, "ENTER"},
    {0x20, "SPACE"},
    {0x21, "PGUP"},
    {0x22, "PGDN"},
    {0x25, "LEFT"},
    {0x26, "UP"},
    {0x27, "RIGHT"},
    {0x28, "DOWN"},
    {0x75, "F6"},
    {0x76, "F7"},
    {0x77, "F8"},
    {0x78, "F9"},
}};

std::string_view HostKeyName(int virtual_key) {
  for (const auto& entry : kHostKeyNames) {
    if (entry.virtual_key == virtual_key) return entry.name;
  }
  return "";
}

int TextWidth(std::string_view text, int scale) {
  return text.empty() ? 0 : (static_cast<int>(text.size()) * 6 - 1) * scale;
}

void DrawText(QPainter& p, int x, int y, std::string_view text, const QColor& color, int scale) {
  for (char c : text) {
    const Glyph& g = GlyphOf(c);
    for (int row = 0; row < 7; ++row) {
      for (int col = 0; col < 5; ++col) {
        if (g.rows[row] & (0x80 >> col)) {
          p.fillRect(x + col * scale, y + row * scale, scale, scale, color);
        }
      }
    }
    x += 6 * scale;
  }
}

// A key frame: a dark outline, a bevel (light towards the top left when released,
// dark when pressed) and the interior: x+4..x+w-5 released, x+5..x+w-4 pressed, so that
// the face under a pressed key, moved one dot down and right, fills it exactly.
void DrawFrame(QImage& image, int x, int y, int w, int h, bool pressed, const QColor& interior) {
  const int in_lo = pressed ? 5 : 4;
  const int in_hi_x = pressed ? w - 4 : w - 5;
  const int in_hi_y = pressed ? h - 4 : h - 5;
  for (int j = 0; j < h; ++j) {
    for (int i = 0; i < w; ++i) {
      QColor c;
      if (i == 0 || j == 0 || i == w - 1 || j == h - 1) {
        c = kKeyOutline;
      } else if (i >= in_lo && i <= in_hi_x && j >= in_lo && j <= in_hi_y) {
        c = interior;
      } else {
        const bool top_left = std::min(i, j) <= std::min(w - 1 - i, h - 1 - j);
        c = top_left != pressed ? kKeyLight : kKeyDark;
      }
      image.setPixelColor(x + i, y + j, c);
    }
  }
}

bool IsFunctionKey(int key_index) {
  return key_index == 49 || key_index == 50 || key_index == 51 || key_index == 54 ||
         key_index == 55 || key_index == 56 || key_index == 57 || key_index == 58 ||
         key_index == 59 || key_index == 61 || key_index == 62 || key_index == 63;
}

// The strip right above a key row.
int StripAbove(int y) {
  int strip = 0;
  for (int i = 0; i < static_cast<int>(kLegendStripY.size()); ++i) {
    if (kLegendStripY[i] + kLegendHeight <= y) strip = i;
  }
  return strip;
}

// Draws each key's strip text centred over the key; `origin_y(strip)` gives the top
// row of a strip in the target picture.
template <typename LegendOf, typename OriginY>
void DrawStrips(QPainter& p, int origin_x, const OriginY& origin_y, const LegendOf& legend_of,
                const QColor& color) {
  for (int key = kCloseButton; key < kKeyIndexCount; ++key) {
    const KeyRect r = *KeyRectOf(key);
    const std::string text = legend_of(key);
    if (text.empty()) continue;
    const int strip = StripAbove(r.y);
    int x = r.x + (r.width - TextWidth(text, 1)) / 2;
    x = std::max(x, kLegendLeft);
    x = std::min(x, kLegendLeft + kLegendWidth - TextWidth(text, 1));
    DrawText(p, x - kLegendLeft + origin_x, origin_y(strip) + 1, text, color, 1);
  }
}

}  // namespace

std::string CapLegend(int key_index) {
  switch (key_index) {
    case 1:
      return "OFF";
    case 2:
      return "RST";
    case 49:
      return "F6";
    case 50:
      return std::string(1, kArrowUp);
    case 51:
      return std::string(1, kArrowLeft);
    case 54:
      return std::string(1, kArrowRight);
    case 55:
      return "BS";
    case 56:
      return "ENT";
    case 57:
      return "F7";
    case 58:
      return std::string(1, kArrowDown);
    case 59:
      return std::string("PG") + kArrowDown;
    case 60:
      return "SPACE";
    case 61:
      return std::string("PG") + kArrowUp;
    case 62:
      return "F8";
    case 63:
      return "F9";
    default:
      break;
  }
  const int position = key_index - kFirstMachineKey;
  if (position >= 0 && position < static_cast<int>(kKeyCharTable.size())) {
    return std::string(1, kKeyCharTable[position]);
  }
  return "";
}

std::string HostKeyLegend(int key_index) {
  for (const HostKeyDownEntry& entry : kHostKeyDownTable) {
    if (entry.key_index == key_index) return std::string(HostKeyName(entry.virtual_key));
  }
  return "";
}

std::string CodeLegend(int key_index) {
  if (key_index < kFirstMachineKey || key_index >= kKeyIndexCount) return "";
  char text[8];
  std::snprintf(text, sizeof text, "%03o", static_cast<unsigned>(kKeyScanTable[key_index]));
  return text;
}

QImage PaintFace() {
  QImage face(kFaceWidth, kFaceHeight, QImage::Format_RGB32);
  face.fill(kBody);
  {
    QPainter p(&face);
    p.setRenderHint(QPainter::Antialiasing, false);
    p.setPen(kBodyEdge);
    p.drawRect(1, 1, kFaceWidth - 3, kFaceHeight - 3);
    // Display: bezel, glass, and the brand above it.
    p.fillRect(kLcdLeft - 14, kLcdTop - 14, kLcdPictureWidth + 28, kLcdPictureHeight + 28, kBezel);
    p.fillRect(kLcdLeft - 4, kLcdTop - 4, kLcdPictureWidth + 8, kLcdPictureHeight + 8, kGlass);
    DrawText(p, kLcdLeft, 12, "ORLAN", kBrand, 3);
    DrawText(p, kLcdLeft + 100, 26, "DEMO MACHINE", kStripText, 1);
    DrawText(p, kLcdLeft, kLcdTop + kLcdPictureHeight + 22, "120 X 64 DOTS", kStripText, 1);
    // The window's own keys: F2 swaps the legend strips, F3 opens the debugger.
    DrawText(p, kLegendLeft, 294, "F2: KEY CODES", kCodeText, 1);
    DrawText(p, kLegendLeft + kLegendWidth - TextWidth("F3: DEBUGGER", 1), 294, "F3: DEBUGGER",
             kStripText, 1);
    // Keyboard panel and the host-key legends above the keys.
    p.fillRect(kLegendLeft - 8, 18, kLegendWidth + 16, 268, kPanel);
    DrawStrips(
        p, kLegendLeft, [](int strip) { return kLegendStripY[strip]; }, HostKeyLegend, kStripText);
  }
  for (int key = kCloseButton; key < kKeyIndexCount; ++key) {
    const KeyRect r = *KeyRectOf(key);
    const QColor cap = key == kCloseButton   ? kCapClose
                       : key == kResetButton ? kCapReset
                       : IsFunctionKey(key)  ? kCapFunction
                                             : kCapPlain;
    DrawFrame(face, r.x, r.y, r.width, r.height, false, cap);
    const std::string legend = CapLegend(key);
    const int inner_w = r.width - 8;
    const int inner_h = r.height - 8;
    QPainter p(&face);
    DrawText(p, r.x + 4 + (inner_w - TextWidth(legend, 1)) / 2, r.y + 4 + (inner_h - 7) / 2, legend,
             key <= kResetButton ? kLegendLight : kLegendDark, 1);
  }
  return face;
}

QImage PaintKeys() {
  QImage keys(kKeyPictureWidth, kKeyPictureHeight, QImage::Format_RGB32);
  keys.fill(kTransparentGreen);
  // One pressed and one released image per area size; areas of one size share them.
  for (const KeyArea& a : kKeyAreas) {
    DrawFrame(keys, a.image_x, a.image_y, a.width, a.height, true, kTransparentGreen);
    DrawFrame(keys, a.image_x + a.width, a.image_y, a.width, a.height, false, kTransparentGreen);
  }
  return keys;
}

QImage PaintIcon() {
  constexpr int kMargin = 16;
  constexpr int kKeyWidth = 34, kKeyHeight = 26, kKeyPitch = 44;
  QImage icon(kIconSize, kIconSize, QImage::Format_ARGB32);
  icon.fill(Qt::transparent);
  {
    QPainter p(&icon);
    p.setRenderHint(QPainter::Antialiasing, true);
    p.setPen(QPen(kBodyEdge, 4));
    p.setBrush(kBody);
    p.drawRoundedRect(QRectF(kMargin, kMargin, kIconSize - 2 * kMargin, kIconSize - 2 * kMargin),
                      24, 24);
    p.setRenderHint(QPainter::Antialiasing, false);
    p.fillRect(36, 40, 184, 100, kBezel);
    p.fillRect(44, 48, 168, 84, kGlass);
    // The brand as the demo shows it on its display.
    const int scale = 5;
    DrawText(p, (kIconSize - TextWidth("ORLAN", scale)) / 2, 90 - 7 * scale / 2, "ORLAN",
             kLegendDark, scale);
  }
  const QColor caps[] = {kCapClose, kCapPlain, kCapPlain, kCapPlain, kCapFunction};
  for (int row = 0; row < 2; ++row) {
    for (int column = 0; column < 5; ++column) {
      const int x = (kIconSize - (4 * kKeyPitch + kKeyWidth)) / 2 + column * kKeyPitch;
      DrawFrame(icon, x, 158 + row * 38, kKeyWidth, kKeyHeight, false,
                row == 0 ? caps[column] : kCapPlain);
    }
  }
  return icon;
}

QImage PaintOverlay() {
  QImage overlay(kOverlayWidth, kOverlayHeight, QImage::Format_RGB32);
  overlay.fill(kPanel);
  QPainter p(&overlay);
  DrawStrips(
      p, 0, [](int strip) { return strip * kLegendHeight; }, CodeLegend, kCodeText);
  return overlay;
}

}  // namespace orlan::facegen
