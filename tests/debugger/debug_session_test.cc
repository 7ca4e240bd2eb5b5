// A user at the debug window: stops the machine, lists and patches code, steps,
// runs a number of steps and runs to a breakpoint, with the run tick stopping into
// the window as the front end wires it.
#include <gtest/gtest.h>

#include "debugger/debug_window_model.h"
#include "tests/core/test_machine.h"
#include "tests/debugger/window_test_util.h"

namespace orlan {
namespace {

using testing::Deposit;

constexpr uint16_t kIncR0 = 005200;
constexpr uint16_t kReserved = 007000;  // traps through 010: loops back to the start

class DebugSession : public ::testing::Test {
 protected:
  void SetUp() override {
    // 0x40-0x4E: eight times inc r0, then a reserved word whose trap (vector 010)
    // enters 0x40 again.
    Deposit(m_, 0x40, {kIncR0, kIncR0, kIncR0, kIncR0, kIncR0, kIncR0, kIncR0, kIncR0, kReserved});
    Deposit(m_, 010, {0x40, 0});
    m_.cpu.set_sp(01000);
    m_.cpu.set_pc(0x40);
    m_.cpu.psw = 0;
    // The front end shows the window when the run stops; showing it runs DebugShow.
    m_.on_debug_stop = [this] {
      visible_ = true;
      model_.DebugShow();
    };
  }

  // What the user sees: one row of a pane as a line of text.
  std::string Row(Pane pane, int row) {
    const auto rows = testing::PaneRows(model_.Paint(pane));
    return row < static_cast<int>(rows.size()) ? rows[static_cast<std::size_t>(row)] : "";
  }

  void Show() {  // F3
    visible_ = true;
    model_.DebugShow();
  }
  void Hide() {
    visible_ = false;
    model_.DebugHide();
  }
  void Type(EditId edit, const std::string& text) { window_.Type(edit, text); }
  void Key(EditId edit, int key) { model_.EditKeyDown(edit, key); }
  // Run ticks until the window shows again; gives the number of ticks.
  int TicksUntilShown() {
    int ticks = 0;
    while (!visible_ && ticks < 1000) {
      m_.RunSlice();
      ++ticks;
    }
    return ticks;
  }

