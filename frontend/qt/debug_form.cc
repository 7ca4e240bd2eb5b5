#include "frontend/qt/debug_form.h"

#include <QGroupBox>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QScrollBar>
#include <QShortcut>
#include <QSignalBlocker>
#include <QStyle>
#include <algorithm>

#include "core/machine.h"
#include "debugger/key_codes.h"
#include "frontend/qt/host_keys.h"
#include "frontend/qt/pane_font.h"
#include "frontend/qt/pane_view.h"

namespace orlan {
namespace {

constexpr int kWindowHeight = 373;
// Space below the memory editor's group, which follows the window's bottom edge.
constexpr int kBinGroupTop = 176;
constexpr int kBinGroupBottomGap = kWindowHeight - kBinGroupTop - 161;
// The memory editor keeps three rows: its scroll bar stays usable.
constexpr int kMinWindowHeight = kBinGroupTop + 24 + 3 * 13 + kBinGroupBottomGap;
constexpr std::array<Pane, kPaneCount> kPanes = {Pane::kList, Pane::kRegisters, Pane::kBinary};
constexpr std::array<EditId, kEditCount> kEdits = {
    EditId::kList, EditId::kRegisters, EditId::kBinary, EditId::kTrace, EditId::kBreakpoint};
constexpr std::array<Group, 6> kGroups = {Group::kList, Group::kRegisters, Group::kBinary,
                                          Group::kStep, Group::kTrace,     Group::kBreakpoint};
// One sheet for the whole window, set once: the active group's caption is blue. A
// sheet set on each group box anew would give its caption the application's font.
constexpr char kCaptionSheet[] =
    "QGroupBox::title { color: palette(window-text); }"
    "QGroupBox[active=\"true\"]::title { color: rgb(0, 0, 255); }";
constexpr char kActiveProperty[] = "active";
constexpr char kTitle[] = "Debug Window";

// The debugger's keys: none that the machine's keys, the main window's shortcuts or
// the edits use.
struct CommandKey {
  TDebugForm::Command command;
  const char* caption;
  const char* keys;
};
constexpr std::array<CommandKey, 6> kCommandKeys = {{
    {TDebugForm::Command::kStep, "Step  F11", "F11"},
    {TDebugForm::Command::kOver, "Over  F10", "F10"},
    {TDebugForm::Command::kOut, "Out  Shift+F11", "Shift+F11"},
    {TDebugForm::Command::kToLine, "To line  F4", "F4"},
    {TDebugForm::Command::kRun, "Run  F5", "F5"},
    {TDebugForm::Command::kHistory, "History  F12", "F12"},
}};

template <typename E>
std::size_t At(E e) {
  return static_cast<std::size_t>(e);
}

bool IsInPlace(EditId id) { return id != EditId::kTrace && id != EditId::kBreakpoint; }

// The model's key codes for the keys the edits react to; 0 for any other key.
int KeyCode(int qt_key) {
  const int code = VirtualKeyFromQtKey(qt_key);
  const bool handled =
      code == kKeyEnter || code == kKeyEscape || (code >= kKeyPageUp && code <= kKeyDown);
  return handled ? code : 0;
}

EditText EditTextOf(const QLineEdit& edit, bool modified) {
  EditText t;
  t.text = edit.text().toLatin1().toStdString();
  if (edit.hasSelectedText()) {
    t.caret = edit.selectionStart();
    t.selection = static_cast<int>(edit.selectedText().size());
  } else {
    t.caret = edit.cursorPosition();
  }
  t.modified = modified;
  return t;
}

}  // namespace

TDebugForm::TDebugForm(Machine& machine, int64_t radix_setting, QWidget* parent)
    : QWidget(parent, Qt::Window), model_(machine) {
  model_.DebugCreate(radix_setting);
  setWindowTitle(QString::fromLatin1(kTitle));
  setAttribute(Qt::WA_QuitOnClose, false);
  QFont window_font(QStringLiteral("MS Sans Serif"));
  window_font.setPixelSize(11);
  setFont(window_font);
  edit_font_ = PaneEditFont();
  setStyleSheet(QString::fromLatin1(kCaptionSheet));
  CreateControls();
  for (const CommandKey& k : kCommandKeys) {
    auto* button = new QPushButton(QString::fromLatin1(k.caption), this);
    button->setFocusPolicy(Qt::NoFocus);
    connect(button, &QPushButton::clicked, this, [this, c = k.command] { RunCommand(c); });
    auto* shortcut = new QShortcut(QKeySequence(QString::fromLatin1(k.keys)), this);
    connect(shortcut, &QShortcut::activated, this, [this, c = k.command] { RunCommand(c); });
    command_buttons_[At(k.command)] = button;
  }
  history_view_ = std::make_unique<QPlainTextEdit>();
  history_view_->setReadOnly(true);
  history_view_->setFont(edit_font_);
  history_view_->setLineWrapMode(QPlainTextEdit::NoWrap);
  history_view_->setWindowTitle(QStringLiteral("Instruction history"));
  history_view_->resize(920, 400);
  history_view_->installEventFilter(this);
  resize(model_.WindowWidth(), kWindowHeight);
  // Below this the memory editor's group would lose its rows and its scroll bar.
  setMinimumSize(model_.WindowWidth(), kMinWindowHeight);
  LayOutBinaryGroup();
}

QSize TDebugForm::cell() const { return TPaneView::cell(); }

TDebugForm::~TDebugForm() = default;

void TDebugForm::CreateControls() {
  const auto make_group = [this](Group g, const char* caption, QRect r) {
    auto* box = new QGroupBox(QString::fromLatin1(caption), this);
    box->setGeometry(r);
    box->installEventFilter(this);
    groups_[At(g)] = box;
    return box;
  };
  QGroupBox* list = make_group(Group::kList, " Disassembly ", {8, 8, 313, 161});
  QGroupBox* regs = make_group(Group::kRegisters, " Registers ", {328, 8, 121, 161});
  QGroupBox* bin =
      make_group(Group::kBinary, " Binary Editor ", {8, kBinGroupTop, model_.BinGroupWidth(), 161});
  QGroupBox* step = make_group(Group::kStep, " Single step ", {456, 8, 153, 49});
  QGroupBox* trace = make_group(Group::kTrace, " Number of steps (decimal) ", {456, 64, 153, 49});
  QGroupBox* bp = make_group(Group::kBreakpoint, " Breakpoint address ", {456, 120, 153, 49});
  step->setFocusPolicy(Qt::ClickFocus);  // the " Single step " box takes the focus itself

  const std::array<QGroupBox*, kPaneCount> pane_groups = {list, regs, bin};
  const std::array<int, kPaneCount> pane_widths = {273, 81, 561};
  for (Pane p : kPanes) {
    QGroupBox* g = pane_groups[At(p)];
    auto* view = new TPaneView(g);
    view->setGeometry(8, 16, pane_widths[At(p)], 137);
    // The pane's scroll bar takes the wheel, with the platform's lines per notch.
    view->on_wheel = [this, p](QWheelEvent* event) {
      QCoreApplication::sendEvent(bars_[At(p)], event);
    };
    view->on_mouse_down = [this, p](Cell cell) {
      model_.PaneMouseDown(p, cell);
      Refresh();
    };
    panes_[At(p)] = view;

    auto* bar = new QScrollBar(Qt::Vertical, g);
    bar->setGeometry(8 + pane_widths[At(p)] + 7, 16, 16, 137);
    bar->setFocusPolicy(Qt::NoFocus);
    bar->setRange(0, 0);
    connect(bar, &QScrollBar::valueChanged, this, [this, p](int position) {
      model_.PaneScroll(p, position);
      Refresh();
    });
    bars_[At(p)] = bar;

    auto* edit = new QLineEdit(g);
    edit->setFrame(false);
    edit->setFont(edit_font_);
    // A frameless edit still keeps its text 2 pixels in; this puts each typed
    // character on the cell under it.
    edit->setTextMargins(-2, 0, 0, 0);
    // A style sheet, since the group boxes' caption sheets take over their children's
    // drawing and would ignore a palette colour.
    edit->setStyleSheet(
        QStringLiteral("QLineEdit { background: rgb(255, 255, 0); border: none; }"));
    edit->setFocusPolicy(Qt::ClickFocus);  // not a tab stop
    edit->setGeometry(0, 0, 0, 0);
    edits_[At(p)] = edit;
  }

  // Above every group, so that it can stand beside any edit.
  reason_label_ = new QLabel(this);
  reason_label_->setAutoFillBackground(true);
  reason_label_->setBackgroundRole(QPalette::ToolTipBase);
  reason_label_->setForegroundRole(QPalette::ToolTipText);
  reason_label_->setFrameShape(QFrame::Box);
  reason_label_->hide();

  byte_radio_ = new QRadioButton(QStringLiteral("byte"), bin);
  byte_radio_->setGeometry(104, -1, 49, 17);
  byte_radio_->setChecked(true);
  word_radio_ = new QRadioButton(QStringLiteral("word"), bin);
  word_radio_->setGeometry(160, -1, 49, 17);
  for (int unit : {1, 2}) {
    connect(radio_button(unit), &QRadioButton::clicked, this, [this, unit] {
      model_.BinRadioButtonClick(unit);
      Refresh();
    });
  }

  const auto make_run = [](QGroupBox* g) {
    auto* button = new QPushButton(QStringLiteral("Run"), g);
    button->setGeometry(88, 16, 49, 25);
    return button;
  };
  step_button_ = make_run(step);
  trace_button_ = make_run(trace);
  bp_button_ = make_run(bp);
  connect(step_button_, &QPushButton::clicked, this, [this] {
    model_.StepButtonClick();
    Refresh();
  });
  connect(trace_button_, &QPushButton::clicked, this,
          [this] { RunButton(model_.TraceButtonClick()); });
  connect(bp_button_, &QPushButton::clicked, this, [this] { RunButton(model_.BpButtonClick()); });

  for (EditId id : {EditId::kTrace, EditId::kBreakpoint}) {
    auto* edit = new QLineEdit(id == EditId::kTrace ? trace : bp);
    edit->setGeometry(16, 16, 57, 21);
    edit->setFont(edit_font_);
    edits_[At(id)] = edit;
  }

  for (EditId id : kEdits) {
    QLineEdit* edit = edits_[At(id)];
    edit->installEventFilter(this);
    connect(edit, &QLineEdit::textEdited, this, [this, id] { EditTextEdited(id); });
    connect(edit, &QLineEdit::cursorPositionChanged, this, [this, id] { EditCaretMoved(id); });
    connect(edit, &QLineEdit::selectionChanged, this, [this, id] { EditCaretMoved(id); });
    SyncEdit(id);
  }
}

void TDebugForm::LayOutBinaryGroup() {
  QGroupBox* bin = groups_[At(Group::kBinary)];
  const int group_height = std::max(0, height() - kBinGroupTop - kBinGroupBottomGap);
  bin->setGeometry(8, kBinGroupTop, model_.BinGroupWidth(), group_height);
  const int inner_height = std::max(0, group_height - 24);
  panes_[At(Pane::kBinary)]->setGeometry(8, 16, bin->width() - 40, inner_height);
  bars_[At(Pane::kBinary)]->setGeometry(bin->width() - 24, 16, 16, inner_height);
  LayOutCommandRow();
}

void TDebugForm::LayOutCommandRow() {
  // In the strip below the memory editor.
  constexpr int kGap = 4;
  const int n = static_cast<int>(command_buttons_.size());
  const int w = (width() - 16 - (n - 1) * kGap) / n;
  for (int i = 0; i < n; ++i) {
    QPushButton* button = command_buttons_[static_cast<std::size_t>(i)];
    if (button != nullptr) button->setGeometry(8 + i * (w + kGap), height() - 31, w, 25);
  }
}

void TDebugForm::RunCommand(Command command) {
  switch (command) {
    case Command::kStep:
      model_.StepButtonClick();
      Refresh();
      return;
    case Command::kOver:
      RunButton(model_.StepOverClick());
      return;
    case Command::kOut:
      RunButton(model_.StepOutClick());
      return;
    case Command::kToLine:
      RunButton(model_.RunToCursorClick());
      return;
    case Command::kRun:
      RunButton(true);
      return;
    case Command::kHistory:
      ShowHistory();
      return;
  }
}

void TDebugForm::ShowHistory() {
  if (history_view_->isVisible()) {
    history_view_->close();
    return;
  }
  model_.SetHistoryShown(true);
  history_view_->show();
  Refresh();
}

void TDebugForm::ShowDebugWindow() {
  show();
  raise();
  activateWindow();
}

void TDebugForm::showEvent(QShowEvent* event) {
  QWidget::showEvent(event);
  // Minimising and restoring by the window system neither stops nor runs anything.
  if (event->spontaneous()) return;
  if (!centred_) {
    centred_ = true;
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
      QRect frame = frameGeometry();
      frame.moveCenter(screen->availableGeometry().center());
      move(frame.topLeft());
    }
  }
  model_.DebugShow();
  Refresh();
}

