// A paint area of the debug window: draws the text runs that the model gives at
// character cells of 8 by 13 pixels in the built-in pane font over an opaque
// button-face background, draws the listing's line marks, and reports mouse presses
// as cells.
#ifndef ORLAN_FRONTEND_QT_PANE_VIEW_H_
#define ORLAN_FRONTEND_QT_PANE_VIEW_H_

#include <QImage>
#include <QSize>
#include <QWidget>
#include <functional>
#include <vector>

#include "debugger/list_marks.h"
#include "debugger/pane_text.h"

namespace orlan {

class TPaneView final : public QWidget {
  Q_OBJECT

 public:
  explicit TPaneView(QWidget* parent);

  // A character cell in pixels: every glyph of the pane font fills one exactly.
  static QSize cell();

  // The whole cells that fit the area.
  PaneSize CellCount() const;
  void SetRuns(PaneText runs);
  const PaneText& runs() const { return runs_; }
  // Line marks, each drawn in the cell at `column` of its row.
  void SetMarks(int column, std::vector<RowMark> marks);
  const std::vector<RowMark>& marks() const { return marks_; }

  // Called with the cell under a mouse button going down (any button).
  std::function<void(Cell)> on_mouse_down;
  // Called with each wheel turn over the pane.
  std::function<void(QWheelEvent*)> on_wheel;

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void wheelEvent(QWheelEvent* event) override;
  void changeEvent(QEvent* event) override;

 private:
  // All glyphs side by side in the window-text colour on a transparent ground.
  void MakeGlyphStrip();

  PaneText runs_;
  int mark_column_ = 0;
  std::vector<RowMark> marks_;
  QImage glyphs_;
};

}  // namespace orlan

#endif  // ORLAN_FRONTEND_QT_PANE_VIEW_H_