  testing::Window window_{16};
  Machine& m_ = window_.machine;
  DebugWindowModel& model_ = window_.model;
  bool visible_ = false;
};

TEST_F(DebugSession, ListPatchStepTraceAndBreakpoint) {
  Show();
  EXPECT_TRUE(m_.run.run_stopped());
  EXPECT_EQ(Row(Pane::kList, 0), "0040: inc   r0");

  // Start the listing one instruction later.
  model_.PaneMouseDown(Pane::kList, {0, 0});
  const EditBox& list_edit = model_.edit(EditId::kList);
  EXPECT_EQ((std::array{list_edit.column, list_edit.row, list_edit.width}), (std::array{0, 0, 4}));
  EXPECT_TRUE(list_edit.upper_case);
  Type(EditId::kList, "4g2");
  EXPECT_EQ(list_edit.state.text, "42");
  Key(EditId::kList, kKeyEnter);
  EXPECT_EQ(model_.list().list_top(), 0x42);
  EXPECT_FALSE(list_edit.open());

  // Assemble a two-word instruction over the second line.
  model_.PaneMouseDown(Pane::kList, {6, 1});
  EXPECT_EQ(model_.edit_target(), 0x44);
  EXPECT_FALSE(list_edit.upper_case);
  Type(EditId::kList, "mov #1234,r1");
  Key(EditId::kList, kKeyEnter);
  EXPECT_TRUE(m_.run.rom_modified());
  EXPECT_EQ(m_.PeekWord(0x44), 012701);
  EXPECT_EQ(m_.PeekWord(0x46), 0x1234);
  EXPECT_EQ(Row(Pane::kList, 1), "0044: mov   #1234,r1");
  EXPECT_EQ(Row(Pane::kList, 2), "0048: inc   r0");

  // A line that does not assemble stays open with the caret on the error.
  model_.PaneMouseDown(Pane::kList, {6, 2});
  Type(EditId::kList, "mov r1,(r9)");
  Key(EditId::kList, kKeyEnter);
  EXPECT_EQ(model_.edit_mode(), EditMode::kAssemble);
  EXPECT_EQ(list_edit.state.caret, 8);
  EXPECT_EQ(m_.PeekWord(0x48), kIncR0);
  Key(EditId::kList, kKeyEscape);
  EXPECT_EQ(model_.edit_mode(), EditMode::kNone);

  // Single step.
  model_.StepButtonClick();
  EXPECT_EQ(m_.cpu.R(0), 1);
  EXPECT_EQ(m_.cpu.pc(), 0x42);
  EXPECT_EQ(Row(Pane::kList, 0), "0042: inc   r0");
  EXPECT_TRUE(visible_);

  // Five steps: inc, mov, inc, inc, inc; the machine resumes 30 ticks after hiding.
  model_.GroupClick(Group::kTrace);
  Type(EditId::kTrace, "5");
  ASSERT_TRUE(model_.TraceButtonClick());
  Hide();
  EXPECT_EQ(TicksUntilShown(), kResumeDelayTicks + 1);
  EXPECT_EQ(m_.cpu.pc(), 0x4E);
  EXPECT_EQ(m_.cpu.R(0), 5);
  EXPECT_EQ(m_.cpu.R(1), 0x1234);
  EXPECT_TRUE(m_.run.run_stopped());
  EXPECT_EQ(m_.run.trace_count(), -1);
  EXPECT_EQ(Row(Pane::kList, 0), "004E: inc   r0");
  EXPECT_EQ(Row(Pane::kRegisters, 7), "PC: 004E");

  // Run to a breakpoint behind the loop's back edge.
  model_.GroupClick(Group::kBreakpoint);
  Type(EditId::kBreakpoint, "42");
  ASSERT_TRUE(model_.BpButtonClick());
  Hide();
  EXPECT_EQ(TicksUntilShown(), kResumeDelayTicks + 1);
  EXPECT_EQ(m_.cpu.pc(), 0x42);
  EXPECT_EQ(m_.cpu.R(0), 7);  // at 0x4E and, after the trap, at 0x40
  EXPECT_EQ(m_.cpu.sp(), 01000 - 4);
  EXPECT_EQ(m_.run.breakpoint_address(), -1);
  EXPECT_EQ(Row(Pane::kList, 0), "0042: inc   r0");
  EXPECT_EQ(model_.edit(EditId::kBreakpoint).state.text, "42");
}

TEST_F(DebugSession, BreakpointAtTheStopAddressIsPassedOnceThenHit) {
  m_.cpu.set_pc(0x44);
  Show();
  model_.GroupClick(Group::kBreakpoint);
  Type(EditId::kBreakpoint, "44");
  ASSERT_TRUE(model_.BpButtonClick());
  Hide();
  EXPECT_EQ(TicksUntilShown(), kResumeDelayTicks + 1);
  EXPECT_EQ(m_.cpu.pc(), 0x44);
  EXPECT_EQ(m_.cpu.R(0), 8) << "one whole trip round the loop";
}

TEST_F(DebugSession, OneStepStopsAfterExactlyOneStep) {
  Show();
  Type(EditId::kTrace, "1");
  ASSERT_TRUE(model_.TraceButtonClick());
  Hide();
  m_.run.set_steps_per_tick(400);
  EXPECT_EQ(TicksUntilShown(), kResumeDelayTicks + 1);
  EXPECT_EQ(m_.cpu.R(0), 1);
  EXPECT_EQ(m_.cpu.pc(), 0x42);
}

}  // namespace
}  // namespace orlan
