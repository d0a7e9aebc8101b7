// The shared JPEG writer: what its options put into the file, and refusal as an empty result.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "tools/jpeg/jpeg_writer.h"

namespace {

using File = std::vector<std::uint8_t>;

// A 20 x 12 picture: a red block on white.
File Pixels() {
  File rgb(20 * 12 * 3, 255);
  for (int y = 2; y < 8; ++y) {
    for (int x = 3; x < 11; ++x) {
      rgb[(y * 20 + x) * 3 + 1] = 0;
      rgb[(y * 20 + x) * 3 + 2] = 0;
    }
  }
  return rgb;
}

File Encode(const jpeg::WriterOptions& options) { return jpeg::EncodeRgb(Pixels().data(), 20, 12, 20 * 3, options); }

int Markers(const File& file, std::uint8_t code) {
  int count = 0;
  for (std::size_t i = 0; i + 1 < file.size(); ++i) count += file[i] == 0xFF && file[i + 1] == code;
  return count;
}

TEST(JpegWriter, HeaderAndScansFollowTheOptions) {
  struct Case {
    const char* what;
    jpeg::WriterOptions options;
    int unit, xDensity, yDensity, baselineFrames, progressiveFrames, scans;
  };
  const Case cases[] = {
      {"defaults", {}, 0, 1, 1, 1, 0, 1},
      {"96 dpi", {.densityUnit = 1, .xDensity = 96, .yDensity = 96}, 1, 96, 96, 1, 0, 1},
      {"72 x 144 per cm", {.densityUnit = 2, .xDensity = 72, .yDensity = 144}, 2, 72, 144, 1, 0, 1},
      {"progressive, 2 bands", {.progressiveAcBands = 2}, 0, 1, 1, 0, 1, 7},
      {"progressive, 33 bands", {.progressiveAcBands = 33}, 0, 1, 1, 0, 1, 100},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const File file = Encode(c.options);
    ASSERT_GT(file.size(), 20u);
    EXPECT_EQ(File(file.begin(), file.begin() + 4), (File{0xFF, 0xD8, 0xFF, 0xE0}));
    EXPECT_EQ(std::string(file.begin() + 6, file.begin() + 11), std::string("JFIF\0", 5));
    EXPECT_EQ(file[11], 1);  // JFIF 1.01
    EXPECT_EQ(file[12], 1);
    EXPECT_EQ(file[13], c.unit);
    EXPECT_EQ((file[14] << 8) | file[15], c.xDensity);
    EXPECT_EQ((file[16] << 8) | file[17], c.yDensity);
    EXPECT_EQ(Markers(file, 0xC0), c.baselineFrames);
    EXPECT_EQ(Markers(file, 0xC2), c.progressiveFrames);
    EXPECT_EQ(Markers(file, 0xDA), c.scans);
    EXPECT_EQ(File(file.end() - 2, file.end()), (File{0xFF, 0xD9}));
  }
}

TEST(JpegWriter, CommentGrowsTheFileByExactlyItsSize) {
  const File plain = Encode({.quality = 90});
  for (std::size_t bytes : {4u, 9u, 11u, 700u}) {
    SCOPED_TRACE(bytes);
    const File padded = Encode({.quality = 90, .commentBytes = bytes});
    ASSERT_EQ(padded.size(), plain.size() + bytes);
    // Right after the 18-byte JFIF segment: FF FE, the length, "Brenvik" then spaces (cut short).
    const std::size_t at = 2 + 18;
    EXPECT_EQ(File(padded.begin() + at, padded.begin() + at + 2), (File{0xFF, 0xFE}));
    EXPECT_EQ((padded[at + 2] << 8) | padded[at + 3], static_cast<int>(bytes - 2));
    std::string text(bytes - 4, ' ');
    std::copy_n("Brenvik", std::min<std::size_t>(7, text.size()), text.begin());
    EXPECT_EQ(std::string(padded.begin() + at + 4, padded.begin() + at + bytes), text);
  }
  // Fewer than the marker and its length: no comment at all.
  EXPECT_EQ(Encode({.quality = 90, .commentBytes = 3}), plain);
  // Coding tables made for the picture change the bytes, not the header.
  const File optimized = Encode({.quality = 90, .optimizeCoding = true});
  EXPECT_NE(optimized, plain);
  EXPECT_EQ(File(optimized.begin(), optimized.begin() + 20), File(plain.begin(), plain.begin() + 20));
}

TEST(JpegWriter, RefusalIsAnEmptyResultNotAnExit) {
  const File rgb = Pixels();
  EXPECT_TRUE(jpeg::EncodeRgb(rgb.data(), 0, 12, 0).empty());
  EXPECT_TRUE(jpeg::EncodeRgb(rgb.data(), 20, 0, 60).empty());
  EXPECT_TRUE(jpeg::EncodeRgb(rgb.data(), 70000, 1, 0).empty());  // wider than JPEG allows
  // And the writer works as before afterwards.
  EXPECT_FALSE(Encode({}).empty());
}

}  // namespace
