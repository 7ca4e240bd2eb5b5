#include "core/machine.h"

#include "core/addressing.h"
#include "core/batch_table.h"
#include "core/decoder.h"
#include "core/stub_device.h"

namespace orlan {

uint16_t RamSizeFromSetting(int64_t setting) {
  uint32_t size = static_cast<uint16_t>(setting);
  if (size < 040000) size = 040000;
  if (size > 0100000) size = 0100000;
  return static_cast<uint16_t>((size + 15) & 0177760);
}

Machine::Machine() {
  rom_.fill(0377);
  ram_[kRamStoreSize] = 0377;
  AttachDevice(DeviceWindow::kLcd, std::make_unique<StubDevice>(*this, 2, true));
  AttachDevice(DeviceWindow::kChannel, std::make_unique<StubDevice>(*this, 4, true));
  AttachDevice(DeviceWindow::kRtc, std::make_unique<StubDevice>(*this, 64, false));
}

Machine::~Machine() = default;

void Machine::SetRamSize(uint16_t size) {
  // Normalised again so that no size can put RamTop past the end of RamStore, where
  // the bus's fast path would index outside it.
  size = RamSizeFromSetting(size);
  ram_size_ = size;
  ram_top_ = static_cast<uint16_t>(size - 1);
  UpdateFastPaths();
}

void Machine::AttachDevice(DeviceWindow window, std::unique_ptr<BusDevice> device) {
  auto& slot = devices_[static_cast<int>(window)];
  if (cpu.pending_write == slot.get()) cpu.pending_write = nullptr;
  slot = std::move(device);
}

void Machine::SetObserver(RunObserver* observer, bool watch_accesses) {
  observer_ = observer;
  watch_accesses_ = observer != nullptr && watch_accesses;
  UpdateFastPaths();
}

void Machine::UpdateFastPaths() {
  fast_read_end_ = watch_accesses_ ? 0 : ram_top_;
  fast_write_end_ = watch_accesses_ ? 0 : static_cast<uint16_t>(ram_top_ + 1);
  fast_rom_begin_ = static_cast<uint16_t>(ram_top_ + 1);
  fast_rom_size_ = watch_accesses_ ? 0 : static_cast<uint16_t>(kLcdBase - fast_rom_begin_);
}

uint8_t* Machine::LocateReadSlow(uint16_t a) {
  if (watch_accesses_) {
    observer_->OnAccess(a, cpu.mask == kWordMask ? 2 : 1, false);
    if (a < ram_top_) return &ram_[a];
  }
  if (a == ram_top_) {
    // A word read at the last (odd) RAM byte gets 377 as its high half.
    ram_[a + 1u] = 0377;
    return &ram_[a];
  }
  if (static_cast<uint16_t>(a - kLcdBase) <= kRtcBase + 0177 - kLcdBase) {
    // A device handler may raise a request or arm the pending write: no batch goes on.
    Attend(kAttentionDevice);
    if ((a & 0177774) == kLcdBase) return devices_[0]->Read(a - kLcdBase);
    if ((a & 0177760) == kChannelBase) return devices_[1]->Read(a - kChannelBase);
    if ((a & 0177600) == kRtcBase) return devices_[2]->Read(a - kRtcBase);
  }
  if (a <= kRomLast) {
    if (a == kRomLast) rom_[kRomStoreSize] = 0377;
    return &rom_[a - kRomBase];
  }
  unmapped_.fill(0377);
  return unmapped_.data();
}

uint8_t* Machine::LocateWriteSlow(uint16_t a) {
  if (watch_accesses_) {
    observer_->OnAccess(a, cpu.mask == kWordMask ? 2 : 1, true);
    if (a <= ram_top_) return &ram_[a];
  }
  if (static_cast<uint16_t>(a - kLcdBase) <= kRtcBase + 0177 - kLcdBase) {
    Attend(kAttentionDevice);
    if ((a & 0177774) == kLcdBase) return devices_[0]->Write(a - kLcdBase);
    if ((a & 0177760) == kChannelBase) return devices_[1]->Write(a - kChannelBase);
    if ((a & 0177600) == kRtcBase) return devices_[2]->Write(a - kRtcBase);
  }
  // The processor never changes ROM.
  return write_sink_.data();
}

uint8_t Machine::PeekByte(uint16_t a) const {
  if (a <= ram_top_) return ram_[a];
  if (a >= kRomBase && a <= kRomLast) return rom_[a - kRomBase];
  return 0377;
}

uint16_t Machine::PeekWord(uint16_t a) const {
  return static_cast<uint16_t>(PeekByte(a) | (PeekByte(static_cast<uint16_t>(a + 1)) << 8));
}

bool Machine::PokeByte(uint16_t a, uint8_t value) {
  if (!Pokeable(a)) return false;
  if (a <= ram_top_) {
    ram_[a] = value;
  } else {
    rom_[a - kRomBase] = value;
  }
  return true;
}

bool Machine::PokeWord(uint16_t a, uint16_t value) {
  const bool low = PokeByte(a, static_cast<uint8_t>(value));
  const bool high = PokeByte(static_cast<uint16_t>(a + 1), static_cast<uint8_t>(value >> 8));
  return low && high;
}

void Machine::CpuReset() {
  cpu.pending_write = nullptr;  // a device write still pending is dropped
  cpu.trace_suppress = false;
  cpu.wait = false;
  cpu.irq_clock = false;
  cpu.irq_channel = false;
  cpu.cpc &= 0177776;
  cpu.set_pc(kResetAddress);
  cpu.psw = 0340;
}

void Machine::EnterTrap(uint16_t vector) {
  CpuState& c = cpu;
  c.mask = kWordMask;
  ComputeEA(*this, 046);
  c.ea &= kWordMask;
  StoreWord(BusLocateWrite(), c.psw);
  ComputeEA(*this, 046);
  StoreWord(BusLocateWrite(), c.pc());
  c.ea = vector & kWordMask;
  c.set_pc(LoadWord(BusLocateRead()) & kWordMask);
  c.ea = static_cast<uint16_t>(c.ea + 2);
  c.psw = LoadWord(BusLocateRead());
}

int32_t Machine::CpuStep() {
  CpuState& c = cpu;
  // One test for the rare cases: bitwise ORs keep the common path free of branches.
  if ((c.pending_write != nullptr) | c.wait | c.irq_clock | c.irq_channel) [[unlikely]] {
    if (BusDevice* commit = c.pending_write) {
      commit->Commit();
      c.pending_write = nullptr;
    }
    if (c.irq_clock || c.irq_channel) c.wait = false;
    if (c.wait) return 1;
    if (!(c.psw & kPswPriority7)) {
      if (c.irq_clock) {
        c.irq_clock = false;
        EnterTrap(kVectorClock);
        c.trace_suppress = false;
        return 1;
      }
      if (c.irq_channel) {
        c.irq_channel = false;
        EnterTrap(kVectorChannel);
        c.trace_suppress = false;
        return 1;
      }
    }
  }
  // Fetch with field 27 ((PC)+) as a word.
  c.mask = kWordMask;
  const uint16_t pc = c.pc();
  c.ea = pc;
  c.set_pc(static_cast<uint16_t>(pc + 2));
  c.ir = LoadWord(BusLocateRead());
  const uint16_t vector = DispatchInstruction(*this);
  c.set_pc(c.pc() & kWordMask);
  FinishStep(vector);
  return 1;
}

void Machine::FinishStep(uint16_t vector) {
  CpuState& c = cpu;
  if ((c.psw & kPswT) && vector == 0 && !c.trace_suppress) vector = kVectorBpt;
  if (vector != 0) [[unlikely]]
    EnterTrap(vector);
  c.trace_suppress = false;
}

void Machine::StopIntoDebugger() {
  if (on_debug_stop) {
    on_debug_stop();
    return;
  }
  run.Stop();
}

void Machine::RunSlice() {
  if (run.SkipDelayedTick()) return;
  RunSteps(run.steps_per_tick());
}

bool Machine::NeedsAttention() const {
  const CpuState& c = cpu;
  return c.pending_write != nullptr || c.wait || c.irq_clock || c.irq_channel ||
         (c.psw & kPswT) != 0 || c.trace_suppress || run.trace_count() > 0 ||
         run.breakpoint_address() >= 0 || run.run_stopped() || observer_ != nullptr;
}

// The plain step: nothing pending, no request, WAIT or T bit, no trace count,
// breakpoint or observer, so CpuStep's rare branch and the run's tests after each
// step have nothing to do; PC and IR stay in locals, written back where they can be
// seen. The step that raises attention finishes as CpuStep does and ends the batch.
int32_t Machine::RunBatch(int32_t budget) {
  const BatchDispatch& table = BatchTable();
  CpuState& c = cpu;
  const uint16_t read_end = fast_read_end_;
  attention_ = 0;
  batch_vector_ = 0;
  steps_left_ = budget;
  uint16_t pc = c.pc();
  uint32_t ir = c.ir;
  codes = SourcesOf(c.psw);
  for (;;) {
    // Fetch with field 27 ((PC)+) as a word; ROM below the device windows is plain too.
    // A handler whose operands move no EA leaves it at the fetch address itself, and
    // the access mask is only seen after the batch.
    if (pc < read_end) {
      ir = LoadWord(&ram_[pc]);
    } else if (InFastRom(pc)) {
      ir = LoadWord(&rom_[pc - kRomBase]);
    } else {
      c.set_pc(static_cast<uint16_t>(pc + 2));
      ir = LoadWord(LocateReadSlow(pc));
    }
    pc = table.handlers[ir](*this, static_cast<uint16_t>(pc + 2), ir);
    pc &= kWordMask;
    if (--steps_left_ == 0) [[unlikely]]
      break;
  }
  c.ir = static_cast<uint16_t>(ir);
  c.set_pc(pc);
  c.psw = WithCodes(c.psw, codes);
  const uint8_t after = table.after[ir];
  if (after & BatchDispatch::kWordMask) c.mask = kWordMask;
  if (after & BatchDispatch::kFetchEa) c.ea = static_cast<uint16_t>(pc - 2);
  if (attention_ == 0) return budget;
  FinishStep(batch_vector_);
  return budget - steps_left_at_attention_ + 1;
}

RunResult Machine::RunSteps(int32_t budget) {
  int32_t tally = 0;
  if (tally >= budget) return {tally, false};
  for (;;) {
    if (NeedsAttention()) {
      if (run.run_stopped()) return {tally, true};
      tally += CpuStep();
    } else {
      tally += RunBatch(budget - tally);
    }
    // A batch's steps before its last leave these tests nothing to do.
    if (run.TraceRunsOut() || run.AtBreakpoint(cpu.pc()) ||
        (observer_ != nullptr && observer_->AfterStep(*this))) {
      StopIntoDebugger();
      return {tally, true};
    }
    if (tally >= budget) return {tally, false};
  }
}

}  // namespace orlan
