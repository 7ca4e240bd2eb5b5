// The debug window: a view of DebugWindowModel. It lays out the group boxes, paint
// areas, in-place edits, scroll bars, radio buttons and Run buttons, forwards every
// event to the model and then shows what the model says. Showing the window stops
// the machine; hiding it (Run buttons, close box) lets the machine run again 30 run
// ticks later. The close box only hides the window.
#ifndef ORLAN_FRONTEND_QT_DEBUG_FORM_H_
#define ORLAN_FRONTEND_QT_DEBUG_FORM_H_

#include <QFont>
#include <QSize>
#include <QWidget>
#include <array>
#include <memory>

#include "debugger/debug_window_model.h"
#include "debugger/number_text.h"

class QGroupBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;
class QScrollBar;

namespace orlan {

class Machine;
class TPaneView;

class TDebugForm final : public QWidget {
  Q_OBJECT

 public:
  // Creates the hidden window in the number base of the Radix setting.
  TDebugForm(Machine& machine, int64_t radix_setting, QWidget* parent = nullptr);
  ~TDebugForm() override;

  DebugWindowModel& model() { return model_; }
  // Width and height of a character cell of the panes, in pixels.
  QSize cell() const;

  // The controls, for tests and for the lead's wiring.
  TPaneView* pane(Pane pane) const { return panes_[static_cast<std::size_t>(pane)]; }
  QLineEdit* edit(EditId edit) const { return edits_[static_cast<std::size_t>(edit)]; }
  QScrollBar* scroll_bar(Pane pane) const { return bars_[static_cast<std::size_t>(pane)]; }
  QGroupBox* group(Group group) const { return groups_[static_cast<std::size_t>(group)]; }
  QPushButton* step_button() const { return step_button_; }
  QPushButton* trace_button() const { return trace_button_; }
  QPushButton* bp_button() const { return bp_button_; }
  QRadioButton* radio_button(int unit) const { return unit == 2 ? word_radio_ : byte_radio_; }
  // Shows why the listing's line did not assemble, beside its caret.
  QLabel* reason_label() const { return reason_label_; }
  // The debugger's own keys, each with its button in the row at the bottom.
  enum class Command { kStep, kOver, kOut, kToLine, kRun, kHistory };
  QPushButton* command_button(Command command) const {
    return command_buttons_[static_cast<std::size_t>(command)];
  }
  // The instruction history, kept while this window is shown.
  QPlainTextEdit* history_view() const { return history_view_.get(); }

 public slots:
  // Shows the window (or brings it to the front); the show stops the machine. Wire
  // the main window's F3 and Machine::on_debug_stop to this.
  void ShowDebugWindow();

 protected:
  void showEvent(QShowEvent* event) override;
  void hideEvent(QHideEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void CreateControls();
  void LayOutBinaryGroup();
  // Shows the model's state: pane texts, scroll bars, edits, captions, focus, the
  // stop in the title and the history.
  void Refresh();
  void SyncEdit(EditId id);
  void SyncReason();
  void SyncScrollBar(Pane pane);
  void ApplyFocus();
  void EditTextEdited(EditId id);
  void EditCaretMoved(EditId id);
  void RunButton(bool hide_window);
  void RunCommand(Command command);
  void ShowHistory();
  void LayOutCommandRow();

  DebugWindowModel model_;
  QFont edit_font_;
  bool centred_ = false;
  std::array<QGroupBox*, 6> groups_{};
  std::array<TPaneView*, kPaneCount> panes_{};
  std::array<QScrollBar*, kPaneCount> bars_{};
  std::array<QLineEdit*, kEditCount> edits_{};
  QRadioButton* byte_radio_ = nullptr;
  QRadioButton* word_radio_ = nullptr;
  QPushButton* step_button_ = nullptr;
  QPushButton* trace_button_ = nullptr;
  QPushButton* bp_button_ = nullptr;
  QLabel* reason_label_ = nullptr;
  std::array<QPushButton*, 6> command_buttons_{};
  // A window of its own, which stays while this one hides for a run.
  std::unique_ptr<QPlainTextEdit> history_view_;
};

}  // namespace orlan

#endif  // ORLAN_FRONTEND_QT_DEBUG_FORM_H_
