// The debug window's Qt view on the offscreen platform: it stops and resumes the
// machine, places the in-place edits where the model says and forwards typing, keys
// and buttons to the model.
#include <QApplication>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>

#include "core/machine.h"
#include "debugger/debug_window_model.h"
#include "frontend/qt/debug_form.h"
#include "frontend/qt/pane_view.h"

namespace orlan {
namespace {

int64_t Hex(std::string_view, std::string_view, int64_t fallback) { return fallback; }

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
    form_ = std::make_unique<TDebugForm>(*machine_, Hex);
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
    QCOMPARE(form_->group(Group::kList)->styleSheet().contains(QStringLiteral("0, 0, 255")), true);

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
    QTest::keyClick(edit, Qt::Key_End);  // moves the caret in the open edit only
    QCOMPARE(form_->model().list().list_top(), 0x0100);
    QTest::keyClick(edit, Qt::Key_Backspace);
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
    QCOMPARE(bp->toolTip(), QStringLiteral("unknown symbol: nowhere"));
    bp->clear();
    QTest::keyClicks(bp, QStringLiteral("putc"));
    QCOMPARE(bp->toolTip(), QString());  // a changed text clears the complaint
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

 private:
  std::unique_ptr<Machine> machine_;
  std::unique_ptr<TDebugForm> form_;
};

}  // namespace orlan

QTEST_MAIN(orlan::DebugFormTest)
#include "debug_form_qtest.moc"
