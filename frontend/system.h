// A running machine and everything around it: the machine with its devices, the files
// of its folder, the tick schedule and the keys. The window and the monitor drive a
// machine only through a System, so both start, tick, type and close it the same way,
// and every tick and key reaches the machine through one place (in one order, on one
// thread).
#ifndef ORLAN_FRONTEND_SYSTEM_H_
#define ORLAN_FRONTEND_SYSTEM_H_

#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "core/machine.h"
#include "devices/board.h"
#include "devices/folder_lock.h"
#include "devices/io_result.h"
#include "devices/local_time.h"
#include "frontend/emulated_time.h"
#include "frontend/key_pacer.h"
#include "frontend/message_sink.h"
#include "frontend/settings.h"

namespace orlan {

class JournalWriter;
class StateReader;
class StateWriter;
enum class JournalEnd : uint8_t;
enum class JournalRecord : uint8_t;

// Host time in microseconds since any fixed moment, never going back. The window's
// clock is the host's; tests hand in their own.
using HostClock = std::function<int64_t()>;
HostClock SteadyHostClock();

// A timed run tick ends after this much host time even with budget left, so that a
// speed the host cannot reach never holds the window; fast-forward runs steps for this
// long in each run tick.
inline constexpr int64_t kRunTickLimitUs = 50000;
inline constexpr int64_t kFastForwardUs = 8000;

// The outcome of loading a saved state: refused with a reason (nothing changed), or
// loaded, with warnings about the cartridge files.
struct StateLoadResult {
  std::string error;  // empty: loaded
  std::vector<std::string> warnings;
  bool ok() const { return error.empty(); }
};

// What the machine folder supplies.
enum class FolderUse {
  kMachine,  // all of it: settings, ROM images, cartridges, clock file (window, --machine)
  kDevices,  // the cartridges and the clock file only; default settings (monitor's --dir)
};

struct PowerOnOptions {
  std::filesystem::path folder = ".";
  FolderUse use = FolderUse::kMachine;
  // Images named instead of the folder's "rom.bin" and "romt.bin"; a named image must
  // exist.
  std::optional<std::filesystem::path> rom;
  std::optional<std::filesystem::path> romt;
  std::optional<int64_t> ram_size;  // instead of the RamSize setting
  LocalTime now;                    // the clock's start
};

enum class PowerOnResult {
  kStarted,
  kFileError,    // reported; the later steps were skipped (earlier ones keep their effect)
  kFolderInUse,  // another emulator has the folder: reported, nothing read or opened
};

// What the window adds to the start and close sequences; the monitor adds nothing
// but a ROM save target. Every member may be left empty.
struct FrontEndSteps {
  std::function<void()> load_pictures;     // start: after the run state is reset
  std::function<void()> start_timers;      // start: after the processor reset
  std::function<void()> stop_timers;       // close: after the run stops
  std::function<void()> release_pictures;  // close: after the machine files
  // Close: where to save a ROM changed in the debugger, when the settings offer it;
  // nullopt: not saved.
  std::function<std::optional<std::filesystem::path>()> choose_rom_target;
};

// The notice after a paste that skipped `count` characters.
std::string SkippedCharactersNotice(std::size_t count);

// What a paste made of a text: keys to type, and characters without a key.
struct PasteResult {
  std::size_t keys = 0;
  std::size_t skipped = 0;
  bool operator==(const PasteResult&) const = default;
};

class System {
 public:
  // A fresh machine with its devices on the bus, RAM zero, ROM all 377: nothing read.
  System();
  ~System();
  System(const System&) = delete;
  System& operator=(const System&) = delete;

