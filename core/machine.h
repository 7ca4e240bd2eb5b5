// The emulated machine: processor, run control, memory stores and the bus.
#ifndef ORLAN_CORE_MACHINE_H_
#define ORLAN_CORE_MACHINE_H_

#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <span>

#include "core/bus_device.h"
#include "core/condition_codes.h"
#include "core/cpu_state.h"

namespace orlan {

class StateReader;
class StateWriter;

inline constexpr uint16_t kResetAddress = 0173000;
inline constexpr uint16_t kRomBase = 040000;
inline constexpr uint16_t kRomLast = 0177377;          // last byte any image supplies
inline constexpr std::size_t kRamStoreSize = 0100000;  // 32768 bytes
inline constexpr std::size_t kRomStoreSize = kRomLast + 1 - kRomBase;  // 48896 bytes
inline constexpr uint16_t kDefaultRamSize = 040000;                    // 16384 bytes

// Device windows on the bus, in the order the address decode tests them.
enum class DeviceWindow { kLcd, kChannel, kRtc };
inline constexpr uint16_t kLcdBase = 0164000;      // 164000-164003
inline constexpr uint16_t kChannelBase = 0164020;  // 164020-164037
inline constexpr uint16_t kRtcBase = 0165000;      // 165000-165177

// How a run of steps ended.
struct RunResult {
  int32_t steps = 0;     // steps done
  bool stopped = false;  // by the run being stopped, a trace count or a breakpoint
};

class Machine;

// A debugger's view of a run. Attached, it is asked after every step whether the run
// stops, and, when it watches accesses, told of every bus location handed out; the
// run without one pays nothing for either.
class RunObserver {
 public:
  virtual ~RunObserver() = default;
  // A location of `width` bytes (2 for a word access, else 1) at `address`, located
  // for reading or writing. Also called for accesses outside a run (a debugger's own
  // listing reads through the bus), which an observer must tell apart itself.
  virtual void OnAccess(uint16_t address, unsigned width, bool write) = 0;
  // After each step of a run tick: whether the run stops into the debugger there.
  virtual bool AfterStep(Machine& machine) = 0;
};

// The RAM size that a settings value gives: its low 16 bits, raised to 16384,
// lowered to 32768, rounded up to a multiple of 16.
uint16_t RamSizeFromSetting(int64_t setting);

class Machine {
 public:
  // A fresh machine: zeroed processor and RAM, ROM all 377, RAM size 16384, and
  // plain register files in the device windows until real devices are attached.
  Machine();
  ~Machine();
  Machine(const Machine&) = delete;
  Machine& operator=(const Machine&) = delete;

  CpuState cpu;
  RunControl run;

  // --- memory ---------------------------------------------------------------
  void SetRamSize(uint16_t size);  // normalised by RamSizeFromSetting
  uint16_t ram_size() const { return ram_size_; }
  uint16_t ram_top() const { return ram_top_; }
  // RamStore is indexed by bus address (all 32768 bytes, also those above RamTop);
  // RomStore by address minus 040000.
  std::span<uint8_t, kRamStoreSize> ram() {
    return std::span<uint8_t, kRamStoreSize>(ram_.data(), kRamStoreSize);
  }
  std::span<const uint8_t, kRamStoreSize> ram() const {
    return std::span<const uint8_t, kRamStoreSize>(ram_.data(), kRamStoreSize);
  }
  std::span<uint8_t, kRomStoreSize> rom() {
    return std::span<uint8_t, kRomStoreSize>(rom_.data(), kRomStoreSize);
  }
  std::span<const uint8_t, kRomStoreSize> rom() const {
    return std::span<const uint8_t, kRomStoreSize>(rom_.data(), kRomStoreSize);
  }

  // Reads memory as the processor sees it, but without running device handlers:
  // RAM up to RamTop, ROM bytes (also under the device windows) up to 177377,
  // 377 beyond.
  uint8_t PeekByte(uint16_t address) const;
  uint16_t PeekWord(uint16_t address) const;
  // Stores into RAM (up to RamTop) or ROM (040000-177377) directly, the way a
  // debugger patches memory; other addresses are ignored. Returns whether stored.
  bool PokeByte(uint16_t address, uint8_t value);
  // The word little-endian at `address` and the byte after it (the address wraps),
  // byte by byte as PokeByte; returns whether both bytes were stored.
  bool PokeWord(uint16_t address, uint16_t value);
  // Whether PokeByte stores at `address`.
  bool Pokeable(uint16_t address) const {
    return address <= ram_top_ || (address >= kRomBase && address <= kRomLast);
  }

  // --- bus --------------------------------------------------------------------
  // Locate the byte or word at `a` as the processor reaches it, device handlers
  // included. Never fails: every address gives a location of at least two bytes.
  uint8_t* LocateRead(uint16_t a) {
    if (a < fast_read_end_) return &ram_[a];
    return LocateReadSlow(a);
  }
  uint8_t* LocateWrite(uint16_t a) {
    if (a < fast_write_end_) return &ram_[a];
    return LocateWriteSlow(a);
  }
  // The batch handlers' forms, with PC held outside CpuState: it is written back
  // before a slow-path access, where a device might look at it. ROM below the device
  // windows is read directly too, as code running from ROM reads its index words there.
  uint8_t* LocateRead(uint16_t a, uint16_t pc) {
    if (a < fast_read_end_) return &ram_[a];
    if (InFastRom(a)) return &rom_[a - kRomBase];
    cpu.set_pc(pc);
    return LocateReadSlow(a);
  }
  uint8_t* LocateWrite(uint16_t a, uint16_t pc) {
    if (a < fast_write_end_) return &ram_[a];
    cpu.set_pc(pc);
    return LocateWriteSlow(a);
  }
  // The processor's forms: the address is its effective-address register.
  uint8_t* BusLocateRead() { return LocateRead(cpu.ea); }
  uint8_t* BusLocateWrite() { return LocateWrite(cpu.ea); }

