// The pictures the program carries in itself, as the exact bytes of their files.
// Qt-free, so that the lookup can write the not-found picture into a picture box.
#pragma once

#include "text/text.h"

namespace brenvik {

// JPEG (JFIF 1.01, baseline, 96 dpi), 255 x 153, 6,528 bytes: the picture shown for a player
// that was not found.
[[nodiscard]] const Bytes& NotFoundPicture();
// ICO, 372,526 bytes, seven 32-bit images with alpha: 48, 32, 16, 256, 24, 64, 128 pixels.
[[nodiscard]] const Bytes& LinkIcon();
// ICO with the same seven sizes: the window's and the program's icon.
[[nodiscard]] const Bytes& ProgramIcon();

}  // namespace brenvik
