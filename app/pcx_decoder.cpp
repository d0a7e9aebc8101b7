#include "app/pcx_decoder.h"

#include <cstddef>

namespace brenvik {
namespace {

constexpr std::size_t kHeaderSize = 128;
constexpr std::size_t kPaletteSize = 769;  // the 0x0C marker and 256 RGB triples
constexpr std::uint8_t kPaletteMarker = 0x0C;

unsigned Word(const Bytes& b, std::size_t at) { return b[at] | (unsigned{b[at + 1]} << 8); }

std::uint32_t Rgb(unsigned r, unsigned g, unsigned b) { return 0xFF000000u | (r << 16) | (g << 8) | b; }

// Expands the run-length data in [begin, end) into exactly `out.size()` bytes. A count byte
// (top two bits set) repeats the byte after it; a run may cross the end of a scan line, and
// one that passes the end of the image is cut there. False if the data end first.
bool Expand(const Bytes& file, std::size_t begin, std::size_t end, std::vector<std::uint8_t>& out) {
  std::size_t at = begin;
  std::size_t filled = 0;
  while (filled < out.size()) {
    if (at >= end) return false;
    std::uint8_t value = file[at++];
    std::size_t run = 1;
    if ((value & 0xC0) == 0xC0) {
      run = value & 0x3F;
      if (at >= end) return false;
      value = file[at++];
    }
    for (; run > 0 && filled < out.size(); --run) out[filled++] = value;
  }
  return true;
}

}  // namespace

std::optional<PcxImage> DecodePcx(const Bytes& file) {
  if (file.size() < kHeaderSize || file[0] != 0x0A || file[2] != 1) return std::nullopt;
  const unsigned bitsPerPixel = file[3];
  const unsigned xMin = Word(file, 4), yMin = Word(file, 6), xMax = Word(file, 8), yMax = Word(file, 10);
  const unsigned planes = file[65];
  const std::size_t bytesPerLine = Word(file, 66);
  if (xMax < xMin || yMax < yMin) return std::nullopt;
  const std::size_t width = xMax - xMin + 1;
  const std::size_t height = yMax - yMin + 1;
  if (static_cast<std::int64_t>(width * height) > kPcxMaxPixels) return std::nullopt;

  const bool paletted = bitsPerPixel == 8 && planes == 1;
  const bool rgb = bitsPerPixel == 8 && planes == 3;
  const bool mono = bitsPerPixel == 1 && planes == 1;
  if (!paletted && !rgb && !mono) return std::nullopt;
  if (bytesPerLine < (mono ? (width + 7) / 8 : width)) return std::nullopt;

  std::size_t dataEnd = file.size();
  if (paletted) {
    if (file.size() < kHeaderSize + kPaletteSize || file[file.size() - kPaletteSize] != kPaletteMarker) {
      return std::nullopt;
    }
    dataEnd = file.size() - kPaletteSize;
  }

  // A count byte repeats at most 63 times, so the data can expand to no more than 63 times
  // their size: a header that claims more is refused before anything is allocated.
  const std::size_t lineBytes = bytesPerLine * planes;
  if (lineBytes * height > 63 * (dataEnd - kHeaderSize)) return std::nullopt;
  std::vector<std::uint8_t> data(lineBytes * height);
  if (!Expand(file, kHeaderSize, dataEnd, data)) return std::nullopt;

  PcxImage image;
  image.width = static_cast<int>(width);
  image.height = static_cast<int>(height);
  image.pixels.resize(width * height);
  for (std::size_t y = 0; y < height; ++y) {
    const std::uint8_t* line = data.data() + y * lineBytes;
    std::uint32_t* row = image.pixels.data() + y * width;
    for (std::size_t x = 0; x < width; ++x) {
      if (paletted) {
        const std::size_t p = dataEnd + 1 + 3 * std::size_t{line[x]};
        row[x] = Rgb(file[p], file[p + 1], file[p + 2]);
      } else if (rgb) {
        row[x] = Rgb(line[x], line[bytesPerLine + x], line[2 * bytesPerLine + x]);
      } else {
        const bool white = (line[x / 8] >> (7 - x % 8)) & 1;
        row[x] = white ? Rgb(255, 255, 255) : Rgb(0, 0, 0);
      }
    }
  }
  return image;
}

}  // namespace brenvik