void TDebugForm::hideEvent(QHideEvent* event) {
  QWidget::hideEvent(event);
  if (event->spontaneous()) return;
  model_.DebugHide();
  for (EditId id : kEdits) SyncEdit(id);
  SyncReason();
}

void TDebugForm::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  LayOutBinaryGroup();
  if (isVisible()) Refresh();
}

bool TDebugForm::eventFilter(QObject* watched, QEvent* event) {
  if (watched == history_view_.get()) {
    // Closed, it costs the run nothing.
    if (event->type() == QEvent::Close) model_.SetHistoryShown(false);
    return false;
  }
  if (event->type() == QEvent::Wheel) {
    // The wheel over an in-place edit scrolls its pane, as over the pane itself.
    for (Pane p : kPanes) {
      if (watched == edits_[At(p)]) {
        QCoreApplication::sendEvent(bars_[At(p)], event);
        return true;
      }
    }
  }
  if (event->type() == QEvent::MouseButtonPress) {
    for (Group g : kGroups) {
      if (watched == groups_[At(g)]) {
        model_.GroupClick(g);
        Refresh();
        return true;
      }
    }
    // A click on the step count or breakpoint edit activates its group; the edit
    // still places its caret.
    if (watched == edits_[At(EditId::kTrace)] || watched == edits_[At(EditId::kBreakpoint)]) {
      model_.GroupClick(watched == edits_[At(EditId::kTrace)] ? Group::kTrace : Group::kBreakpoint);
      Refresh();
    }
    return false;
  }
  if (event->type() == QEvent::KeyPress) {
    for (Pane p : kPanes) {
      if (watched != edits_[At(p)]) continue;
      const int code = KeyCode(static_cast<QKeyEvent*>(event)->key());
      if (code == 0) return false;
      model_.EditKeyDown(static_cast<EditId>(p), code);
      Refresh();
      return code == kKeyEnter || code == kKeyEscape;
    }
  }
  return QWidget::eventFilter(watched, event);
}

