// The PNG writer of a build without libpng.
#include <stdexcept>

#include "frontend/png_image.h"

namespace orlan {

std::vector<uint8_t> EncodePng(int, int, std::span<const uint32_t>) {
  throw std::invalid_argument(kNoPngText);
}

bool CanEncodePng() { return false; }

}  // namespace orlan
