// Our face pictures against the geometry the emulator's window relies on: key images
// whose green interiors let the face show through, a face whose keys look exactly
// like the released images, and pictures that keep pure green through a BMP file.
#include <gtest/gtest.h>

#include <QColor>
#include <QDir>
#include <QImage>
#include <QTemporaryDir>
#include <optional>
#include <string>

#include "devices/face_geometry.h"
#include "devices/key_tables.h"
#include "tools/facegen/face_painter.h"

namespace orlan::facegen {
namespace {

bool IsGreen(const QImage& image, int x, int y) {
  return image.pixelColor(x, y) == kTransparentGreen;
}

TEST(FacePicturesTest, PicturesHaveTheWindowsSizes) {
  struct Case {
    const char* name;
    QImage image;
    int width;
    int height;
  };
  const Case cases[] = {
      {"face", PaintFace(), kFaceWidth, kFaceHeight},
      {"keys", PaintKeys(), kKeyPictureWidth, kKeyPictureHeight},
      {"overlay", PaintOverlay(), kOverlayWidth, kOverlayHeight},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(c.image.width(), c.width);
    EXPECT_EQ(c.image.height(), c.height);
  }
}

// Released interiors x+4..x+w-5, pressed x+5..x+w-4: the face moved by one dot on a
// press fills the pressed interior exactly, and nothing of the frame is transparent.
TEST(FacePicturesTest, KeyImagesAreTransparentExactlyInsideTheirFrames) {
  const QImage keys = PaintKeys();
  for (std::size_t a = 0; a < kKeyAreas.size(); ++a) {
    const KeyArea& area = kKeyAreas[a];
    for (const bool pressed : {true, false}) {
      SCOPED_TRACE("area " + std::to_string(a) + (pressed ? " pressed" : " released"));
      const int x0 = area.image_x + (pressed ? 0 : area.width);
      const int lo = pressed ? 5 : 4;
      const int hi_x = pressed ? area.width - 4 : area.width - 5;
      const int hi_y = pressed ? area.height - 4 : area.height - 5;
      int wrong = 0;
      for (int j = 0; j < area.height; ++j) {
        for (int i = 0; i < area.width; ++i) {
          const bool inside = i >= lo && i <= hi_x && j >= lo && j <= hi_y;
          if (IsGreen(keys, x0 + i, area.image_y + j) != inside) ++wrong;
        }
      }
      EXPECT_EQ(wrong, 0);
    }
  }
}

// Releasing a key draws its released image over the face: that must leave the face
// as it was, so every key of the face wears exactly the released frame.
TEST(FacePicturesTest, FaceKeysWearTheReleasedFramesAndAreNotTransparent) {
  const QImage face = PaintFace();
  const QImage keys = PaintKeys();
  for (int key = 1; key <= 63; ++key) {
    SCOPED_TRACE("key " + std::to_string(key));
    const std::optional<KeyRect> rect = KeyRectOf(key);
    ASSERT_TRUE(rect.has_value());
    const KeyRect& r = *rect;
    const KeyArea& area = kKeyAreas[r.area];
    int differing = 0;
    int green = 0;
    for (int j = 0; j < r.height; ++j) {
      for (int i = 0; i < r.width; ++i) {
        const int kx = area.image_x + area.width + i;
        const int ky = area.image_y + j;
        if (IsGreen(face, r.x + i, r.y + j)) ++green;
        if (!IsGreen(keys, kx, ky) &&
            keys.pixelColor(kx, ky) != face.pixelColor(r.x + i, r.y + j)) {
          ++differing;
        }
      }
    }
    EXPECT_EQ(differing, 0);
    EXPECT_EQ(green, 0);
    EXPECT_FALSE(CapLegend(key).empty());
  }
}

// Each legend strip of the face and of the overlay carries text, and the two sets
// differ, so that swapping them shows something else.
TEST(FacePicturesTest, LegendStripsOfFaceAndOverlayDiffer) {
  const QImage face = PaintFace();
  const QImage overlay = PaintOverlay();
  int strips_with_face_text = 0;
  for (int s = 0; s < 8; ++s) {
    SCOPED_TRACE("strip " + std::to_string(s));
    const QImage on_face = face.copy(kLegendLeft, kLegendStripY[s], kLegendWidth, kLegendHeight);
    const QImage alternative = overlay.copy(0, s * kLegendHeight, kLegendWidth, kLegendHeight);
    EXPECT_NE(on_face, alternative);
    const QColor background = alternative.pixelColor(0, 0);
    bool text = false;
    for (int y = 0; y < kLegendHeight && !text; ++y) {
      for (int x = 0; x < kLegendWidth && !text; ++x) text = on_face.pixelColor(x, y) != background;
    }
    if (text) ++strips_with_face_text;
  }
  EXPECT_EQ(strips_with_face_text, 2);  // host key names above the two lowest rows
}

// The legends follow the keyboard's tables: the cap shows the typed character, the
// face's strip the host key that selects the key, the overlay's strip its code.
TEST(FacePicturesTest, LegendsFollowTheKeyboardTables) {
  struct Case {
    int key;
    const char* cap;
    const char* host;
    const char* code;
  };
  const Case cases[] = {
      {kCloseButton, "OFF", "", ""}, {kFirstMachineKey, "1", "", "043"},
      {17, "A", "", "013"},          {49, "F6", "F6", "033"},
      {55, "BS", "BKSP", "333"},     {56, "ENT", "ENTER", "373"},
      {59, "PG\x81", "PGDN", "137"},  // PG and the down arrow
      {60, "SPACE", "SPACE", "177"}, {63, "F9", "F9", "377"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE("key " + std::to_string(c.key));
    EXPECT_EQ(CapLegend(c.key), c.cap);
    EXPECT_EQ(HostKeyLegend(c.key), c.host);
    EXPECT_EQ(CodeLegend(c.key), c.code);
  }
  for (const HostKeyDownEntry& entry : kHostKeyDownTable) {
    SCOPED_TRACE("virtual key " + std::to_string(entry.virtual_key));
    EXPECT_FALSE(HostKeyLegend(entry.key_index).empty());
  }
}

TEST(FacePicturesTest, BmpFilesKeepPureGreen) {
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  const QString path = dir.filePath("keys.bmp");
  ASSERT_TRUE(PaintKeys().save(path, "BMP"));
  const QImage loaded(path);
  ASSERT_FALSE(loaded.isNull());
  EXPECT_TRUE(IsGreen(loaded, 10, 10));
  EXPECT_EQ(loaded.convertToFormat(QImage::Format_RGB32), PaintKeys());
}

}  // namespace
}  // namespace orlan::facegen
