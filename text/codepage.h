// Conversions between GBK (code page 936), UTF-8 (65001) and UTF-16 on ICU's converters.
// GBK means Windows code page 936 (ICU's "windows-936" table); a character GBK lacks becomes
// "?", one "?" for each character (the invisible ones, U+200B or U+FEFF, included), and
// invalid UTF-8 is read as U+FFFD. UTF-16 travels in Bytes as little-endian units
// without a byte-order mark. The buffer sizes of each conversion are part of its result:
// a conversion that does not fit its buffer is cut at the buffer's end.
#pragma once

#include <string_view>

#include "text/text.h"

namespace brenvik {

inline constexpr int kCodePageGbk = 936;
inline constexpr int kCodePageUtf8 = 65001;

// The units of `text` read in `codePage`, a zero unit, and zero padding up to the number of
// units the same bytes need read as GBK (terminator included).
// Example: MultiByteToUtf16("\xE6\x96\x87\xE4\xB8\xAD") == 87 65 2D 4E 00 00 00 00.
[[nodiscard]] Bytes MultiByteToUtf16(const Text& text, int codePage = kCodePageUtf8);
// `data` up to its first zero unit in `codePage`, at most twice its GBK size in bytes.
[[nodiscard]] Text Utf16ToMultiByte(const Bytes& data, int codePage = kCodePageGbk);
[[nodiscard]] Text AnsiToUtf8(const Text& text);
[[nodiscard]] Text Utf8ToAnsi(const Text& text);
// Exactly the code units of `text`, no terminator.
[[nodiscard]] Bytes GbkToUtf16(const Text& text);
// GBK of the units (an odd last byte ignored), cut at a zero unit. A base character followed
// by combining marks is composed first where a precomposed character exists (e, U+0301 ->
// A8 A6); every other character stays as it is (U+F92C -> FD 9C, not the unified C0 C9).
[[nodiscard]] Text Utf16ToGbk(const Bytes& data);

// The program's own literals are written in UTF-8 in the source; this gives their GBK bytes.
// Example: Gbk("查询") == "\xB2\xE9\xD1\xAF".
[[nodiscard]] Text Gbk(std::string_view utf8);

}  // namespace brenvik