void TDebugForm::Refresh() {
  const std::string stop = model_.StopText();
  setWindowTitle(QString::fromLatin1(kTitle) +
                 (stop.empty() ? QString() : QStringLiteral(" - ") + QString::fromLatin1(stop)));
  if (history_view_ && history_view_->isVisible()) {
    QStringList lines;
    for (const std::string& line : model_.HistoryLines()) lines << QString::fromLatin1(line);
    if (lines.isEmpty())
      lines << QStringLiteral("No instruction has run since the history opened.");
    history_view_->setPlainText(lines.join(QLatin1Char('\n')));
    history_view_->moveCursor(QTextCursor::End);
  }
  for (Pane p : kPanes) {
    model_.SetPaneSize(p, panes_[At(p)]->CellCount());
    panes_[At(p)]->SetRuns(model_.Paint(p));
    SyncScrollBar(p);
  }
  panes_[At(Pane::kList)]->SetMarks(ListMarkColumn(model_.format()), model_.ListMarks());
  for (EditId id : kEdits) SyncEdit(id);
  SyncReason();
  {
    const QSignalBlocker block_byte(byte_radio_);
    const QSignalBlocker block_word(word_radio_);
    radio_button(model_.memory().bin_unit())->setChecked(true);
  }
  for (Group g : kGroups) {
    QGroupBox* box = groups_[At(g)];
    const bool active = g == model_.active_group();
    if (box->property(kActiveProperty).toBool() == active) continue;
    box->setProperty(kActiveProperty, active);
    box->style()->unpolish(box);
    box->style()->polish(box);
    box->update();
  }
  ApplyFocus();
}

