// orlan-facegen: writes our own face pictures (face.bmp, keys.bmp, overlay.bmp) into
// the folder given as its argument, or with --icon FILE the program's icon as a PNG.
// It paints dots and rectangles only (no fonts), so it needs no application object and
// no display.
#include <QImage>
#include <QString>
#include <cstdio>
#include <string_view>

#include "tools/facegen/face_painter.h"

int main(int argc, char** argv) {
  if (argc == 3 && std::string_view(argv[1]) == "--icon") {
    if (orlan::facegen::PaintIcon().save(QString::fromLocal8Bit(argv[2]), "PNG")) return 0;
    std::fprintf(stderr, "orlan-facegen: cannot write %s\n", argv[2]);
    return 1;
  }
  if (argc != 2) {
    std::fprintf(stderr, "usage: orlan-facegen FOLDER | --icon FILE.png\n");
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
