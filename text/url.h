// Percent-encoding of query values and percent-decoding of whole pages, byte by byte.
#pragma once

#include "text/text.h"

namespace brenvik {

// Every byte as "%" and two upper-case hex digits, except, with `keepUnreserved`, the bytes
// - . 0-9 A-Z a-z. With `asUtf8` the text is converted from GBK to UTF-8 first.
// Example: UrlEncode("abc", false, true) == "%61%62%63".
[[nodiscard]] Text UrlEncode(const Text& text, bool keepUnreserved = false, bool asUtf8 = false);

// Every "%" takes the two bytes after it whatever they are: a hex digit counts 0-15, any
// other byte -2, a byte past the end 0; the byte is the low 8 bits of 16 * first + second,
// and the value 0 appends nothing. "+" stays "+". With `fromUtf8` the result is then
// converted from UTF-8 to GBK. Example: UrlDecode("50%</td>") == "50\xDEtd>".
[[nodiscard]] Text UrlDecode(const Text& text, bool fromUtf8 = false);

namespace detail {

// UrlDecode(BytesToText(bytes), true) without the copy of the bytes: those before the first
// zero byte, percent-decoded and converted from UTF-8 to GBK, into `out` (whose memory is
// reused when it has room).
void UrlDecodeBytesFromUtf8(const Bytes& bytes, Text& out);

}  // namespace detail

}  // namespace brenvik
