// Power-on, a short run and close on a machine folder of any files: the input is cut
// at each "\n===\n" into orlan.ini, rom.bin, romt.bin, smp0.bin and rtc.bin (a file
// past the input's last part is absent). Whatever the files hold, power-on either
// starts or reports why, the machine runs, and closing reports every file it cannot
// write.
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>
#include <system_error>

#include "frontend/message_sink.h"
#include "frontend/system.h"
#include "tests/fuzz/fuzz_check.h"
#include "tests/support/temp_dir.h"

using orlan::fuzz::Check;

namespace {

constexpr std::string_view kSeparator = "\n===\n";
constexpr const char* kFiles[] = {"orlan.ini", "rom.bin", "romt.bin", "smp0.bin", "rtc.bin"};

// One folder for the whole run, emptied before each input and removed at exit.
const std::filesystem::path& Folder() {
  static const orlan::testing::TempDir folder;
  return folder.path();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::filesystem::path& folder = Folder();
  std::error_code error;
  for (const auto& entry : std::filesystem::directory_iterator(folder, error)) {
    std::filesystem::remove_all(entry.path(), error);
  }
  std::string_view rest(reinterpret_cast<const char*>(data), size);
  for (const char* name : kFiles) {
    if (rest.empty()) break;
    const std::size_t cut = rest.find(kSeparator);
    std::ofstream(folder / name, std::ios::binary) << rest.substr(0, cut);
    rest =
        cut == std::string_view::npos ? std::string_view() : rest.substr(cut + kSeparator.size());
  }

  orlan::CapturingMessageSink sink;
  orlan::System system;
  orlan::PowerOnOptions options;
  options.folder = folder;
  options.now = {2026, 12, 8, 2, 23, 59, 58};
  const orlan::PowerOnResult result = system.PowerOn(options, sink);
  Check(result != orlan::PowerOnResult::kFolderInUse, "the folder is nobody else's");
  Check(result == orlan::PowerOnResult::kStarted || !sink.messages.empty(),
        "a failed power-on says why");
  system.Start();
  // Any CpuSpeed the file asks for, but a bounded run per input.
  if (system.machine().run.steps_per_tick() > 2000) system.machine().run.set_steps_per_tick(2000);
  system.RunFor(100);
  const std::size_t before_close = sink.messages.size();
  Check(system.Close({}, sink) || sink.messages.size() > before_close,
        "a close that fails says why");
  return 0;
}
