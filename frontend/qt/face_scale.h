// The face drawn at a whole number of screen pixels per face pixel, nearest-neighbour,
// so that it stays sharp at every zoom: where a window point lies on the face and
// where a part of the face lies in the window.
#ifndef ORLAN_FRONTEND_QT_FACE_SCALE_H_
#define ORLAN_FRONTEND_QT_FACE_SCALE_H_

#include <QPoint>
#include <QPointF>
#include <QRect>
#include <QRectF>
#include <QSize>

namespace orlan {

// The zoom choices: 1-4 screen pixels per face pixel, or the screen's own pixel ratio.
inline constexpr int kZoomPixelRatio = 0;
inline constexpr int kMaxZoom = 4;

class FaceScale {
 public:
  // `zoom` a choice above (others are taken as the pixel ratio); `device_pixel_ratio`
  // the screen pixels per window unit.
  FaceScale(int zoom, double device_pixel_ratio);

  // Screen pixels per face pixel: the choice, or the pixel ratio rounded (at least 1).
  int pixels() const { return pixels_; }
  // The window's size in window units.
  QSize WindowSize() const;
  // Where the face lies in the window.
  QRectF FaceInWindow() const;
  // The face pixel under a window point.
  QPoint ToFace(QPointF window_point) const;
  // The window units that cover a rectangle of the face.
  QRect ToWindow(const QRect& face_rect) const;

 private:
  int pixels_;
  double ratio_;
};

}  // namespace orlan

#endif  // ORLAN_FRONTEND_QT_FACE_SCALE_H_
