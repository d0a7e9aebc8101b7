// Conversions of the text toolkit without the Bytes round trip, for hot paths (the regex
// object hands whole pages to its engine). Same results as their public counterparts.
#pragma once

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

}  // namespace brenvik::detail
