#include "frontend/png_stored.h"

#include <algorithm>
#include <stdexcept>
#include <string_view>

#include "core/crc32.h"

namespace orlan {
namespace {

constexpr std::size_t kMaxPaletteSize = 256;
constexpr std::size_t kMaxStoredBlock = 65535;

void PutBig32(std::vector<uint8_t>& out, uint32_t v) {
  for (int shift = 24; shift >= 0; shift -= 8) out.push_back(static_cast<uint8_t>(v >> shift));
}

// A chunk: length, type, data and the CRC of type and data.
void PutChunk(std::vector<uint8_t>& out, std::string_view type, std::span<const uint8_t> data) {
  PutBig32(out, static_cast<uint32_t>(data.size()));
  const std::size_t type_at = out.size();
  out.insert(out.end(), type.begin(), type.end());
  out.insert(out.end(), data.begin(), data.end());
  PutBig32(out, Crc32(std::span<const uint8_t>(out).subspan(type_at)));
}

// A zlib stream of stored (uncompressed) deflate blocks, with its Adler-32 checksum.
std::vector<uint8_t> StoredZlib(std::span<const uint8_t> raw) {
  std::vector<uint8_t> z = {0x78, 0x01};
  std::size_t at = 0;
  do {
    const std::size_t n = std::min(kMaxStoredBlock, raw.size() - at);
    const bool last = at + n == raw.size();
    z.push_back(last ? 1 : 0);
    z.push_back(static_cast<uint8_t>(n));
    z.push_back(static_cast<uint8_t>(n >> 8));
    z.push_back(static_cast<uint8_t>(~n));
    z.push_back(static_cast<uint8_t>(~n >> 8));
    z.insert(z.end(), raw.begin() + static_cast<std::ptrdiff_t>(at),
             raw.begin() + static_cast<std::ptrdiff_t>(at + n));
    at += n;
  } while (at < raw.size());
  uint32_t a = 1, b = 0;
  for (const uint8_t byte : raw) {
    a = (a + byte) % 65521;
    b = (b + a) % 65521;
  }
  PutBig32(z, b << 16 | a);
  return z;
}

int DepthFor(std::size_t colours) {
  return colours <= 2 ? 1 : colours <= 4 ? 2 : colours <= 16 ? 4 : 8;
}

}  // namespace

std::vector<uint32_t> PaletteOf(std::span<const uint32_t> pixels) {
  std::vector<uint32_t> colours;
  for (uint32_t p : pixels) {
    const uint32_t rgb = p & 0xFFFFFF;
    if (std::find(colours.begin(), colours.end(), rgb) != colours.end()) continue;
    if (colours.size() == kMaxPaletteSize) return {};
    colours.push_back(rgb);
  }
  return colours;
}

std::vector<uint8_t> EncodeStoredPng(int width, int height, std::span<const uint32_t> pixels) {
  if (width <= 0 || height <= 0 ||
      pixels.size() != static_cast<std::size_t>(width) * static_cast<std::size_t>(height)) {
    throw std::invalid_argument("picture size does not match its pixels");
  }
  const auto w = static_cast<std::size_t>(width);
  const auto h = static_cast<std::size_t>(height);
  const std::vector<uint32_t> palette = PaletteOf(pixels);
  const int depth = palette.empty() ? 8 : DepthFor(palette.size());
  const std::size_t row_bytes =
      palette.empty() ? 3 * w : (w * static_cast<std::size_t>(depth) + 7) / 8;

  // Each row: filter type 0 (none), then the pixels, packed from the high bit down.
  std::vector<uint8_t> raw((row_bytes + 1) * h, 0);
  for (std::size_t y = 0; y < h; ++y) {
    uint8_t* row = &raw[y * (row_bytes + 1) + 1];
    for (std::size_t x = 0; x < w; ++x) {
      const uint32_t p = pixels[y * w + x];
      if (palette.empty()) {
        row[3 * x] = static_cast<uint8_t>(p >> 16);
        row[3 * x + 1] = static_cast<uint8_t>(p >> 8);
        row[3 * x + 2] = static_cast<uint8_t>(p);
        continue;
      }
      const auto index = static_cast<unsigned>(
          std::find(palette.begin(), palette.end(), p & 0xFFFFFF) - palette.begin());
      const std::size_t bit = x * static_cast<std::size_t>(depth);
      row[bit / 8] |= static_cast<uint8_t>(index << (8 - depth - bit % 8));
    }
  }

  std::vector<uint8_t> out = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
  std::vector<uint8_t> header;
  PutBig32(header, static_cast<uint32_t>(width));
  PutBig32(header, static_cast<uint32_t>(height));
  // Bit depth, colour type (3 palette, 2 RGB), compression, filter and interlace methods.
  header.insert(header.end(), {static_cast<uint8_t>(depth),
                               static_cast<uint8_t>(palette.empty() ? 2 : 3), 0, 0, 0});
  PutChunk(out, "IHDR", header);
  if (!palette.empty()) {
    std::vector<uint8_t> colours;
    for (const uint32_t c : palette) {
      colours.insert(colours.end(), {static_cast<uint8_t>(c >> 16), static_cast<uint8_t>(c >> 8),
                                     static_cast<uint8_t>(c)});
    }
    PutChunk(out, "PLTE", colours);
  }
  PutChunk(out, "IDAT", StoredZlib(raw));
  PutChunk(out, "IEND", {});
  return out;
}

}  // namespace orlan
