// The debug window's Qt view on the offscreen platform: it stops and resumes the
// machine, places the in-place edits where the model says and forwards typing, keys
// and buttons to the model.
#include <QApplication>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>

#include "core/machine.h"
#include "debugger/debug_window_model.h"
#include "frontend/qt/debug_form.h"
#include "frontend/qt/pane_glyphs.h"
#include "frontend/qt/pane_view.h"

namespace orlan {
namespace {

QPoint CellCentre(const TDebugForm& form, int column, int row) {
  return QPoint(column * form.cell().width() + form.cell().width() / 2,
                row * form.cell().height() + form.cell().height() / 2);
}

}  // namespace

class DebugFormTest : public QObject {
  Q_OBJECT

 private slots:
  void init() {
    machine_ = std::make_unique<Machine>();
    machine_->cpu.set_pc(0x0100);
    form_ = std::make_unique<TDebugForm>(*machine_, kDefaultRadix);
  }
  void cleanup() {
    form_.reset();
    machine_.reset();
  }

  void ShowingStopsTheRunAndListsFromPc() {
    machine_->run.Trace(5);
    form_->ShowDebugWindow();
    QVERIFY(form_->isVisible());
    QCOMPARE(form_->windowTitle(), QStringLiteral("Debug Window"));
    QCOMPARE(form_->width(), 625);
    QVERIFY(machine_->run.run_stopped());
    QCOMPARE(machine_->run.trace_count(), -1);
    QCOMPARE(form_->model().list().list_top(), 0x0100);
    const PaneText& runs = form_->pane(Pane::kList)->runs();
    QVERIFY(!runs.empty());
    QCOMPARE(runs.front().text, std::string("0100:"));
    const ScrollBarState& model_bar = form_->model().scroll_bar(Pane::kList);
    QCOMPARE(form_->scroll_bar(Pane::kList)->maximum(), model_bar.max);
    QCOMPARE(form_->scroll_bar(Pane::kList)->value(), model_bar.position);
    QCOMPARE(form_->scroll_bar(Pane::kList)->pageStep(), model_bar.large_change);
    QCOMPARE(form_->focusWidget(), form_->edit(EditId::kList));
  }

  // The layout is built on 8 x 13 cells: ten rows in every pane, the PC line marked,
  // and each glyph drawn dot for dot in its cell.
  void PanesHoldTenRowsOfEightByThirteenCells() {
    form_->ShowDebugWindow();
    QCOMPARE(form_->cell(), QSize(8, 13));
    const struct {
      Pane pane;
      int cols;
    } panes[] = {{Pane::kList, 34}, {Pane::kRegisters, 10}, {Pane::kBinary, 70}};
    for (const auto& p : panes) {
      QCOMPARE(form_->pane(p.pane)->CellCount().cols, p.cols);
      QCOMPARE(form_->pane(p.pane)->CellCount().rows, 10);
      QCOMPARE(form_->model().pane_size(p.pane).rows, 10);
    }
    QCOMPARE(form_->pane(Pane::kList)->marks(), (std::vector<RowMark>{{0, ListMark::kPc}}));

    // "0100:" starts the first row: its "0" in the window-text colour, dot for dot.
    TPaneView* list = form_->pane(Pane::kList);
    const QImage shot = list->grab().toImage();
    const QColor ink = list->palette().color(QPalette::WindowText);
    int differing = 0;
    for (int y = 0; y < kGlyphHeight; ++y) {
      for (int x = 0; x < kGlyphWidth; ++x) {
        const bool dot = kPaneGlyphs['0' - kFirstGlyph][y] & (0x80 >> x);
        differing += (QColor(shot.pixel(x, y)) == ink) != dot;
      }
    }
    QCOMPARE(differing, 0);

    // The assembly edit spans the rest of the row: 34 - 6 cells.
    QTest::mouseClick(list, Qt::LeftButton, {}, CellCentre(*form_, 6, 1));
    QCOMPARE(form_->edit(EditId::kList)->width(), 28 * 8);
  }

