// Bringing a machine up from its files and taking it down again, shared by the window
// and the headless monitor so that both start a machine the same way.
#ifndef ORLAN_FRONTEND_STARTUP_H_
#define ORLAN_FRONTEND_STARTUP_H_

#include <filesystem>
#include <functional>
#include <optional>

#include "devices/board.h"
#include "devices/local_time.h"
#include "frontend/message_sink.h"
#include "frontend/settings.h"

namespace orlan {

class Machine;

struct StartupResult {
  Settings settings;
  bool ok = true;  // false: a file error was reported and the later steps skipped
};

// The machine part of window creation, in order: read the settings from `dir`, size
// the RAM, load the ROM images, start the LCD controller, open the cartridges and set
// the clock to `now`. A missing file is reported and start-up goes on; a file error
// is reported with its text and the remaining steps are skipped (earlier ones keep
// their effect).
StartupResult StartMachine(Machine& machine, Board& board, const std::filesystem::path& dir,
                           const LocalTime& now, MessageSink& sink);

// What showing the window does before its pictures are loaded: no key held, the run
// free, no trace count and no breakpoint.
void ResetRunState(Machine& machine, Board& board);
// What it does after: mark the whole display for redrawing and reset the processor.
void ResetForRun(Machine& machine, Board& board);

// The file steps of closing: close the cartridges, then write the clock file. Each
// failure is reported; a failed step does not keep the later ones from running, so
// the user can always quit and is still offered the ROM save. Returns success.
bool CloseMachineFiles(Board& board, const std::filesystem::path& dir, MessageSink& sink);

// Whether closing offers to save the ROM: the setting allows it and the debugger has
// changed the ROM.
bool RomSaveOffered(const Settings& settings, const Machine& machine);

// The ROM save at close: when offered, asks `choose_target` for a file name (nullopt:
// the user cancelled) and saves the main ROM image there, reporting a failure.
// Returns whether an image was written.
bool OfferRomSave(const Machine& machine, const Settings& settings,
                  const std::function<std::optional<std::filesystem::path>()>& choose_target,
                  MessageSink& sink);

// Reports a file error that a cartridge met while the machine ran, once.
void ReportDeviceErrors(Board& board, MessageSink& sink);

}  // namespace orlan

#endif  // ORLAN_FRONTEND_STARTUP_H_