  // Devices: the machine owns the device of each window. A device's write handler
  // arms the pending write with itself when its commit waits for the next step.
  void AttachDevice(DeviceWindow window, std::unique_ptr<BusDevice> device);
  BusDevice& device(DeviceWindow window) { return *devices_[static_cast<int>(window)]; }
  void ArmPendingWrite(BusDevice* device) { cpu.pending_write = device; }

  // --- processor --------------------------------------------------------------
  void CpuReset();
  int32_t CpuStep();
  // One run tick: up to run.steps_per_tick() steps, stopping early into the debugger.
  void RunSlice();
  // The steps of a run tick whose resume delay has been counted: up to `budget` steps,
  // ending early when the run stops, a trace count runs out or PC reaches the
  // breakpoint (the last two stop into the debugger). A tick may be run as several
  // such chunks.
  RunResult RunSteps(int32_t budget);

  // --- saved states -------------------------------------------------------------
  // The processor, run control and memory; the devices save their own parts.
  void SaveState(StateWriter& out) const;
  void LoadState(StateReader& in);

  // What a run stop does: the front end shows its debug window here. Without a
  // hook the run control is set as showing that window would set it.
  std::function<void()> on_debug_stop;
  void StopIntoDebugger();

  // Attaches a run observer (null detaches). With `watch_accesses` every bus access,
  // RAM included, takes the slow path that reports it.
  void SetObserver(RunObserver* observer, bool watch_accesses);
  RunObserver* observer() const { return observer_; }

  // --- for the batch handlers -------------------------------------------------------
  // Ends the batch after the current step, which then finishes as CpuStep does: the
  // trap through `vector` (0: none), the T-bit trap, the trace-suppress flag.
  void EndBatch(uint16_t vector) {
    batch_vector_ = vector;
    Attend(kAttentionStep);
  }
  // The condition codes while a batch runs; the PSW's own are stale until it ends.
  // Only the processor reads them (no device handler looks at the PSW).
  CodeSources codes;

 private:
  // Attention bits: why the batch loop leaves its fast path after a step, tested once
  // a step. What is raised between runs (a request, a pending write, WAIT, the T bit,
  // a trace count, a breakpoint, a stop, an observer) is gathered by NeedsAttention
  // before each batch; within one only a device handler or EndBatch can raise any.
  static constexpr uint32_t kAttentionDevice = 1;  // a device handler ran
  static constexpr uint32_t kAttentionStep = 2;    // EndBatch

  // Raises attention: the batch's countdown ends with the current step, and the
  // steps it had left are kept to count the steps run.
  void Attend(uint32_t why) {
    if (attention_ == 0) steps_left_at_attention_ = steps_left_;
    attention_ |= why;
    steps_left_ = 1;
  }
  // Whether a read at `a` is plain ROM with no one to tell: above RamTop, below the
  // device windows, while no observer watches accesses.
  bool InFastRom(uint16_t a) const {
    return static_cast<uint16_t>(a - fast_rom_begin_) < fast_rom_size_;
  }
  uint8_t* LocateReadSlow(uint16_t a);
  uint8_t* LocateWriteSlow(uint16_t a);
  void EnterTrap(uint16_t vector);
  // The end of a step after its instruction: the trap through `vector` (0: none) or
  // the T-bit trap, and the trace suppression cleared.
  void FinishStep(uint16_t vector);
  void UpdateFastPaths();
  // Whether anything makes a step differ from the batch loop's plain step.
  bool NeedsAttention() const;
  // Runs 1 to `budget` plain steps while nothing needs attention; returns the count.
  int32_t RunBatch(int32_t budget);

  uint16_t ram_size_ = kDefaultRamSize;
  uint16_t ram_top_ = kDefaultRamSize - 1;
  // Below these addresses a read or write is plain RAM with no one to tell: RamTop
  // (a word read at RamTop needs its high half) and RamTop + 1, or 0 while watched.
  uint16_t fast_read_end_ = kDefaultRamSize - 1;
  uint16_t fast_write_end_ = kDefaultRamSize;
  uint16_t fast_rom_begin_ = kDefaultRamSize;
  uint16_t fast_rom_size_ = kLcdBase - kDefaultRamSize;
  RunObserver* observer_ = nullptr;
  bool watch_accesses_ = false;
  uint32_t attention_ = 0;
  int32_t steps_left_ = 0;  // the batch's countdown, kept here so that Attend can end it
  int32_t steps_left_at_attention_ = 0;
  uint16_t batch_vector_ = 0;
  // One guard byte after each store: a word access at the store's last (odd)
  // address spans it and so stays inside host memory.
  std::array<uint8_t, kRamStoreSize + 1> ram_{};
  std::array<uint8_t, kRomStoreSize + 1> rom_{};
  std::array<uint8_t, 2> unmapped_{};    // reads of 177400-177777
  std::array<uint8_t, 2> write_sink_{};  // processor stores that go nowhere
  std::array<std::unique_ptr<BusDevice>, 3> devices_;
};

}  // namespace orlan

#endif  // ORLAN_CORE_MACHINE_H_
