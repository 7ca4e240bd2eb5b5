#include "devices/io_result.h"

#include <cerrno>
#include <system_error>

namespace orlan {

IoResult IoResult::FromErrno(const std::filesystem::path& path, std::string_view what,
                             int error_number) {
  std::string text = PathText(path);
  text += ": ";
  text += what;
  text += ": ";
  text += std::generic_category().message(error_number != 0 ? error_number : EIO);
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
