// Finding a machine's folder when the program is started without one: which files
// make a folder a machine folder, where the bundled demo machine is, making a
// writable copy of it, and whether there is a display to open windows on.
#ifndef ORLAN_FRONTEND_MACHINE_FOLDER_H_
#define ORLAN_FRONTEND_MACHINE_FOLDER_H_

#include <array>
#include <filesystem>
#include <functional>
#include <optional>
#include <span>
#include <string>

namespace orlan {

// The files the program reads from a machine folder.
inline constexpr std::array<const char*, 8> kMachineFileNames = {
    "orlan.ini", "rom.bin",  "romt.bin", "smp0.bin",
    "smp1.bin",  "face.bmp", "keys.bmp", "overlay.bmp"};

// Whether `dir` holds at least one of the machine's files.
bool HoldsMachineFiles(const std::filesystem::path& dir);

// The demo machine that comes with the program, given the folder of its executable:
// installed as share/orlan/demo beside bin/, or built as demo/ beside bin/.
std::optional<std::filesystem::path> FindBundledDemo(const std::filesystem::path& exe_dir);

// Copies the machine's files of folder `from` into `to` (created if needed), never
// replacing a file already there, so a copy made earlier keeps its cartridge and
// changes. Gives whether every copy succeeded.
bool CopyMachineFolder(const std::filesystem::path& from, const std::filesystem::path& to);

// Why no window can be opened, in one line, or nothing when a display is there (or
// the platform is chosen explicitly). `env` reads an environment variable (nullptr
// when unset); `args` are the command-line arguments.
std::optional<std::string> NoDisplayReason(const std::function<const char*(const char*)>& env,
                                           std::span<const std::string> args);

}  // namespace orlan

#endif  // ORLAN_FRONTEND_MACHINE_FOLDER_H_
