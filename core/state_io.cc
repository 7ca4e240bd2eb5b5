#include "core/state_io.h"

#include <algorithm>

namespace orlan {

void StateWriter::Section(std::string_view tag) {
  for (std::size_t i = 0; i < 4; ++i) U8(i < tag.size() ? static_cast<uint8_t>(tag[i]) : ' ');
}

void StateWriter::U16(uint16_t v) {
  U8(static_cast<uint8_t>(v));
  U8(static_cast<uint8_t>(v >> 8));
}

void StateWriter::U32(uint32_t v) {
  U16(static_cast<uint16_t>(v));
  U16(static_cast<uint16_t>(v >> 16));
}

void StateWriter::U64(uint64_t v) {
  U32(static_cast<uint32_t>(v));
  U32(static_cast<uint32_t>(v >> 32));
}

void StateWriter::Bytes(std::span<const uint8_t> bytes) {
  bytes_.insert(bytes_.end(), bytes.begin(), bytes.end());
}

const uint8_t* StateReader::Take(std::size_t n) {
  if (!ok()) return nullptr;
  if (bytes_.size() - at_ < n) {
    error_ = "its " + section_ + " part ends early";
    return nullptr;
  }
  const uint8_t* p = bytes_.data() + at_;
  at_ += n;
  return p;
}

void StateReader::Section(std::string_view tag) {
  std::string padded;
  for (std::size_t i = 0; i < 4; ++i) padded += i < tag.size() ? tag[i] : ' ';
  const uint8_t* p = Take(4);
  if (p == nullptr) return;
  if (!std::equal(padded.begin(), padded.end(), p)) {
    error_ = "no " + std::string(tag) + " part where one belongs";
    return;
  }
  section_ = tag;
}

uint8_t StateReader::U8() {
  const uint8_t* p = Take(1);
  return p == nullptr ? 0 : p[0];
}

uint16_t StateReader::U16() {
  const uint8_t* p = Take(2);
  return p == nullptr ? 0 : static_cast<uint16_t>(p[0] | (p[1] << 8));
}

uint32_t StateReader::U32() {
  const uint32_t low = U16();
  return low | (static_cast<uint32_t>(U16()) << 16);
}

uint64_t StateReader::U64() {
  const uint64_t low = U32();
  return low | (static_cast<uint64_t>(U32()) << 32);
}

bool StateReader::Bool() {
  const uint8_t v = U8();
  if (v > 1) Bad("flag");
  return v == 1;
}

int StateReader::Index(int count) {
  const uint8_t v = U8();
  if (v == 0377) return -1;
  if (v >= count) {
    Bad("register index");
    return -1;
  }
  return v;
}

void StateReader::Bytes(std::span<uint8_t> out) {
  const uint8_t* p = Take(out.size());
  if (p == nullptr) return;
  std::copy(p, p + out.size(), out.begin());
}

void StateReader::Bad(std::string_view what) {
  if (ok()) error_ = "a bad " + std::string(what) + " in its " + section_ + " part";
}

}  // namespace orlan
