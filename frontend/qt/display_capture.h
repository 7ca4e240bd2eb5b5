// The display taken out of the window: as a PNG file and onto the clipboard, as a
// picture and as the text of dark and light dots that the monitor prints.
#ifndef ORLAN_FRONTEND_QT_DISPLAY_CAPTURE_H_
#define ORLAN_FRONTEND_QT_DISPLAY_CAPTURE_H_

#include <QImage>
#include <filesystem>

#include "devices/io_result.h"
#include "devices/lcd.h"

class QClipboard;

namespace orlan {

// Each dot `dot_pixels` by `dot_pixels` pixels.
QImage DisplayImage(const Lcd& lcd, int dot_pixels);
IoResult SaveDisplayPng(const Lcd& lcd, int dot_pixels, const std::filesystem::path& file);
// Puts the picture and the "#"/"." text on the clipboard together.
void CopyDisplay(const Lcd& lcd, int dot_pixels, QClipboard& clipboard);

}  // namespace orlan

#endif  // ORLAN_FRONTEND_QT_DISPLAY_CAPTURE_H_
