#include "devices/io_result.h"

#include <cerrno>

namespace orlan {

IoResult IoResult::FromErrno(const std::filesystem::path& path, std::string_view what,
                             int error_number) {
  return FromError(
      path, what, std::error_code(error_number != 0 ? error_number : EIO, std::generic_category()));
}

IoResult IoResult::FromError(const std::filesystem::path& path, std::string_view what,
                             std::error_code error) {
  std::string text = PathText(path);
  text += ": ";
  text += what;
  text += ": ";
  text += error.message();
  return Failure(std::move(text));
}

std::string PathText(const std::filesystem::path& path) {
#ifdef _WIN32
  const std::u8string utf8 = path.u8string();
  return std::string(utf8.begin(), utf8.end());
#else
  return path.string();
#endif
}

}  // namespace orlan
