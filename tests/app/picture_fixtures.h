// Small picture files made in the test, byte by byte where Qt has no writer.
#pragma once

#include <QColor>
#include <QImage>
#include <QSize>
#include <vector>

#include "text/text.h"

namespace brenvik::testing {

Bytes Concat(std::initializer_list<Bytes> parts);
Bytes SavedByQt(const QImage& image, const char* format);

// A baseline JPEG by libjpeg; `acBands` > 0 makes a progressive file of 1 + 3 * acBands
// scans: one DC scan, then per band one scan for each component.
Bytes Jpeg(const QImage& image, int acBands = 0);

struct IconEntry {
  int size;
  int colourByte;  // the directory's colour-count byte
  QColor colour;   // the whole image, opaque
  bool png = false;
};
// An ICO (type 1) or CUR (type 2) of 32-bit DIB or PNG images, in the given order.
Bytes Icon(const std::vector<IconEntry>& entries, int type = 1);

struct GifFrame {
  std::vector<std::uint8_t> indices;  // one per pixel of the logical screen
  int delay;                          // hundredths of a second
  int transparentIndex = -1;
};
// A GIF89a of `size` with a global table of up to four colours; `loopForEver` adds the
// application extension that asks for endless looping (without it a file plays once).
Bytes Gif(QSize size, const std::vector<QColor>& palette, const std::vector<GifFrame>& frames, bool loopForEver = true);

// A PCX of one plane: 8 bits per pixel (indices, palette at the end) or 1 bit (0/1 values),
// run-length encoded with runs that may cross line ends.
Bytes Pcx8(int width, int height, const std::vector<std::uint8_t>& indices, const std::vector<QColor>& palette);
Bytes Pcx1(int width, int height, const std::vector<std::uint8_t>& bits);

}  // namespace brenvik::testing
