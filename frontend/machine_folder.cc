#include "frontend/machine_folder.h"

#include <system_error>

namespace orlan {
namespace fs = std::filesystem;

bool HoldsMachineFiles(const fs::path& dir) {
  std::error_code error;
  for (const char* name : kMachineFileNames) {
    if (fs::is_regular_file(dir / name, error)) return true;
  }
  return false;
}

std::optional<fs::path> FindBundledDemo(const fs::path& exe_dir) {
  for (const fs::path& candidate :
       {exe_dir / ".." / "share" / "orlan" / "demo", exe_dir / ".." / "demo"}) {
    std::error_code error;
    if (fs::is_regular_file(candidate / "rom.bin", error)) {
      const fs::path canonical = fs::weakly_canonical(candidate, error);
      return error ? candidate : canonical;
    }
  }
  return std::nullopt;
}

bool CopyMachineFolder(const fs::path& from, const fs::path& to) {
  std::error_code error;
  if (!fs::is_directory(from, error)) return false;
  fs::create_directories(to, error);
  if (error) return false;
  bool ok = true;
  for (const char* name : kMachineFileNames) {
    const fs::path source = from / name;
    const fs::path target = to / name;
    if (!fs::is_regular_file(source, error) || fs::exists(target, error)) continue;
    fs::copy_file(source, target, error);
    // An installed file may be read-only; the copy is the user's to write.
    if (!error) {
      fs::permissions(target, fs::perms::owner_read | fs::perms::owner_write, fs::perm_options::add,
                      error);
    }
    ok = ok && !error;
  }
  return ok;
}

std::optional<std::string> NoDisplayReason(const std::function<const char*(const char*)>& env,
                                           std::span<const std::string> args) {
#if defined(__unix__) && !defined(__APPLE__)
  const auto set = [&env](const char* name) {
    const char* value = env(name);
    return value != nullptr && *value != '\0';
  };
  if (set("QT_QPA_PLATFORM") || set("DISPLAY") || set("WAYLAND_DISPLAY")) return std::nullopt;
  for (const std::string& arg : args) {
    if (arg == "-platform" || arg == "--platform") return std::nullopt;
  }
  return "no display to open the window on (DISPLAY and WAYLAND_DISPLAY are not set)";
#else
  (void)env;
  (void)args;
  return std::nullopt;
#endif
}

}  // namespace orlan
