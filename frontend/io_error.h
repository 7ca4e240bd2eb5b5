// A file error that start-up or close reports to the user with its text.
#ifndef ORLAN_FRONTEND_IO_ERROR_H_
#define ORLAN_FRONTEND_IO_ERROR_H_

#include <stdexcept>
#include <string>

namespace orlan {

class IoError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// "<name>: <text of errno>" for the error number of the last failed C library call.
std::string FileErrorText(const std::string& name, int error_number);

}  // namespace orlan

#endif  // ORLAN_FRONTEND_IO_ERROR_H_
