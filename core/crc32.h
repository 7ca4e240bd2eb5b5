// CRC-32 (the common reflected polynomial EDB88320, as in zip and PNG): the checksum of
// saved states and recordings.
#ifndef ORLAN_CORE_CRC32_H_
#define ORLAN_CORE_CRC32_H_

#include <cstdint>
#include <span>

namespace orlan {

// Continues `crc` (0 to start) over `bytes`; chunks may be fed one after the other.
uint32_t Crc32(std::span<const uint8_t> bytes, uint32_t crc = 0);

}  // namespace orlan

#endif  // ORLAN_CORE_CRC32_H_
