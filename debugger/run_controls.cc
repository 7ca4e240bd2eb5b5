// The debug window's three run controls: one step, a number of steps, and a run to
// a breakpoint. The last two hand the machine back to the run tick.
#include "debugger/debug_window_model.h"

namespace orlan {

void DebugWindowModel::StepButtonClick() {
  watch_.Step();
  SetListStart(machine_.cpu.pc());
  Activate(Group::kStep);
}

bool DebugWindowModel::StepOverClick() {
  if (watch_.ArmStepOver()) {
    EndEdit();
    return true;
  }
  StepButtonClick();
  return false;
}

bool DebugWindowModel::StepOutClick() {
  EndEdit();
  watch_.ArmStepOut();
  return true;
}

bool DebugWindowModel::RunToCursorClick() {
  if (!cursor_line_) return false;
  EndEdit();
  watch_.ArmUntil(*cursor_line_);
  return true;
}

bool DebugWindowModel::TraceButtonClick() {
  const uint32_t n = TextToNumber(box(EditId::kTrace).state.text, 10);
  Activate(Group::kTrace);
  // The edit holds at most six digits; a longer text set from outside must not turn
  // negative and so never stop.
  if (n == 0 || n > 999999) return false;
  machine_.run.Trace(static_cast<int32_t>(n));
  return true;
}

bool DebugWindowModel::BpButtonClick() {
  Activate(Group::kBreakpoint);
  box(EditId::kBreakpoint).reason.clear();
  const std::optional<uint32_t> address = EditAddress(EditId::kBreakpoint);
  if (!address) return false;  // an unknown symbol: the window stays, the edit says why
  // An address is a 16-bit value: in bases 8 to 10 the edit's digits reach beyond
  // 177777, and such a breakpoint could never equal PC.
  machine_.run.RunTo(static_cast<uint16_t>(*address));
  return true;
}

}  // namespace orlan
