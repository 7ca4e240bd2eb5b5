// The saved-state loader on any bytes: a file is refused with a message and the machine
// stays exactly as it was, or it is taken and saves back as the same bytes. The first
// byte chooses whether the rest is a whole file or a payload that gets a good header
// and checksum, so that the parts' own readers are reached as well as the header's.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "frontend/state_file.h"
#include "frontend/system.h"
#include "tests/fuzz/fuzz_check.h"

using orlan::fuzz::Check;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  // One machine for every input: each load starts from what the last one left.
  static orlan::System& system = *new orlan::System();
  if (size == 0) return 0;
  std::vector<uint8_t> file(data + 1, data + size);
  if (data[0] & 1) file = orlan::WrapState(system.rom_fingerprint(), file);
  const std::vector<uint8_t> before = system.SaveState();
  const orlan::StateLoadResult result = system.LoadState(file, orlan::System::RunStop::kFromState);
  if (result.ok()) {
    Check(system.SaveState() == file, "a state taken saves back as itself");
  } else {
    Check(system.SaveState() == before, "a state refused changes nothing");
  }
  return 0;
}
