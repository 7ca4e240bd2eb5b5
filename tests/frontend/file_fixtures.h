// Byte patterns for the front end's file tests, with the shared temporary folders and
// failing writes.
#ifndef ORLAN_TESTS_FRONTEND_FILE_FIXTURES_H_
#define ORLAN_TESTS_FRONTEND_FILE_FIXTURES_H_

#include <cstdint>
#include <vector>

#include "tests/support/temp_dir.h"

namespace orlan::testing {

// `size` bytes counting up from `first`, so misplaced or shifted copies show.
inline std::vector<uint8_t> Pattern(std::size_t size, uint8_t first = 1) {
  std::vector<uint8_t> bytes(size);
  for (std::size_t i = 0; i < size; ++i) bytes[i] = static_cast<uint8_t>(first + i * 7 + i / 256);
  return bytes;
}

}  // namespace orlan::testing

#endif  // ORLAN_TESTS_FRONTEND_FILE_FIXTURES_H_
