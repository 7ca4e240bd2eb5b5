#include "debugger/debug_window_model.h"

#include <algorithm>
#include <utility>

#include "debugger/disassembly_line.h"
#include "debugger/key_codes.h"

namespace orlan {
namespace {

Group GroupOf(Pane pane) {
  switch (pane) {
    case Pane::kList:
      return Group::kList;
    case Pane::kRegisters:
      return Group::kRegisters;
    case Pane::kBinary:
      break;
  }
  return Group::kBinary;
}

// The in-place edits share their order with the panes.
EditId EditOf(Pane pane) { return static_cast<EditId>(pane); }

}  // namespace

DebugWindowModel::DebugWindowModel(Machine& machine)
    : machine_(machine), watch_(machine), disassembler_(machine, format_), assembler_(format_) {
  disassembler_.set_symbols(&symbols_);
  assembler_.set_symbols(&symbols_);
  box(EditId::kRegisters).upper_case = true;
  box(EditId::kTrace).max_length = kTraceDigits;
  ConfigureBreakpointEdit();
  SetListStart(kInitialListStart);
}

void DebugWindowModel::DebugCreate(int64_t radix_setting) {
  EndEdit();
  registers_ = RegisterPane();
  memory_ = MemoryEditor();
  SetListStart(kInitialListStart);
  format_ = NumberFormat::ForRadix(radix_setting);
  ConfigureBreakpointEdit();
}

void DebugWindowModel::SetSymbols(SymbolTable symbols) {
  symbols_ = std::move(symbols);
  ConfigureBreakpointEdit();
}

void DebugWindowModel::ConfigureBreakpointEdit() {
  EditBox& e = box(EditId::kBreakpoint);
  e.upper_case = !TakesNames();
  e.max_length = TakesNames() ? kSymbolEditLength : format_.word_digits;
}

void DebugWindowModel::WidenForNames(EditRequest& request, PaneSize size) const {
  if (!TakesNames()) return;
  if (request.mode != EditMode::kListAddress && request.mode != EditMode::kBinAddress) return;
  // The whole first row, so that a name fits.
  request.width = std::max(request.width, size.cols);
  request.upper_case = false;
}

std::optional<uint32_t> DebugWindowModel::EditAddress(EditId id) {
  EditBox& e = box(id);
  if (!TakesNames()) return TextToNumber(e.state.text, format_.radix);
  const auto address = ParseAddressText(e.state.text, format_.radix, symbols_);
  if (address.ok) return address.value;
  e.reason = address.message;
  e.state.caret = address.error_at;
  e.state.selection = 0;
  return std::nullopt;
}

void DebugWindowModel::DebugShow() {
  machine_.run.Stop();
  // Any stop ends what the last run was after.
  watch_.Settle();
  watch_.CancelGoal();
  SetListStart(machine_.cpu.pc());
  active_group_ = Group::kList;
}

void DebugWindowModel::DebugHide() {
  EndEdit();
  watch_.Arm();
  machine_.run.Resume(kResumeDelayTicks);
  if (on_release) on_release();
}

int DebugWindowModel::WindowWidth() const {
  return 8 * (format_.word_digits + 16 * format_.byte_digits + 34) + 65;
}

void DebugWindowModel::SetPaneSize(Pane pane, PaneSize size) {
  sizes_[Index(pane)] = size;
  UpdateBar(pane);
}

void DebugWindowModel::UpdateBar(Pane pane) {
  const PaneSize size = pane_size(pane);
  switch (pane) {
    case Pane::kList:
      break;  // its range depends on the address window only, kept by SetListStart
    case Pane::kRegisters:
      registers_.Fit(size);
      break;
    case Pane::kBinary:
      memory_.UpdateBar(size, machine_.ram_top());
      break;
  }
}

PaneText DebugWindowModel::Paint(Pane pane) {
  const PaneSize size = pane_size(pane);
  switch (pane) {
    case Pane::kList:
      return list_.Paint(size, disassembler_, format_);
    case Pane::kRegisters:
      return registers_.Paint(size, machine_.cpu, format_);
    case Pane::kBinary:
      break;
  }
  return memory_.Paint(size, machine_, format_);
}

const ScrollBarState& DebugWindowModel::scroll_bar(Pane pane) const {
  switch (pane) {
    case Pane::kList:
      return list_.scroll_bar();
    case Pane::kRegisters:
      return registers_.scroll_bar();
    case Pane::kBinary:
      break;
  }
  return memory_.scroll_bar();
}

std::vector<RowMark> DebugWindowModel::ListMarks() const {
  return orlan::ListMarks(list_.row_addresses(), machine_.cpu.pc(), watch_.breakpoints());
}

std::string DebugWindowModel::StopText() const {
  const std::optional<StopReason>& stop = watch_.last_stop();
  if (!stop) return "";
  return AddressText(stop->pc, format_) + " " + stop->Text(format_);
}

std::vector<std::string> DebugWindowModel::HistoryLines() {
  std::vector<std::string> lines;
  for (const HistoryEntry& entry : watch_.History()) {
    lines.push_back(HistoryText(machine_, entry, format_, &symbols_));
  }
  return lines;
}

bool DebugWindowModel::ListLineClick(Cell cell) {
  const auto rows = list_.row_addresses();
  if (cell.row < 0 || cell.row >= static_cast<int>(rows.size())) return false;
  const std::optional<uint16_t> line = rows[static_cast<std::size_t>(cell.row)];
  if (!line) return false;  // a label row
  const uint16_t address = *line;
  cursor_line_ = address;
  const int w = format_.word_digits;
  // The address column (of the first line: the start-address edit's) and the marker
  // column after it.
  const bool on_address = cell.column >= 0 && cell.column < w && cell.row > 0;
  const bool on_marker = cell.column >= w && cell.column < w + 2;
  if (!on_address && !on_marker) return false;
  watch_.ToggleBreakpoint(address);
  return true;
}

void DebugWindowModel::PaneMouseDown(Pane pane, Cell cell) {
  Activate(GroupOf(pane));
  const PaneSize size = pane_size(pane);
  std::optional<EditRequest> request;
  switch (pane) {
    case Pane::kList:
      if (ListLineClick(cell)) return;
      request = list_.Click(cell, size, disassembler_, format_);
      break;
    case Pane::kRegisters:
      request = registers_.Click(cell, size, format_);
      break;
    case Pane::kBinary:
      request = memory_.Click(cell, size, machine_.ram_top(), format_);
      break;
  }
  if (!request) return;
  WidenForNames(*request, size);
  BeginEdit(EditOf(pane), *request);
}

void DebugWindowModel::ScrollPaneTo(Pane pane, int position) {
  const PaneSize size = pane_size(pane);
  switch (pane) {
    case Pane::kList:
      list_.ScrollTo(position);
      break;
    case Pane::kRegisters:
      registers_.ScrollTo(position, size);
      break;
    case Pane::kBinary:
      memory_.ScrollTo(position, size, machine_.ram_top());
      break;
  }
}

void DebugWindowModel::PaneScroll(Pane pane, int position) {
  ScrollPaneTo(pane, position);
  Activate(GroupOf(pane));
}

void DebugWindowModel::BinRadioButtonClick(int unit) {
  memory_.set_bin_unit(unit);
  Activate(Group::kBinary);
}

void DebugWindowModel::EditKeyDown(EditId edit, int key) {
  if (edit == EditId::kTrace || edit == EditId::kBreakpoint) return;
  const auto pane = static_cast<Pane>(edit);
  if (key == kKeyEscape) {
    EndEdit();
    return;
  }
  if (edit_mode_ == EditMode::kNone) {
    // The closed edit keeps the focus, so it carries the pane's navigation keys.
    UpdateBar(pane);
    const int t = ScrollTarget(key, scroll_bar(pane));
    if (t >= 0) ScrollPaneTo(pane, t);
    return;
  }
  if (key != kKeyEnter) return;
  switch (pane) {
    case Pane::kList:
      ListEnter();
      break;
    case Pane::kRegisters:
      RegisterEnter();
      break;
    case Pane::kBinary:
      BinEnter();
      break;
  }
}

void DebugWindowModel::ListEnter() {
  EditBox& e = box(EditId::kList);
  if (edit_mode_ == EditMode::kListAddress) {
    const std::optional<uint32_t> address = EditAddress(EditId::kList);
    if (!address) return;  // stays open at the fault
    SetListStart(static_cast<uint16_t>(*address));
    EndEdit();
  } else if (edit_mode_ == EditMode::kAssemble) {
    if (!assembler_.AssembleLine(e.state.text, edit_target_)) {
      // The edit stays open with the caret before the offending character.
      e.state.caret = assembler_.pos() - 1;
      e.state.selection = 0;
      LimitLength(e.state, 0);
      e.reason = assembler_.reason();
      return;
    }
    disassembler_.set_address(edit_target_);
    for (uint16_t word : assembler_.words()) disassembler_.StoreWord(word);
    // Also an empty line counts: the user has worked on the code.
    machine_.run.MarkRomModified();
    EndEdit();
  }
}

void DebugWindowModel::RegisterEnter() {
  if (edit_mode_ != EditMode::kRegister) return;
  RegisterPane::Store(machine_.cpu, edit_target_,
                      TextToNumber(box(EditId::kRegisters).state.text, format_.radix));
  EndEdit();
}

void DebugWindowModel::BinEnter() {
  const std::string& text = box(EditId::kBinary).state.text;
  switch (edit_mode_) {
    case EditMode::kBinAddress: {
      const std::optional<uint32_t> address = EditAddress(EditId::kBinary);
      if (!address) return;  // stays open at the fault
      memory_.AcceptStart(*address, pane_size(Pane::kBinary), machine_.ram_top());
      break;
    }
    case EditMode::kBinCell:
      memory_.StoreCell(machine_, edit_target_, TextToNumber(text, format_.radix));
      break;
    case EditMode::kBinChar:
      // An empty character edit leaves the cell as it was.
      if (!text.empty() && edit_target_ <= machine_.ram_top()) {
        machine_.ram()[edit_target_] = static_cast<uint8_t>(text.front());
      }
      break;
    default:
      return;
  }
  EndEdit();
}

int DebugWindowModel::FilterBase(EditId id) const {
  switch (id) {
    case EditId::kList:
      return edit_mode_ == EditMode::kListAddress && !TakesNames() ? format_.radix : 0;
    case EditId::kRegisters:
      return format_.radix;
    case EditId::kBinary:
      if (edit_mode_ == EditMode::kBinAddress) return TakesNames() ? 0 : format_.radix;
      return edit_mode_ == EditMode::kBinCell ? format_.radix : 0;
    case EditId::kTrace:
      return 10;
    case EditId::kBreakpoint:
      break;
  }
  return TakesNames() ? 0 : format_.radix;
}

void DebugWindowModel::EditChange(EditId id, const EditText& text) {
  EditBox& e = box(id);
  if (text.text != e.state.text) e.reason.clear();
  e.state = text;
  if (e.upper_case) UpperCase(e.state);
  LimitLength(e.state, e.max_length);
  if (const int base = FilterBase(id)) FilterDigits(e.state, base);
}

void DebugWindowModel::BeginEdit(EditId id, const EditRequest& request) {
  edit_mode_ = request.mode;
  edit_target_ = request.target;
  EditBox& e = box(id);
  e.upper_case = request.upper_case;
  e.column = request.column;
  e.row = request.row;
  e.width = request.width;
  e.max_length = request.width;
  e.state = EditText();
  e.reason.clear();
}

void DebugWindowModel::EndEdit() {
  edit_mode_ = EditMode::kNone;
  for (EditId id : {EditId::kList, EditId::kRegisters, EditId::kBinary}) {
    EditBox& e = box(id);
    e.state = EditText();
    e.reason.clear();
    e.column = 0;
    e.row = 0;
    e.width = 0;
  }
}

void DebugWindowModel::Activate(Group group) {
  active_group_ = group;
  EndEdit();
}

void DebugWindowModel::GroupClick(Group group) { Activate(group); }

}  // namespace orlan
