// The icons the window carries in itself, as the exact bytes of their files: the build
// defines these from app/assets/ (brenvik_embed_files, cmake/EmbedFile.cmake). Qt-free: the
// picture boxes decode them like any other picture.
#pragma once

#include "text/text.h"

namespace brenvik {

// ICO, 372,526 bytes, seven 32-bit images with alpha: 48, 32, 16, 256, 24, 64, 128 pixels.
[[nodiscard]] const Bytes& LinkIcon();
// ICO with the same seven sizes: the window's and the program's icon.
[[nodiscard]] const Bytes& ProgramIcon();

}  // namespace brenvik
