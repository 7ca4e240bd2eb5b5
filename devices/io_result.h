// The outcome of a host file operation: the one way every reader and writer of host
// files reports a failure, as a text for the user that names the file at fault.
#ifndef ORLAN_DEVICES_IO_RESULT_H_
#define ORLAN_DEVICES_IO_RESULT_H_

#include <filesystem>
#include <string>
#include <string_view>
#include <system_error>
#include <utility>

namespace orlan {

struct [[nodiscard]] IoResult {
  std::string error;  // the error's text; empty on success

  bool ok() const { return error.empty(); }
  explicit operator bool() const { return ok(); }

  static IoResult Ok() { return {}; }
  static IoResult Failure(std::string text) { return {std::move(text)}; }
  // "<path>: <what>: <the system's text for error_number>"; an error number of 0 is
  // taken as a general input/output error.
  static IoResult FromErrno(const std::filesystem::path& path, std::string_view what,
                            int error_number);
  // "<path>: <what>: <the error's text>".
  static IoResult FromError(const std::filesystem::path& path, std::string_view what,
                            std::error_code error);
};

// A path as the user reads it in a message (UTF-8 where the host's names are wide).
std::string PathText(const std::filesystem::path& path);

}  // namespace orlan

#endif  // ORLAN_DEVICES_IO_RESULT_H_
