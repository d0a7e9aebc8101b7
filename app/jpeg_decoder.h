// JPEG decoding with libjpeg for the picture boxes. Hostile files are stopped early: the
// pixel count is checked right after the header, libjpeg's memory is bounded, a progressive
// file of more than kJpegMaxScans scans is given up, and every error or warning of the library
// (a truncated or corrupted file among them) returns here instead of ending the program.
#pragma once

#include <QImage>

#include "text/text.h"

namespace brenvik {

inline constexpr long long kJpegMaxPixels = 16LL * 1024 * 1024;
inline constexpr long kJpegMaxMemory = 160L * 1024 * 1024;
inline constexpr int kJpegMaxScans = 100;

// A 24-bit colour image (QImage::Format_RGB32) of the file's size, or a null image on failure.
// Greyscale files come out grey; CMYK files are not decoded.
[[nodiscard]] QImage DecodeJpeg(const Bytes& file);

}  // namespace brenvik
