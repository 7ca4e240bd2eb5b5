#include "frontend/io_error.h"

#include <system_error>

namespace orlan {

std::string FileErrorText(const std::string& name, int error_number) {
  return name + ": " + std::generic_category().message(error_number);
}

}  // namespace orlan
