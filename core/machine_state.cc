// The machine's part of a saved state: processor, run control and memory.
#include <algorithm>

#include "core/machine.h"
#include "core/state_io.h"

namespace orlan {

void RunControl::SaveState(StateWriter& out) const {
  out.Section("RUN");
  out.I32(trace_count_);
  out.I32(breakpoint_address_);
  out.Bool(run_stopped_);
  out.I32(resume_delay_);
  out.Bool(rom_modified_);
}

void RunControl::LoadState(StateReader& in) {
  in.Section("RUN");
  trace_count_ = in.I32();
  breakpoint_address_ = in.I32();
  if (breakpoint_address_ > 0177777) in.Bad("breakpoint address");
  run_stopped_ = in.Bool();
  resume_delay_ = in.I32();
  rom_modified_ = in.Bool();
}

void Machine::SaveState(StateWriter& out) const {
  out.Section("CPU");
  out.Bytes(cpu.cells);
  for (const uint16_t w : {cpu.psw, cpu.ir, cpu.cpc, cpu.cps, cpu.ea, cpu.mask}) out.U16(w);
  for (const bool b : {cpu.trace_suppress, cpu.wait, cpu.irq_clock, cpu.irq_channel}) out.Bool(b);
  // The pending write names its device by bus window, never by host address.
  int pending = -1;
  for (std::size_t i = 0; i < devices_.size(); ++i) {
    if (cpu.pending_write != nullptr && cpu.pending_write == devices_[i].get()) {
      pending = static_cast<int>(i);
    }
  }
  out.Index(pending);
  run.SaveState(out);
  out.Section("MEM");
  out.U16(ram_size_);
  out.Bytes(ram());
  out.Bytes(rom());
}

void Machine::LoadState(StateReader& in) {
  in.Section("CPU");
  in.Bytes(cpu.cells);
  for (uint16_t* w : {&cpu.psw, &cpu.ir, &cpu.cpc, &cpu.cps, &cpu.ea, &cpu.mask}) *w = in.U16();
  if (cpu.mask != kWordMask && cpu.mask != kByteMask) in.Bad("access mask");
  for (bool* b : {&cpu.trace_suppress, &cpu.wait, &cpu.irq_clock, &cpu.irq_channel}) {
    *b = in.Bool();
  }
  const int pending = in.Index(static_cast<int>(devices_.size()));
  cpu.pending_write = pending < 0 ? nullptr : devices_[pending].get();
  run.LoadState(in);
  in.Section("MEM");
  const uint16_t size = in.U16();
  if (size != RamSizeFromSetting(size)) in.Bad("RAM size");
  SetRamSize(size);
  in.Bytes(ram());
  in.Bytes(rom());
}

}  // namespace orlan
