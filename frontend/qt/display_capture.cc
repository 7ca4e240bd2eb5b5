#include "frontend/qt/display_capture.h"

#include <QClipboard>
#include <QMimeData>
#include <cstring>
#include <vector>

#include "devices/atomic_file.h"
#include "frontend/lcd_image.h"

namespace orlan {

QImage DisplayImage(const Lcd& lcd, int dot_pixels) {
  const std::vector<uint32_t> pixels = ScaledLcdPixels(lcd, dot_pixels);
  QImage image(kLcdWidth * dot_pixels, kLcdHeight * dot_pixels, QImage::Format_RGB32);
  for (int y = 0; y < image.height(); ++y) {
    std::memcpy(image.scanLine(y), pixels.data() + static_cast<std::size_t>(y) * image.width(),
                static_cast<std::size_t>(image.width()) * sizeof(uint32_t));
  }
  return image;
}

IoResult SaveDisplayPng(const Lcd& lcd, int dot_pixels, const std::filesystem::path& file) {
  return WriteFileAtomically(file, EncodeLcdPng(lcd, dot_pixels));
}

void CopyDisplay(const Lcd& lcd, int dot_pixels, QClipboard& clipboard) {
  auto* data = new QMimeData;
  data->setImageData(DisplayImage(lcd, dot_pixels));
  data->setText(QString::fromStdString(lcd.DotsText('#', '.')));
  clipboard.setMimeData(data);
}

}  // namespace orlan