  void WheelScrollsThePaneAndMinimumSizeKeepsTheControls() {
    form_->ShowDebugWindow();
    TPaneView* list = form_->pane(Pane::kList);
    const QPointF at(10, 10);
    QWheelEvent wheel(at, list->mapToGlobal(at), {}, {0, -120}, Qt::NoButton, {}, Qt::NoScrollPhase,
                      false);
    QApplication::sendEvent(list, &wheel);
    const int step = QApplication::wheelScrollLines();
    QCOMPARE(form_->model().list().list_top(), 0x0100 + 2 * step);

    form_->resize(10, 10);
    QCOMPARE(form_->size(), form_->minimumSize());
    QCOMPARE(form_->width(), 625);
    for (QWidget* child : form_->findChildren<QWidget*>()) {
      if (!child->isVisible()) continue;
      const QRect r(child->mapTo(form_.get(), QPoint(0, 0)), child->size());
      QVERIFY2(form_->rect().contains(r), qPrintable(child->metaObject()->className()));
    }
    QVERIFY(form_->pane(Pane::kBinary)->CellCount().rows >= 3);
  }

  void KeysReachTheClosedEditAndScrollBarsScroll() {
    form_->ShowDebugWindow();
    QTRY_COMPARE(QApplication::focusWidget(), form_->edit(EditId::kList));
    QTest::keyClick(form_->windowHandle(), Qt::Key_Down);  // delivered to the focus
    QCOMPARE(form_->model().list().list_top(), 0x0102);
    QCOMPARE(form_->scroll_bar(Pane::kList)->value(), 0x0102 / 2);

    form_->scroll_bar(Pane::kBinary)->triggerAction(QAbstractSlider::SliderPageStepAdd);
    const int rows = form_->pane(Pane::kBinary)->CellCount().rows;
    QCOMPARE(form_->model().memory().bin_top(), 16 * rows);
    QCOMPARE(form_->pane(Pane::kBinary)->runs().front().text,
             form_->model().format().WordToText(static_cast<uint16_t>(16 * rows)) + ":");
    QCOMPARE(form_->focusWidget(), form_->edit(EditId::kBinary));
  }

  void AddressEditOpensAtTheModelsCellsAndTakesTheStart() {
    form_->ShowDebugWindow();
    TPaneView* pane = form_->pane(Pane::kList);
    QLineEdit* edit = form_->edit(EditId::kList);
    QTest::mouseClick(pane, Qt::LeftButton, {}, CellCentre(*form_, 0, 0));
    QCOMPARE(form_->model().edit_mode(), EditMode::kListAddress);
    QCOMPARE(edit->geometry(),
             QRect(pane->x(), pane->y(), 4 * form_->cell().width(), form_->cell().height()));
    QCOMPARE(edit->maxLength(), 4);
    const QImage shot = form_->grab().toImage();
    QCOMPARE(QColor(shot.pixel(edit->mapTo(form_.get(), QPoint(1, 1)))), QColor(Qt::yellow));
    QCOMPARE(form_->focusWidget(), edit);
    QCOMPARE(form_->group(Group::kList)->property("active").toBool(), true);

    QTest::keyClicks(edit, QStringLiteral("1x2a"));
    QCOMPARE(edit->text(), QStringLiteral("12A"));  // filtered and upper case
    QTest::keyClick(edit, Qt::Key_Return);
    QCOMPARE(form_->model().list().list_top(), 0x012A);
    QCOMPARE(edit->width(), 0);
    QCOMPARE(QString::fromStdString(pane->runs().front().text), QStringLiteral("012A:"));
  }