  // --- life cycle -------------------------------------------------------------
  // Window creation: claims the folder, reads the settings, sizes the RAM, loads the
  // ROM images, starts the display controller, opens the cartridges and sets the
  // clock, in this order. A missing file is reported and power-on goes on; a file
  // error (also a machine file that is no regular file) is reported with its text and
  // the remaining steps are skipped. Messages name files by their full paths.
  PowerOnResult PowerOn(const PowerOnOptions& options, MessageSink& sink);
  // What showing the window does: no key held, the run free, the front end's
  // pictures, the whole display to be redrawn, processor reset, the front end's
  // timers, the display marked changed.
  void Start(const FrontEndSteps& steps = {});
  // Closing: the run stops, the front end's timers stop, the cartridges close, the
  // clock file is written (unless the folder was another emulator's) and the folder
  // let go, the front end's pictures go, the ROM save is offered.
  // Every step runs even after a file error (each is reported), so the user can
  // always quit. Returns whether the machine files closed without error. Once only.
  bool Close(const FrontEndSteps& steps, MessageSink& sink);

  // --- ticks ------------------------------------------------------------------
  // Every tick of every timer enters the machine here. Returns whether the display's
  // picture changed (only refresh ticks change it). With a host clock a run tick is
  // timed (kRunTickLimitUs, fast-forward); without one it runs its whole budget.
  bool Tick(TickKind kind);
  // The window's timers as a deterministic schedule: runs `ms` more milliseconds of
  // emulated time, ticking as EmulatedTime says, as fast as the host can, every run
  // tick with its whole budget.
  void RunFor(uint64_t ms);
  // A recorded run tick of `steps` steps (one that was timed or fast-forwarded).
  void RunTickOf(uint32_t steps);
  // Redraws the changed display bytes into the picture; returns whether any changed.
  bool RefreshDisplay();
  // The window has shown the whole picture.
  void DisplayPainted() { TakeDisplayChanged(); }

  // --- keys -------------------------------------------------------------------
  // Host keyboard and mouse. A press, however short, is held until the machine has
  // run a tick with it; changes that come sooner wait for that tick, in order.
  // A key-down by virtual-key code and a character each hold their machine key when
  // mapped (returns whether it was); any key-up lets go. Escape cancels a paste.
  bool HostKeyDown(int virtual_key);
  bool HostCharacter(char32_t ch);
  void HostKeyUp();
  // The mouse holds `key_index` (a machine key or a window button) or lets go (0).
  void SetMouseKey(int key_index);
  // Holds machine key `key_index` (3-63) as the host key at once, for tools that time
  // their keys themselves; other values let go.
  void PressKey(int key_index);
  // The window's reset button: the processor only; memory and devices keep their state.
  void ResetButton();

  // Types `text` on the keyboard, after any text still being typed: each key held
  // for two run ticks and released for two (whatever the speed), a line end (CR, LF
  // or both) is Enter, a blank is Space; characters without a key are skipped.
  // Host keys are ignored meanwhile.
  PasteResult Paste(std::u32string_view text);
  // Stops typing: the rest of the text is dropped. Returns whether any was left.
  bool CancelPaste();
  bool pasting() const { return keys_.typing(); }
  // Once a paste is typed to its end: the notice of the characters it skipped, once;
  // nullopt when there is none.
  std::optional<std::string> TakePasteNotice();

  // A file error met while the machine ran (a cartridge, the recording), once;
  // nullopt when none.
  std::optional<std::string> TakeDeviceError();

  // --- pace -------------------------------------------------------------------
  // The clock that times run ticks; none (the default) for untimed ticks.
  void set_host_clock(HostClock clock) { host_clock_ = std::move(clock); }
  // Pause: no step runs and no interrupt request is raised, as while the debugger
  // has the machine, but the debug window stays hidden; display and clock go on.
  void SetPaused(bool paused);
  bool paused() const { return machine_.run.paused(); }
  // Fast-forward: each timed run tick runs steps for kFastForwardUs of host time
  // (at least its budget). No effect on untimed ticks or with a budget of 0.
  void SetFastForward(bool on) { fast_forward_ = on; }
  bool fast_forward() const { return fast_forward_; }
  // Steps the last run tick ran.
  int32_t last_run_steps() const { return last_run_steps_; }

