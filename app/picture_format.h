// Which picture file a picture box is given, judged from its first six bytes alone, and which
// image of an icon or cursor file it shows. Qt-free, so that fuzzers and the core can reach it.
#pragma once

#include "text/text.h"

namespace brenvik {

enum class PictureFormat {
  None,  // no rule matches: fewer than six bytes, PNG, HTML, GIF88a ...
  Bmp,
  Jpeg,
  Ico,
  Cur,
  Gif,
  Pcx8,  // PCX with 8 bits per pixel (byte 1, the version, at most 5)
  Pcx1,  // PCX version 3 with 1 bit per pixel
};

// The first matching rule, in this order: "BM"; FF D8; little-endian words 0, 1, n > 0 (ICO);
// 0, 2, n > 0 (CUR); "GIF87a" or "GIF89a"; 0A v<=5 01 08 (PCX 8-bit); 0A 03 01 01 (PCX 1-bit).
// Example: RecognisePictureFormat({'G','I','F','8','9'}) == PictureFormat::None (five bytes).
[[nodiscard]] PictureFormat RecognisePictureFormat(const Bytes& bytes);

// The 0-based directory entry an ICO or CUR file shows: the first whose width byte is 32 and
// whose colour-count byte is 16 or more, else the last one. -1 when the file has no entries or
// its directory runs past the end of the bytes.
[[nodiscard]] int ChooseIconImage(const Bytes& bytes);

// True if a GIF's first image is whole: the header, the colour table, any extensions before
// the image and the image's data blocks up to their terminator all lie inside the bytes.
[[nodiscard]] bool GifFirstImageComplete(const Bytes& bytes);

}  // namespace brenvik