  void FailedAssemblyKeepsTheCaretOnTheError() {
    form_->ShowDebugWindow();
    QLineEdit* edit = form_->edit(EditId::kList);
    QTest::mouseClick(form_->pane(Pane::kList), Qt::LeftButton, {}, CellCentre(*form_, 6, 1));
    QCOMPARE(edit->x(), form_->pane(Pane::kList)->x() + 6 * form_->cell().width());
    QTest::keyClicks(edit, QStringLiteral("inc r0 x"));
    QTest::keyClick(edit, Qt::Key_Return);
    QCOMPARE(form_->model().edit_mode(), EditMode::kAssemble);
    QCOMPARE(edit->cursorPosition(), 7);
    QVERIFY(form_->reason_label()->isVisible());
    QCOMPARE(form_->reason_label()->text(), QStringLiteral("end of line expected"));
    QTest::keyClick(edit, Qt::Key_End);  // moves the caret in the open edit only
    QCOMPARE(form_->model().list().list_top(), 0x0100);
    QTest::keyClick(edit, Qt::Key_Backspace);
    QVERIFY(!form_->reason_label()->isVisible());  // the text changed
    QTest::keyClick(edit, Qt::Key_Backspace);
    QTest::keyClick(edit, Qt::Key_Return);
    QCOMPARE(machine_->PeekWord(0x0102), 005200);
    QVERIFY(machine_->run.rom_modified());
  }

  void HidingResumesThirtyTicksLater() {
    form_->ShowDebugWindow();
    QTest::mouseClick(form_->pane(Pane::kRegisters), Qt::LeftButton, {}, CellCentre(*form_, 4, 0));
    QVERIFY(form_->edit(EditId::kRegisters)->width() > 0);
    form_->hide();
    QVERIFY(!machine_->run.run_stopped());
    QCOMPARE(machine_->run.resume_delay(), kResumeDelayTicks);
    QCOMPARE(form_->edit(EditId::kRegisters)->width(), 0);
  }

  void CloseBoxOnlyHides() {
    form_->ShowDebugWindow();
    QVERIFY(form_->close());
    QVERIFY(!form_->isVisible());
    QVERIFY(!form_->testAttribute(Qt::WA_DeleteOnClose));
    QCOMPARE(machine_->run.resume_delay(), kResumeDelayTicks);
    form_->ShowDebugWindow();  // and it comes back
    QVERIFY(machine_->run.run_stopped());
  }

  void RunButtonsHideOnlyWithSomethingToRun() {
    form_->ShowDebugWindow();
    QLineEdit* trace = form_->edit(EditId::kTrace);
    QTest::mouseClick(trace, Qt::LeftButton);
    QTest::keyClicks(trace, QStringLiteral("0"));
    QTest::mouseClick(form_->trace_button(), Qt::LeftButton);
    QVERIFY(form_->isVisible());  // a count of 0 does not run

    QTest::keyClick(trace, Qt::Key_Backspace);
    QTest::keyClicks(trace, QStringLiteral("12345678"));
    QCOMPARE(trace->text(), QStringLiteral("123456"));
    QTest::mouseClick(form_->trace_button(), Qt::LeftButton);
    QVERIFY(!form_->isVisible());
    QCOMPARE(machine_->run.trace_count(), 123456);

    form_->ShowDebugWindow();
    QLineEdit* bp = form_->edit(EditId::kBreakpoint);
    QCOMPARE(bp->maxLength(), 4);
    QTest::mouseClick(bp, Qt::LeftButton);
    QTest::keyClicks(bp, QStringLiteral("f6z0a"));
    QCOMPARE(bp->text(), QStringLiteral("F60A"));
    QTest::mouseClick(form_->bp_button(), Qt::LeftButton);
    QVERIFY(!form_->isVisible());
    QCOMPARE(machine_->run.breakpoint_address(), 0xF60A);
  }

