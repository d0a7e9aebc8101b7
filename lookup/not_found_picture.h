// The picture the lookup writes into the avatar box for a player that was not found, carried
// in the program as the exact bytes of its file: the build defines NotFoundPicture() from
// lookup/assets/not_found.jpg (brenvik_embed_files, cmake/EmbedFile.cmake).
#pragma once

#include "text/text.h"

namespace brenvik {

// JPEG (JFIF 1.01, baseline, 96 dpi), 255 x 153, 6,528 bytes.
[[nodiscard]] const Bytes& NotFoundPicture();

}  // namespace brenvik
