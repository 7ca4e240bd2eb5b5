// orlan-facegen: writes our own face pictures (face.bmp, keys.bmp, overlay.bmp) into
// the folder given as its argument. It paints dots and rectangles only (no fonts), so
// it needs no application object and no display.
#include <QImage>
#include <QString>
#include <cstdio>

#include "tools/facegen/face_painter.h"

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: orlan-facegen FOLDER\n");
    return 2;
  }
  const QString folder = QString::fromLocal8Bit(argv[1]);
  const struct {
    const char* name;
    QImage image;
  } pictures[] = {
      {"face.bmp", orlan::facegen::PaintFace()},
      {"keys.bmp", orlan::facegen::PaintKeys()},
      {"overlay.bmp", orlan::facegen::PaintOverlay()},
  };
  for (const auto& picture : pictures) {
    const QString path = folder + "/" + picture.name;
    if (!picture.image.save(path, "BMP")) {
      std::fprintf(stderr, "orlan-facegen: cannot write %s\n", path.toLocal8Bit().constData());
      return 1;
    }
  }
  return 0;
}
