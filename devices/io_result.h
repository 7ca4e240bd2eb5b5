// The outcome of a file operation that start-up or close reports to the user.
#ifndef ORLAN_DEVICES_IO_RESULT_H_
#define ORLAN_DEVICES_IO_RESULT_H_

#include <string>
#include <utility>

namespace orlan {

struct [[nodiscard]] IoResult {
  std::string error;  // the error's text; empty on success

  bool ok() const { return error.empty(); }
  explicit operator bool() const { return ok(); }

  static IoResult Ok() { return {}; }
  static IoResult Failure(std::string text) { return {std::move(text)}; }
};

}  // namespace orlan

#endif  // ORLAN_DEVICES_IO_RESULT_H_
