#include "frontend/qt/face_scale.h"

#include <algorithm>
#include <cmath>

#include "devices/face_geometry.h"

namespace orlan {

FaceScale::FaceScale(int zoom, double device_pixel_ratio)
    : ratio_(device_pixel_ratio > 0 ? device_pixel_ratio : 1.0) {
  pixels_ = zoom >= 1 && zoom <= kMaxZoom
                ? zoom
                : std::clamp(static_cast<int>(std::lround(ratio_)), 1, kMaxZoom);
}

QSize FaceScale::WindowSize() const {
  return ToWindow(QRect(0, 0, kFaceWidth, kFaceHeight)).size();
}

QRectF FaceScale::FaceInWindow() const {
  const double units = pixels_ / ratio_;
  return QRectF(0, 0, kFaceWidth * units, kFaceHeight * units);
}

QPoint FaceScale::ToFace(QPointF window_point) const {
  const double units = pixels_ / ratio_;
  return QPoint(static_cast<int>(std::floor(window_point.x() / units)),
                static_cast<int>(std::floor(window_point.y() / units)));
}

QRect FaceScale::ToWindow(const QRect& face_rect) const {
  const double units = pixels_ / ratio_;
  const int left = static_cast<int>(std::floor(face_rect.x() * units));
  const int top = static_cast<int>(std::floor(face_rect.y() * units));
  const int right = static_cast<int>(std::ceil((face_rect.x() + face_rect.width()) * units));
  const int bottom = static_cast<int>(std::ceil((face_rect.y() + face_rect.height()) * units));
  return QRect(left, top, right - left, bottom - top);
}

}  // namespace orlan
