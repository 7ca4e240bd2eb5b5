// The bytes of a saved state: each part of the machine writes its fields one by one,
// little-endian, and reads them back with every value checked, so that a damaged state
// is refused rather than trusted. A state never holds a host address or a struct's
// memory image.
#ifndef ORLAN_CORE_STATE_IO_H_
#define ORLAN_CORE_STATE_IO_H_

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace orlan {

class StateWriter {
 public:
  // A part begins with a four-letter tag, so that a reader out of step says where.
  void Section(std::string_view tag);
  void U8(uint8_t v) { bytes_.push_back(v); }
  void U16(uint16_t v);
  void U32(uint32_t v);
  void U64(uint64_t v);
  void I32(int32_t v) { U32(static_cast<uint32_t>(v)); }
  void Bool(bool v) { U8(v ? 1 : 0); }
  // A register index or "none" (negative).
  void Index(int index) { U8(index < 0 ? 0377 : static_cast<uint8_t>(index)); }
  void Bytes(std::span<const uint8_t> bytes);

  const std::vector<uint8_t>& bytes() const { return bytes_; }
  std::vector<uint8_t> Take() { return std::move(bytes_); }

 private:
  std::vector<uint8_t> bytes_;
};

// Reads what a StateWriter wrote. The first problem is kept and every later read gives
// zero, so a caller reads a whole part and asks once whether it was sound.
class StateReader {
 public:
  explicit StateReader(std::span<const uint8_t> bytes) : bytes_(bytes) {}

  void Section(std::string_view tag);
  uint8_t U8();
  uint16_t U16();
  uint32_t U32();
  uint64_t U64();
  int32_t I32() { return static_cast<int32_t>(U32()); }
  bool Bool();
  // An index below `count`, or "none" (-1).
  int Index(int count);
  void Bytes(std::span<uint8_t> out);
  // A value of the caller's own checking that failed: "a bad <what> in its ... part".
  void Bad(std::string_view what);

  bool ok() const { return error_.empty(); }
  bool at_end() const { return at_ == bytes_.size(); }
  std::size_t offset() const { return at_; }
  // The first problem met: which part or field, or where the bytes ran out.
  const std::string& error() const { return error_; }

 private:
  // The next `n` bytes, or null (and the reader failed) when fewer are left.
  const uint8_t* Take(std::size_t n);

  std::span<const uint8_t> bytes_;
  std::size_t at_ = 0;
  std::string section_ = "start";
  std::string error_;
};

}  // namespace orlan

#endif  // ORLAN_CORE_STATE_IO_H_