  void BreakpointEditTakesNamesWithSymbols() {
    SymbolTable symbols;
    symbols.Define("putc", 0xF60A);
    form_->model().SetSymbols(symbols);
    form_->ShowDebugWindow();
    QLineEdit* bp = form_->edit(EditId::kBreakpoint);
    QTest::mouseClick(bp, Qt::LeftButton);
    QTest::keyClicks(bp, QStringLiteral("nowhere"));
    QTest::mouseClick(form_->bp_button(), Qt::LeftButton);
    QVERIFY(form_->isVisible());
    QVERIFY(form_->reason_label()->isVisible());
    QCOMPARE(form_->reason_label()->text(), QStringLiteral("unknown symbol: nowhere"));
    bp->clear();
    QTest::keyClicks(bp, QStringLiteral("putc"));
    QVERIFY(!form_->reason_label()->isVisible());  // a changed text clears the complaint
    QTest::mouseClick(form_->bp_button(), Qt::LeftButton);
    QVERIFY(!form_->isVisible());
    QCOMPARE(machine_->run.breakpoint_address(), 0xF60A);
  }

  void StepButtonStepsAndRelists() {
    machine_->PokeByte(0x0100, 0200);  // inc r0 (005200)
    machine_->PokeByte(0x0101, 012);
    form_->ShowDebugWindow();
    QTest::mouseClick(form_->step_button(), Qt::LeftButton);
    QCOMPARE(machine_->cpu.R(0), 1);
    QCOMPARE(form_->pane(Pane::kList)->runs().front().text, std::string("0102:"));
    QVERIFY(form_->isVisible());
  }

  // The debugger's keys, each shown on its button; a click on a line's address sets
  // a breakpoint with its mark; the register pane says when the processor waits.
  void CommandKeysBreakpointClicksAndWaiting() {
    const uint16_t program[] = {005200, 000001, 005201, 004737, 0x0200};  // inc r0; wait; ...
    for (int i = 0; i < 5; ++i)
      machine_->PokeWord(static_cast<uint16_t>(0x100 + 2 * i), program[i]);
    machine_->PokeWord(0x0200, 000207);  // rts pc
    machine_->cpu.set_sp(0x1000);
    form_->ShowDebugWindow();
    QVERIFY(QTest::qWaitForWindowActive(form_.get()));  // shortcuts act in the active window
    QCOMPARE(form_->command_button(TDebugForm::Command::kOver)->text(),
             QStringLiteral("Over  F10"));
    QVERIFY(form_->command_button(TDebugForm::Command::kHistory)->isVisible());

    QTest::mouseClick(form_->pane(Pane::kList), Qt::LeftButton, {}, CellCentre(*form_, 1, 3));
    QCOMPARE(form_->model().watch().breakpoints(), std::vector<uint16_t>{0x0106});
    QCOMPARE(form_->pane(Pane::kList)->marks(),
             (std::vector<RowMark>{{0, ListMark::kPc}, {3, ListMark::kBreakpoint}}));

    QTest::keyClick(form_.get(), Qt::Key_F12);
    QVERIFY(form_->history_view()->isVisible());
    QTest::keyClick(form_.get(), Qt::Key_F11);  // inc r0
    QTest::keyClick(form_.get(), Qt::Key_F11);  // wait
    QCOMPARE(form_->pane(Pane::kRegisters)->runs().back().text, std::string("----- WAIT"));
    QTest::keyClick(form_.get(), Qt::Key_F10);  // inc r1: not a call, one step
    QCOMPARE(machine_->cpu.R(1), 1);
    QVERIFY(form_->isVisible());
    QCOMPARE(form_->history_view()->toPlainText().count(QLatin1Char('\n')), 2);
    QTest::keyClick(form_.get(), Qt::Key_F10);  // the call: the window hides for the run
    QVERIFY(!form_->isVisible());
    QVERIFY(form_->model().watch().goal_armed());
    form_->history_view()->close();
    QVERIFY(!form_->model().watch().history_on());
  }

 private:
  std::unique_ptr<Machine> machine_;
  std::unique_ptr<TDebugForm> form_;
};

}  // namespace orlan

QTEST_MAIN(orlan::DebugFormTest)
#include "debug_form_qtest.moc"