void TDebugForm::SyncScrollBar(Pane pane) {
  const ScrollBarState& state = model_.scroll_bar(pane);
  QScrollBar* bar = bars_[At(pane)];
  const QSignalBlocker block(bar);
  bar->setRange(state.min, state.max);
  bar->setValue(state.position);
  bar->setSingleStep(state.small_change);
  bar->setPageStep(state.large_change);
}

void TDebugForm::SyncEdit(EditId id) {
  const EditBox& box = model_.edit(id);
  QLineEdit* edit = edits_[At(id)];
  const QSignalBlocker block(edit);
  if (IsInPlace(id)) {
    const TPaneView* view = panes_[At(static_cast<Pane>(id))];
    const QSize cell = TPaneView::cell();
    edit->setGeometry(view->x() + box.column * cell.width(), view->y() + box.row * cell.height(),
                      box.width * cell.width(), cell.height());
  }
  edit->setMaxLength(box.max_length > 0 ? box.max_length : 32767);
  const QString text = QString::fromLatin1(box.state.text);
  if (edit->text() != text) edit->setText(text);
  if (box.state.selection > 0) {
    edit->setSelection(box.state.caret, box.state.selection);
  } else {
    edit->setCursorPosition(box.state.caret);
  }
}

void TDebugForm::SyncReason() {
  // The edit whose text was refused: an open in-place edit, or the breakpoint edit.
  const QLineEdit* edit = nullptr;
  const EditBox* box = nullptr;
  for (EditId id : kEdits) {
    const EditBox& b = model_.edit(id);
    if (b.reason.empty() || (IsInPlace(id) && !b.open())) continue;
    edit = edits_[At(id)];
    box = &b;
    break;
  }
  if (edit == nullptr) {
    reason_label_->hide();
    return;
  }
  reason_label_->setText(QString::fromLatin1(box->reason));
  reason_label_->adjustSize();
  // Under the caret, or above it near the window's bottom; inside the window.
  const QString before = edit->text().left(box->state.caret);
  const QPoint caret = edit->mapTo(this, QPoint(edit->fontMetrics().horizontalAdvance(before), 0));
  const int x = std::clamp(caret.x(), 0, std::max(0, width() - reason_label_->width()));
  int y = caret.y() + edit->height();
  if (y + reason_label_->height() > height()) y = caret.y() - reason_label_->height();
  reason_label_->move(x, y);
  reason_label_->show();
  reason_label_->raise();
}

