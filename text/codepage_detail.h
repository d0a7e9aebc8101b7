// Conversions of the text toolkit without the Bytes round trip, for hot paths (the regex
// object hands whole pages to its engine). Same results as their public counterparts.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "text/text.h"

namespace brenvik::detail {

// As GbkToUtf16: exactly the code units of the GBK text.
[[nodiscard]] std::u16string GbkToU16(std::string_view gbk);
// As Utf16ToGbk: base and marks composed, cut at a zero unit, unmappable characters as "?".
[[nodiscard]] Text U16ToGbk(std::u16string_view units);
// GBK of the units exactly as they stand, nothing composed: cut at a zero unit, one "?" for
// each character GBK lacks. Gives back the bytes of every GBK text that GbkToU16 read.
[[nodiscard]] Text U16ToGbkAsIs(std::u16string_view units);
// As Utf8ToAnsi.
[[nodiscard]] Text Utf8ToGbkFast(std::string_view utf8);

// The GBK bytes of single code points, for decoders that produce them one by one (the page's
// UTF-8). Each code point's bytes are asked of the thread's GBK conversion once (the same one
// every GBK result goes through, so unmappable characters come out as they do there) and
// kept. Converting a code point does not depend on its neighbours, so appending code point
// by code point gives the bytes of converting the whole text at once.
class GbkCodes {
 public:
  // A kept code is one byte (below 0x100) or a lead byte 81-FE and a trail byte
  // (lead << 8 | trail); or one of these:
  static constexpr std::uint16_t kNotKept = 0xFFFE;  // any other result: Converted() it every time
  static constexpr std::uint16_t kNothing = 0xFFFF;  // the conversion writes no byte for it

  [[nodiscard]] static GbkCodes& ForThread();

  // The code of `cp`, any code point but a surrogate.
  [[nodiscard]] std::uint16_t Code(char32_t cp) {
    const std::size_t plane = cp >> 16;
    const std::uint16_t code = plane < planes_.size() && planes_[plane] ? (*planes_[plane])[cp & 0xFFFF] : kUnknown;
    return code != kUnknown ? code : Learn(cp);
  }
  // The conversion's bytes for `cp`.
  [[nodiscard]] Text Converted(char32_t cp) const;

 private:
  static constexpr std::uint16_t kUnknown = 0;
  using Plane = std::array<std::uint16_t, 0x10000>;

  std::uint16_t Learn(char32_t cp);

  std::array<std::unique_ptr<Plane>, 17> planes_;  // made when a code point of the plane comes
};

}  // namespace brenvik::detail
