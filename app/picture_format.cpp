#include "app/picture_format.h"

#include <cstddef>

namespace brenvik {
namespace {

unsigned Word(const Bytes& b, std::size_t at) { return b[at] | (unsigned{b[at + 1]} << 8); }

constexpr std::size_t kIconDirSize = 6;
constexpr std::size_t kIconEntrySize = 16;

}  // namespace

PictureFormat RecognisePictureFormat(const Bytes& b) {
  if (b.size() < 6) return PictureFormat::None;
  if (b[0] == 'B' && b[1] == 'M') return PictureFormat::Bmp;
  if (b[0] == 0xFF && b[1] == 0xD8) return PictureFormat::Jpeg;
  if (Word(b, 0) == 0 && Word(b, 2) == 1 && Word(b, 4) > 0) return PictureFormat::Ico;
  if (Word(b, 0) == 0 && Word(b, 2) == 2 && Word(b, 4) > 0) return PictureFormat::Cur;
  if (b[0] == 'G' && b[1] == 'I' && b[2] == 'F' && b[3] == '8' && (b[4] == '7' || b[4] == '9') && b[5] == 'a') {
    return PictureFormat::Gif;
  }
  if (b[0] == 0x0A && b[1] <= 5 && b[2] == 1 && b[3] == 8) return PictureFormat::Pcx8;
  if (b[0] == 0x0A && b[1] == 3 && b[2] == 1 && b[3] == 1) return PictureFormat::Pcx1;
  return PictureFormat::None;
}

int ChooseIconImage(const Bytes& b) {
  if (b.size() < kIconDirSize) return -1;
  const std::size_t count = Word(b, 4);
  if (count == 0 || b.size() < kIconDirSize + count * kIconEntrySize) return -1;
  for (std::size_t i = 0; i < count; ++i) {
    const std::size_t entry = kIconDirSize + i * kIconEntrySize;
    const unsigned width = b[entry];
    const unsigned colours = b[entry + 2];
    if (width == 32 && colours >= 16) return static_cast<int>(i);
  }
  return static_cast<int>(count - 1);
}

namespace {

// Skips a run of data sub-blocks (length byte, bytes) ending with a zero length; false if
// the run goes past the end.
bool SkipSubBlocks(const Bytes& b, std::size_t& at) {
  while (at < b.size()) {
    const std::size_t length = b[at++];
    if (length == 0) return true;
    at += length;
  }
  return false;
}

std::size_t ColourTableSize(std::uint8_t flags) { return (flags & 0x80) ? 3u << ((flags & 7) + 1) : 0; }

}  // namespace

bool GifFirstImageComplete(const Bytes& b) {
  constexpr std::size_t kScreenEnd = 13;
  if (b.size() < kScreenEnd || RecognisePictureFormat(b) != PictureFormat::Gif) return false;
  std::size_t at = kScreenEnd + ColourTableSize(b[10]);
  while (at < b.size()) {
    const std::uint8_t block = b[at++];
    if (block == 0x21) {  // extension: label, then sub-blocks
      if (++at > b.size() || !SkipSubBlocks(b, at)) return false;
    } else if (block == 0x2C) {  // image: descriptor, local table, code size, sub-blocks
      if (at + 9 > b.size()) return false;
      at += 9 + ColourTableSize(b[at + 8]);
      if (++at > b.size()) return false;
      return SkipSubBlocks(b, at);
    } else {
      return false;  // the trailer or damage before any image
    }
  }
  return false;
}

}  // namespace brenvik
