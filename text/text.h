// Text values and their primitive operations.
//
// A Text is a run of GBK (code page 936) bytes with no zero byte; lengths, counts and
// positions are bytes, positions 1-based. Walking operations (FindText, ReplaceText,
// TrimBoth, ToUpper) keep a two-byte character whole: a byte of 0x80 or above starts a
// character together with the byte after it. Cutting operations (TextLeft, TextRight,
// TextMid) count bytes and may split a character. No operation fails: a count or
// position outside the value gives an empty, shorter or whole value, a failed search -1.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace brenvik {

using Text = std::string;                 // GBK bytes, no zero byte
using Bytes = std::vector<std::uint8_t>;  // any bytes; UTF-16 travels here as little-endian units
using TextArray = std::vector<Text>;      // read 1-based through ArrayAt

// --- Text -------------------------------------------------------------------------------

[[nodiscard]] int TextLength(const Text& t);

// The bytes of every operand in order; any number of operands.
template <typename... Parts>
[[nodiscard]] Text ConcatText(const Parts&... parts) {
  Text out;
  out.reserve((std::string_view(parts).size() + ... + 0));
  (out.append(std::string_view(parts)), ...);
  return out;
}

[[nodiscard]] bool TextEquals(const Text& a, const Text& b);
[[nodiscard]] Text TextLeft(const Text& t, int n);
[[nodiscard]] Text TextRight(const Text& t, int n);
[[nodiscard]] Text TextMid(const Text& t, int start, int n);

// 1-based position of the first `sub` at or after `start` (below 1: the first byte), or -1.
// Candidates step over whole two-byte characters; an empty `sub` gives 1 in a non-empty range.
// Example: FindText("\xB0\xA1\xB0\xA1", "\xA1\xB0") == -1.
[[nodiscard]] int FindText(const Text& t, const Text& sub, int start = 1, bool ignoreCase = false);

// `t` with occurrences of `find` from `start` replaced, left to right, at most `count`
// (negative: unlimited). A lone lead byte at the very end ends the scan and is dropped.
[[nodiscard]] Text ReplaceText(const Text& t, const Text& find, const Text& replacement = {},
                               int start = 1, int count = -1, bool caseSensitive = true);

// Without leading and trailing runs of spaces (0x20) and full-width spaces (A1 A1).
[[nodiscard]] Text TrimBoth(const Text& t);
// ASCII a-z made upper-case; second bytes of two-byte characters never change.
[[nodiscard]] Text ToUpper(const Text& t);
// Upper-case hexadecimal without leading zeros; negative values as 32-bit two's complement.
[[nodiscard]] Text ToHexText(std::int32_t v);
// The one byte c & 0xFF; 0 gives the empty text.
[[nodiscard]] Text CharFromCode(int c);
[[nodiscard]] Text BlankText(int n);

// --- Bytes ------------------------------------------------------------------------------

[[nodiscard]] Bytes TextToBytes(const Text& t);
// The bytes before the first zero byte.
[[nodiscard]] Text BytesToText(const Bytes& b);
[[nodiscard]] int BytesLength(const Bytes& b);
[[nodiscard]] Bytes BytesLeft(const Bytes& b, int n);
[[nodiscard]] Bytes BlankBytes(int n);
[[nodiscard]] bool BytesEquals(const Bytes& a, const Bytes& b);

// --- TextArray --------------------------------------------------------------------------

void ArrayClear(TextArray& a);
void ArrayAppend(TextArray& a, const Text& t);
[[nodiscard]] int ArrayCount(const TextArray& a);
// Element i, 1 <= i <= ArrayCount(a); anything else is the caller's fault (checked in debug).
[[nodiscard]] const Text& ArrayAt(const TextArray& a, int i);

}  // namespace brenvik
