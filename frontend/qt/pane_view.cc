#include "frontend/qt/pane_view.h"

#include <QMouseEvent>
#include <QPainter>

namespace orlan {

TPaneView::TPaneView(const QFont& font, QSize cell, QWidget* parent)
    : QWidget(parent), font_(font), cell_(cell) {
  setAutoFillBackground(true);
  setBackgroundRole(QPalette::Button);
}

PaneSize TPaneView::CellCount() const {
  return PaneSize{width() / cell_.width(), height() / cell_.height()};
}

void TPaneView::SetRuns(PaneText runs) {
  runs_ = std::move(runs);
  update();
}

void TPaneView::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.setFont(font_);
  painter.setBackgroundMode(Qt::OpaqueMode);
  painter.setBackground(palette().brush(QPalette::Button));
  painter.setPen(palette().color(QPalette::WindowText));
  for (const TextRun& run : runs_) {
    const QRect cells(run.column * cell_.width(), run.row * cell_.height(),
                      static_cast<int>(run.text.size()) * cell_.width(), cell_.height());
    painter.fillRect(cells, painter.background());
    // Each character is drawn in its own cell: a substitute font whose advance is not a
    // whole number of pixels would otherwise drift off the grid that clicks are taken on.
    for (std::size_t i = 0; i < run.text.size(); ++i) {
      const QRect cell(cells.x() + static_cast<int>(i) * cell_.width(), cells.y(), cell_.width(),
                       cell_.height());
      painter.drawText(cell, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextDontClip,
                       QString(QLatin1Char(run.text[i])));
    }
  }
}

void TPaneView::mousePressEvent(QMouseEvent* event) {
  const QPoint p = event->position().toPoint();
  if (on_mouse_down) on_mouse_down(Cell{p.x() / cell_.width(), p.y() / cell_.height()});
}

}  // namespace orlan
