#include "frontend/qt/pane_view.h"

#include <QEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPolygon>
#include <QWheelEvent>

#include "frontend/qt/pane_glyphs.h"

namespace orlan {
namespace {

constexpr int kGlyphCount = kLastGlyph - kFirstGlyph + 1;
// Characters outside the font show as this one.
constexpr char kUnknownGlyph = '?';
// The mark of the line at PC: a solid triangle pointing at the mnemonic; under it,
// a breakpoint's: a red disc.
const QColor kPcMarkColour(0, 0, 255);
const QColor kBreakpointMarkColour(220, 0, 0);

}  // namespace

TPaneView::TPaneView(QWidget* parent) : QWidget(parent) {
  setAutoFillBackground(true);
  setBackgroundRole(QPalette::Button);
  MakeGlyphStrip();
}

QSize TPaneView::cell() { return QSize(kGlyphWidth, kGlyphHeight); }

PaneSize TPaneView::CellCount() const {
  return PaneSize{width() / kGlyphWidth, height() / kGlyphHeight};
}

void TPaneView::SetRuns(PaneText runs) {
  runs_ = std::move(runs);
  update();
}

void TPaneView::SetMarks(int column, std::vector<RowMark> marks) {
  if (column == mark_column_ && marks == marks_) return;
  mark_column_ = column;
  marks_ = std::move(marks);
  update();
}

void TPaneView::MakeGlyphStrip() {
  const QRgb ink = palette().color(QPalette::WindowText).rgba();
  glyphs_ = QImage(kGlyphCount * kGlyphWidth, kGlyphHeight, QImage::Format_ARGB32);
  glyphs_.fill(Qt::transparent);
  for (int g = 0; g < kGlyphCount; ++g) {
    for (int y = 0; y < kGlyphHeight; ++y) {
      const uint8_t bits = kPaneGlyphs[static_cast<std::size_t>(g)][static_cast<std::size_t>(y)];
      for (int x = 0; x < kGlyphWidth; ++x) {
        if (bits & (0x80 >> x)) glyphs_.setPixel(g * kGlyphWidth + x, y, ink);
      }
    }
  }
}

void TPaneView::changeEvent(QEvent* event) {
  QWidget::changeEvent(event);
  if (event->type() == QEvent::PaletteChange) MakeGlyphStrip();
}

void TPaneView::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  const QBrush ground = palette().brush(QPalette::Button);
  for (const TextRun& run : runs_) {
    const QPoint at(run.column * kGlyphWidth, run.row * kGlyphHeight);
    painter.fillRect(
        QRect(at, QSize(static_cast<int>(run.text.size()) * kGlyphWidth, kGlyphHeight)), ground);
    for (std::size_t i = 0; i < run.text.size(); ++i) {
      char c = run.text[i];
      if (c < kFirstGlyph || c > kLastGlyph) c = kUnknownGlyph;
      painter.drawImage(at + QPoint(static_cast<int>(i) * kGlyphWidth, 0), glyphs_,
                        QRect((c - kFirstGlyph) * kGlyphWidth, 0, kGlyphWidth, kGlyphHeight));
    }
  }
  painter.setRenderHint(QPainter::Antialiasing, false);
  for (const RowMark& mark : marks_) {
    const QPoint at(mark_column_ * kGlyphWidth, mark.row * kGlyphHeight);
    painter.setPen(Qt::NoPen);
    if (mark.mark == ListMark::kBreakpoint) {
      painter.setBrush(kBreakpointMarkColour);
      painter.drawEllipse(QRect(at + QPoint(0, 2), QSize(8, 8)));
      continue;
    }
    painter.setBrush(kPcMarkColour);
    painter.drawPolygon(QPolygon({at + QPoint(1, 2), at + QPoint(6, 6), at + QPoint(1, 10)}));
  }
}

void TPaneView::mousePressEvent(QMouseEvent* event) {
  const QPoint p = event->position().toPoint();
  if (on_mouse_down) on_mouse_down(Cell{p.x() / kGlyphWidth, p.y() / kGlyphHeight});
}

void TPaneView::wheelEvent(QWheelEvent* event) {
  if (on_wheel) {
    on_wheel(event);
  } else {
    QWidget::wheelEvent(event);
  }
}

}  // namespace orlan