  // --- saved states -----------------------------------------------------------
  // The whole machine as a state file's bytes.
  std::vector<uint8_t> SaveState() const;
  // Takes over the machine from a state file's bytes, or refuses them and changes
  // nothing. The state's own run stop is taken only with `kFromState`; by default
  // the run stays stopped or going as it is, since the stop belongs to the debug
  // window. The speed setting and the pause stay as they are.
  enum class RunStop { kKeep, kFromState };
  StateLoadResult LoadState(std::span<const uint8_t> file, RunStop run_stop = RunStop::kKeep);
  // The same with a state file. Saving writes the file whole or not at all; a file
  // that cannot be read is refused like a bad state. Messages name the file.
  IoResult SaveStateFile(const std::filesystem::path& path) const;
  StateLoadResult LoadStateFile(const std::filesystem::path& path,
                                RunStop run_stop = RunStop::kKeep);
  // The fingerprint of the ROM images power-on loaded; states of other machines are
  // refused.
  uint32_t rom_fingerprint() const { return rom_fingerprint_; }

  // --- recording --------------------------------------------------------------
  // Journals from now on every tick, key and change into a new file at `path`,
  // beginning with the machine as it is (see journal.h).
  IoResult StartRecording(const std::filesystem::path& path);
  bool recording() const;
  // The debug window: the run stops as it shows; when it hides, what it changed in
  // the machine goes into the recording as a state.
  void DebuggerOpened();
  void DebuggerReleased();

  // --- state ------------------------------------------------------------------
  Machine& machine() { return machine_; }
  const Machine& machine() const { return machine_; }
  Board& board() { return board_; }
  const Board& board() const { return board_; }
  const Settings& settings() const { return settings_; }
  const std::filesystem::path& folder() const { return folder_; }
  PowerOnResult power_on_result() const { return power_on_result_; }
  bool closed() const { return closed_; }
  const TimerTicks& ticks() const { return ticks_; }
  uint64_t now_ms() const { return time_.now_ms(); }

 private:
  bool NeedsLock(const PowerOnOptions& options) const;
  PowerOnResult LoadMachineFiles(const PowerOnOptions& options, MessageSink& sink);
  // How a run tick's steps are counted: the budget; as many as host time allows; as
  // many as a recording says.
  enum class RunMode { kUntimed, kTimed, kRecorded };
  bool TickWith(TickKind kind, RunMode mode);
  void RunTick(RunMode mode, uint32_t recorded_steps = 0);
  // Steps of one timed run tick.
  RunResult TimedRun(int32_t budget);
  void WriteState(StateWriter& out) const;
  void ReadState(StateReader& in, std::vector<std::string>* warnings);
  void Journal(JournalRecord kind, uint32_t operand = 0);
  void EndRecording(JournalEnd reason);
  bool CloseMachineFiles(MessageSink& sink);
  void OfferRomSave(const FrontEndSteps& steps, MessageSink& sink);
  bool TakeDisplayChanged();
  // Every key change reaches the keyboard here, paced or not.
  bool ApplyKeyChange(const KeyChange& change);
  // After a run tick in which the processor ran.
  void KeysRanTick();
  void FinishPaste();
  bool StopPaste();

  // Declared first so that it is released last, after the cartridge files close.
  FolderLock lock_;
  Machine machine_;
  Board board_;
  Settings settings_;
  std::filesystem::path folder_;
  bool owns_folder_ = false;  // the files of folder_ are ours to write at close
  PowerOnResult power_on_result_ = PowerOnResult::kStarted;
  bool closed_ = false;
  EmulatedTime time_;
  TimerTicks ticks_;
  KeyPacer keys_;
  std::size_t paste_skipped_ = 0;  // by the paste being typed
  std::optional<std::string> paste_notice_;
  LocalTime power_on_time_;
  uint32_t rom_fingerprint_ = 0;
  HostClock host_clock_;
  bool fast_forward_ = false;
  int32_t last_run_steps_ = 0;
  // Recording.
  std::unique_ptr<JournalWriter> journal_;
  bool in_run_tick_ = false;
  bool opened_in_run_tick_ = false;  // the debug window showed during a run tick
  bool debugger_open_ = false;
  uint32_t cartridge_writes_at_open_ = 0;
  uint32_t cartridge_faults_ = 0;
};

}  // namespace orlan

#endif  // ORLAN_FRONTEND_SYSTEM_H_
