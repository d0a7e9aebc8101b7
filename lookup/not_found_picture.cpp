#include "lookup/not_found_picture.h"

#include <cstddef>

// The file's bytes, generated at build time from lookup/assets/not_found.jpg.
namespace brenvik::detail {
extern const unsigned char kNotFoundPictureData[];
extern const std::size_t kNotFoundPictureSize;
}  // namespace brenvik::detail

namespace brenvik {

const Bytes& NotFoundPicture() {
  static const Bytes bytes(detail::kNotFoundPictureData, detail::kNotFoundPictureData + detail::kNotFoundPictureSize);
  return bytes;
}

}  // namespace brenvik
