// A paint area of the debug window: draws the text runs that the model gives at
// character cells, in a fixed-pitch font over an opaque button-face background, and
// reports mouse presses as cells.
#ifndef ORLAN_FRONTEND_QT_PANE_VIEW_H_
#define ORLAN_FRONTEND_QT_PANE_VIEW_H_

#include <QFont>
#include <QSize>
#include <QWidget>
#include <functional>
#include <utility>

#include "debugger/pane_text.h"

namespace orlan {

class TPaneView final : public QWidget {
  Q_OBJECT

 public:
  TPaneView(const QFont& font, QSize cell, QWidget* parent);

  // The whole cells that fit the area.
  PaneSize CellCount() const;
  void SetRuns(PaneText runs);
  const PaneText& runs() const { return runs_; }
  QSize cell() const { return cell_; }

  // Called with the cell under a mouse button going down (any button).
  std::function<void(Cell)> on_mouse_down;

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;

 private:
  QFont font_;
  QSize cell_;
  PaneText runs_;
};

}  // namespace orlan

#endif  // ORLAN_FRONTEND_QT_PANE_VIEW_H_
