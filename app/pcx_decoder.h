// A decoder of PCX files (ZSoft's run-length format): 8 bits per pixel with the 256-colour
// palette at the end of the file (one plane) or as red, green and blue planes, and 1 bit per
// pixel in one plane (0 black, 1 white). Qt-free; every read is bounds-checked.
#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "text/text.h"

namespace brenvik {

struct PcxImage {
  int width = 0;
  int height = 0;
  std::vector<std::uint32_t> pixels;  // 0xFFRRGGBB, row after row, top row first
};

// Images above this many pixels are refused rather than allocated.
inline constexpr std::int64_t kPcxMaxPixels = 16 * 1024 * 1024;

// The image, or nothing for any other variant, a damaged header or data that end too soon.
[[nodiscard]] std::optional<PcxImage> DecodePcx(const Bytes& file);

}  // namespace brenvik
