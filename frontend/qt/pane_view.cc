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
    painter.drawText(cells, Qt::AlignLeft | Qt::AlignVCenter, QString::fromLatin1(run.text));
  }
}

void TPaneView::mousePressEvent(QMouseEvent* event) {
  const QPoint p = event->position().toPoint();
  if (on_mouse_down) on_mouse_down(Cell{p.x() / cell_.width(), p.y() / cell_.height()});
}

}  // namespace orlan