void TDebugForm::ApplyFocus() {
  QWidget* target = nullptr;
  switch (model_.active_group()) {
    case Group::kList:
      target = edits_[At(EditId::kList)];
      break;
    case Group::kRegisters:
      target = edits_[At(EditId::kRegisters)];
      break;
    case Group::kBinary:
      target = edits_[At(EditId::kBinary)];
      break;
    case Group::kStep:
      target = groups_[At(Group::kStep)];
      break;
    case Group::kTrace:
      target = edits_[At(EditId::kTrace)];
      break;
    case Group::kBreakpoint:
      target = edits_[At(EditId::kBreakpoint)];
      break;
  }
  if (target->hasFocus()) return;
  target->setFocus(Qt::OtherFocusReason);
}

void TDebugForm::EditTextEdited(EditId id) {
  model_.EditChange(id, EditTextOf(*edits_[At(id)], true));
  SyncEdit(id);
  SyncReason();
}

void TDebugForm::EditCaretMoved(EditId id) {
  // The model keeps the caret the user moves, so that its own changes start there.
  model_.EditChange(id, EditTextOf(*edits_[At(id)], false));
}

void TDebugForm::RunButton(bool hide_window) {
  if (hide_window) {
    hide();
  } else {
    Refresh();
  }
}

}  // namespace orlan
