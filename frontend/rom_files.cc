#include "frontend/rom_files.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <memory>
#include <string>

#include "core/machine.h"
#include "devices/atomic_file.h"
#include "devices/host_file.h"

namespace orlan {
namespace {

struct FileCloser {
  void operator()(std::FILE* f) const { std::fclose(f); }
};
using File = std::unique_ptr<std::FILE, FileCloser>;

}  // namespace

IoResult LoadRomImage(Machine& machine, const RomImage& image, const std::filesystem::path& path) {
  if (HostFileKind(path) == FileKind::kOther) return NotRegularFile(path);
  // Read only: a write-protected image loads, and the ROM save writes a new file.
  errno = 0;
  File file(OpenHostFile(path, "rb"));
  if (!file) return IoResult::FromErrno(path, "cannot open", errno);
  // Read into a buffer first: a short image must leave the ROM store untouched.
  std::unique_ptr<uint8_t[]> buffer(new uint8_t[image.size]);
  const std::size_t got = std::fread(buffer.get(), 1, image.size, file.get());
  if (got != image.size) {
    if (std::ferror(file.get())) return IoResult::FromErrno(path, "cannot read", errno);
    return IoResult::Failure(PathText(path) + ": read beyond end of file (" + std::to_string(got) +
                             " of " + std::to_string(image.size) + " bytes)");
  }
  auto rom = machine.rom().subspan(image.address - kRomBase, image.size);
  std::copy(buffer.get(), buffer.get() + image.size, rom.begin());
  return IoResult::Ok();
}

IoResult SaveRomImage(const Machine& machine, const std::filesystem::path& target) {
  return WriteFileAtomically(
      target, machine.rom().subspan(kMainRomImage.address - kRomBase, kMainRomImage.size));
}

}  // namespace orlan
