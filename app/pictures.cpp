#include "app/pictures.h"

#include <cstddef>

// The files' bytes, generated at build time from app/assets/.
namespace brenvik::detail {
extern const unsigned char kLinkIconData[];
extern const std::size_t kLinkIconSize;
extern const unsigned char kProgramIconData[];
extern const std::size_t kProgramIconSize;
}  // namespace brenvik::detail

namespace brenvik {

const Bytes& LinkIcon() {
  static const Bytes bytes(detail::kLinkIconData, detail::kLinkIconData + detail::kLinkIconSize);
  return bytes;
}

const Bytes& ProgramIcon() {
  static const Bytes bytes(detail::kProgramIconData, detail::kProgramIconData + detail::kProgramIconSize);
  return bytes;
}

}  // namespace brenvik
