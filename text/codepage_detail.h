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
// As Utf16ToGbk: composed, cut at a zero unit, unmappable characters as "?".
[[nodiscard]] Text U16ToGbk(std::u16string_view units);
// As Utf8ToAnsi.
[[nodiscard]] Text Utf8ToGbkFast(std::string_view utf8);

// The GBK bytes of single code points, for decoders that produce them one by one (the page's
// UTF-8). Each code point's bytes are asked of the thread's GBK conversion once (the same one
// every GBK result goes through, so unmappable characters come out as they do there) and
// kept. Converting a code point does not depend on its neighbours, so appending code point
// by code point gives the bytes of converting the whole text at once.
class GbkCodes {
 public:
  [[nodiscard]] static GbkCodes& ForThread();

  // Appends the GBK of `cp`, any code point but a surrogate, to `out`.
  void Append(char32_t cp, Text& out) {
    const std::size_t plane = cp >> 16;
    std::uint16_t code = plane < planes_.size() && planes_[plane] ? (*planes_[plane])[cp & 0xFFFF] : kUnknown;
    if (code == kUnknown) code = Learn(cp);
    if (code < 0x100) {
      out.push_back(static_cast<char>(code));
    } else if (code < kNothing - 1) {
      out.push_back(static_cast<char>(code >> 8));
      out.push_back(static_cast<char>(code & 0xFF));
    } else if (code == kNotKept) {
      AppendConverted(cp, out);
    }  // kNothing: the conversion writes no byte for it
  }

 private:
  // A kept code: one byte (below 0x100) or a lead byte 81-FE and a trail byte; or one of these.
  static constexpr std::uint16_t kUnknown = 0;
  static constexpr std::uint16_t kNotKept = 0xFFFE;  // any other result: converted every time
  static constexpr std::uint16_t kNothing = 0xFFFF;
  using Plane = std::array<std::uint16_t, 0x10000>;

  std::uint16_t Learn(char32_t cp);
  void AppendConverted(char32_t cp, Text& out) const;

  std::array<std::unique_ptr<Plane>, 17> planes_;  // made when a code point of the plane comes
};

}  // namespace brenvik::detail
