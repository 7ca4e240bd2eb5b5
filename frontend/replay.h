// Playing a recorded session headlessly: the machine folder supplies the ROM images and
// the read-only cartridges, the recording everything else. The user's files are never
// written: the cartridges run on copies in a scratch folder, where the clock file goes
// too.
#ifndef ORLAN_FRONTEND_REPLAY_H_
#define ORLAN_FRONTEND_REPLAY_H_

#include <cstdint>
#include <filesystem>
#include <span>
#include <string>
#include <vector>

#include "frontend/system.h"

namespace orlan {

struct ReplayOutcome {
  std::string error;               // empty: played to the end
  std::vector<std::string> notes;  // how a recording that did not close ended
  uint64_t records = 0;            // records played
};

// Powers the fresh `system` on for the recording `journal` and plays it. `scratch` is
// an empty folder that outlives the system. The machine folder's ROM images must be
// those of the recording, and its read-only cartridges (the recording carries the
// writable ones) the files the recording began with.
ReplayOutcome Replay(System& system, std::span<const uint8_t> journal,
                     const std::filesystem::path& machine_folder,
                     const std::filesystem::path& scratch);

}  // namespace orlan

#endif  // ORLAN_FRONTEND_REPLAY_H_
