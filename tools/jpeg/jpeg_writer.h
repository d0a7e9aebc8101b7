// JPEG files from RGB pixels, by libjpeg: the one encoder behind the test fixtures, the
// picture generator and the sample site. Qt-free; errors come back as an empty result.
//
//   std::vector<std::uint8_t> file = jpeg::EncodeRgb(rgb, width, height, width * 3, {.quality = 95});
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace jpeg {

struct WriterOptions {
  int quality = 75;              // 1..100, with baseline quantisation tables
  bool optimizeCoding = false;   // Huffman tables made for the picture (smaller, same pixels)
  // The JFIF header's density: unit 0 = an aspect ratio only, 1 = dots per inch, 2 = per cm.
  int densityUnit = 0;
  int xDensity = 1;
  int yDensity = 1;
  // > 0: a progressive file of 1 + 3 * progressiveAcBands scans, one DC scan, then for every
  // band one scan per component (the last band runs to coefficient 63).
  int progressiveAcBands = 0;
  // >= 4: a comment segment right after the header that makes the file exactly this many
  // bytes longer; its text is "Brenvik" padded with spaces (or cut, when it is short).
  std::size_t commentBytes = 0;
};

// A JFIF 1.01 file of `width` x `height` pixels from rows of 8-bit R, G, B triples, the row
// starts `stride` bytes apart. Empty when libjpeg refuses (an empty picture, say).
[[nodiscard]] std::vector<std::uint8_t> EncodeRgb(const std::uint8_t* rgb, int width, int height,
                                                  std::size_t stride, const WriterOptions& options = {});

}  // namespace jpeg
