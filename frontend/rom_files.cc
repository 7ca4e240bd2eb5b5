#include "frontend/rom_files.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <memory>
#include <random>
#include <string>
#include <system_error>

#include "core/machine.h"
#include "devices/host_file.h"
#include "frontend/io_error.h"

namespace orlan {
namespace {

struct FileCloser {
  void operator()(std::FILE* f) const { std::fclose(f); }
};
using File = std::unique_ptr<std::FILE, FileCloser>;

}  // namespace

void LoadRomImage(Machine& machine, const RomImage& image, const std::filesystem::path& path,
                  FileAccess access) {
  const std::string name = path.filename().string();
  errno = 0;
  File file(OpenHostFile(path, access == FileAccess::kReadWrite ? "r+b" : "rb"));
  if (!file) throw IoError(FileErrorText(name, errno != 0 ? errno : EIO));
  // Read into a buffer first: a short image must leave the ROM store untouched.
  std::unique_ptr<uint8_t[]> buffer(new uint8_t[image.size]);
  const std::size_t got = std::fread(buffer.get(), 1, image.size, file.get());
  if (got != image.size) {
    if (std::ferror(file.get())) throw IoError(FileErrorText(name, errno != 0 ? errno : EIO));
    throw IoError(name + ": read beyond end of file (" + std::to_string(got) + " of " +
                  std::to_string(image.size) + " bytes)");
  }
  auto rom = machine.rom().subspan(image.address - kRomBase, image.size);
  std::copy(buffer.get(), buffer.get() + image.size, rom.begin());
}

void LoadRom(Machine& machine, const std::filesystem::path& dir, MessageSink& sink) {
  std::ranges::fill(machine.rom(), 0377);
  std::error_code ec;
  const auto extra = dir / kExtraRomImage.file_name;
  if (std::filesystem::exists(extra, ec)) LoadRomImage(machine, kExtraRomImage, extra);
  const auto main = dir / kMainRomImage.file_name;
  if (std::filesystem::exists(main, ec)) {
    LoadRomImage(machine, kMainRomImage, main);
  } else {
    sink.Warning(LoadFailedMessage(kMainRomImage.file_name));
  }
}

bool SaveRomImage(const Machine& machine, const std::filesystem::path& target) {
  const auto bytes = machine.rom().subspan(kMainRomImage.address - kRomBase, kMainRomImage.size);
  // A fresh name beside the target, created exclusively so nothing else is overwritten.
  std::random_device random;
  std::filesystem::path temp;
  File file;
  for (int attempt = 0; attempt < 8 && !file; ++attempt) {
    temp = target;
    temp += ".tmp" + std::to_string(random() % 1000000);
    file.reset(OpenHostFile(temp, "wbx"));
  }
  if (!file) return false;
  bool ok = std::fwrite(bytes.data(), 1, bytes.size(), file.get()) == bytes.size();
  ok = std::fflush(file.get()) == 0 && ok;
  ok = std::fclose(file.release()) == 0 && ok;
  std::error_code ec;
  if (ok) {
    std::filesystem::rename(temp, target, ec);
    ok = !ec;
  }
  if (!ok) std::filesystem::remove(temp, ec);
  return ok;
}

}  // namespace orlan
