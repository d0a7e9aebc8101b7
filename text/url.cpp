#include "text/url.h"

#include <array>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "text/codepage.h"
#include "text/codepage_detail.h"

namespace brenvik {
namespace {

// Digit values as the decoder reads them: 0-15 for hexadecimal digits of either case, -2 for
// every other byte. (A byte past the end of the text counts 0; the caller handles that.)
constexpr std::array<int, 256> MakeDigitTable() {
  std::array<int, 256> table{};
  for (int& value : table) value = -2;
  for (int c = '0'; c <= '9'; ++c) table[static_cast<std::size_t>(c)] = c - '0';
  for (int c = 'A'; c <= 'F'; ++c) table[static_cast<std::size_t>(c)] = c - 'A' + 10;
  for (int c = 'a'; c <= 'f'; ++c) table[static_cast<std::size_t>(c)] = c - 'a' + 10;
  return table;
}
constexpr std::array<int, 256> kDigitValue = MakeDigitTable();

constexpr bool IsKept(unsigned char b) {
  return b == '-' || b == '.' || (b >= '0' && b <= '9') || (b >= 'A' && b <= 'Z') || (b >= 'a' && b <= 'z');
}

// The value of the escape whose "%" is at `i`: the two bytes after it whatever they are, a
// byte past the end counting 0.
unsigned char EscapeValue(const unsigned char* p, std::size_t i, std::size_t n) {
  const int high = i + 1 < n ? kDigitValue[p[i + 1]] : 0;
  const int low = i + 2 < n ? kDigitValue[p[i + 2]] : 0;
  return static_cast<unsigned char>((16 * high + low) & 0xFF);
}

// How many bytes from `p` on are ASCII other than "%" and the zero byte: bytes that the
// decoding from UTF-8 into GBK copies as they are.
std::size_t PlainAsciiRun(const unsigned char* p, std::size_t n) {
  std::size_t k = 0;
#if defined(__SSE2__)
  const __m128i percent = _mm_set1_epi8('%');
  const __m128i zero = _mm_setzero_si128();
  for (; k + 16 <= n; k += 16) {
    const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + k));
    const int stop = _mm_movemask_epi8(v) | _mm_movemask_epi8(_mm_cmpeq_epi8(v, percent)) |
                     _mm_movemask_epi8(_mm_cmpeq_epi8(v, zero));
    if (stop != 0) return k + static_cast<std::size_t>(__builtin_ctz(static_cast<unsigned>(stop)));
  }
#endif
  while (k < n && p[k] != 0 && p[k] != '%' && p[k] < 0x80) ++k;
  return k;
}

// The characters of a byte string read as GBK, counted byte by byte the way the code-page
// conversion counts them to size its buffer: a lead byte 81-FE takes a following trail byte
// (40-7E, 80-FE) into one character, every other byte is a character of its own.
class GbkReading {
 public:
  void Ascii(unsigned char first, std::size_t count) {
    if (lead_) {
      lead_ = false;
      chars_ += first >= 0x40 ? 1 : 2;  // a trail byte, or a lone lead and a byte of its own
      --count;
    }
    chars_ += count;
  }
  void High(unsigned char b) {
    if (lead_) {
      lead_ = false;
      chars_ += b == 0xFF ? 2 : 1;
    } else if (b >= 0x81 && b <= 0xFE) {
      lead_ = true;
    } else {
      ++chars_;
    }
  }
  // The units the buffer has room for: every character and the terminator.
  [[nodiscard]] std::size_t Room() const { return chars_ + (lead_ ? 1 : 0) + 1; }

 private:
  bool lead_ = false;
  std::size_t chars_ = 0;
};

// Percent-decoding, reading the result as UTF-8 and converting it to GBK in one pass over
// the text, into `out`; the text ends at its first zero byte, as a Text does. Ill-formed
// UTF-8 is read as the conversion reads it: each maximal ill-formed part (a lead byte and
// the continuation bytes that still fit it, or a lone byte) is one U+FFFD. False in the one
// case the conversion would cut its result: ill-formed input that needs more UTF-16 units
// than its GBK reading has characters, and so overflows the buffer sized by that reading.
bool DecodeUtf8ToGbk(std::string_view text, Text& out) {
  const auto* p = reinterpret_cast<const unsigned char*>(text.data());
  const std::size_t n = text.size();
  out.clear();
  out.reserve(n);  // a code point never takes more GBK bytes than UTF-8 bytes
  detail::GbkCodes& codes = detail::GbkCodes::ForThread();
  GbkReading reading;
  std::size_t units = 0;          // UTF-16 units of the UTF-8 reading
  std::size_t substitutions = 0;  // ill-formed parts
  // The decoded byte at `at` (escapes worth 0 append nothing), or -1 at the end of the text;
  // `after` is where the next one begins.
  const auto peek = [&](std::size_t at, std::size_t& after) -> int {
    while (at < n) {
      const unsigned char c = p[at];
      if (c == 0) break;
      if (c != '%') {
        after = at + 1;
        return c;
      }
      const unsigned char value = EscapeValue(p, at, n);
      at += 3;
      if (value != 0) {
        after = at;
        return value;
      }
    }
    after = n;
    return -1;
  };
  std::size_t i = 0;
  while (i < n) {
    const std::size_t run = PlainAsciiRun(p + i, n - i);
    if (run > 0) {
      out.append(text.data() + i, run);
      reading.Ascii(p[i], run);
      units += run;
      i += run;
    }
    std::size_t after = 0;
    const int lead = peek(i, after);
    if (lead < 0) break;
    i = after;
    if (lead < 0x80) {
      out.push_back(static_cast<char>(lead));
      reading.Ascii(static_cast<unsigned char>(lead), 1);
      ++units;
      continue;
    }
    reading.High(static_cast<unsigned char>(lead));
    // The well-formed sequences: the first continuation byte's range depends on the lead
    // (no overlong forms, no surrogates, nothing above U+10FFFF).
    int more = 0;
    char32_t cp = 0;
    int low = 0x80;
    int high = 0xBF;
    if (lead >= 0xC2 && lead <= 0xDF) {
      more = 1;
      cp = static_cast<char32_t>(lead & 0x1F);
    } else if (lead >= 0xE0 && lead <= 0xEF) {
      more = 2;
      cp = static_cast<char32_t>(lead & 0x0F);
      if (lead == 0xE0) low = 0xA0;
      if (lead == 0xED) high = 0x9F;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
      more = 3;
      cp = static_cast<char32_t>(lead & 0x07);
      if (lead == 0xF0) low = 0x90;
      if (lead == 0xF4) high = 0x8F;
    } else {
      more = -1;  // not a lead byte
    }
    for (; more > 0; --more) {
      const int c = peek(i, after);
      if (c < low || c > high) break;  // not taken: it begins what comes next
      i = after;
      reading.High(static_cast<unsigned char>(c));
      cp = (cp << 6) | static_cast<char32_t>(c & 0x3F);
      low = 0x80;
      high = 0xBF;
    }
    if (more != 0) {
      ++substitutions;
      cp = 0xFFFD;
    }
    units += cp >= 0x10000 ? 2 : 1;
    codes.Append(cp, out);
  }
  return substitutions == 0 || units <= reading.Room();
}

}  // namespace

Text UrlEncode(const Text& text, bool keepUnreserved, bool asUtf8) {
  if (text.empty()) return {};
  static constexpr char kHex[] = "0123456789ABCDEF";
  const Text source = asUtf8 ? AnsiToUtf8(text) : text;
  Text out;
  out.reserve(source.size() * 3);
  for (const char ch : source) {
    const auto b = static_cast<unsigned char>(ch);
    if (keepUnreserved && IsKept(b)) {
      out.push_back(ch);
    } else {
      out.push_back('%');
      out.push_back(kHex[b >> 4]);
      out.push_back(kHex[b & 0xF]);
    }
  }
  return out;
}

Text UrlDecode(const Text& text, bool fromUtf8) {
  if (fromUtf8) {
    Text out;
    if (DecodeUtf8ToGbk(text, out)) return out;
    out = Text();  // released before the two-step road
    return Utf8ToAnsi(UrlDecode(text, false));
  }
  const std::size_t n = text.size();
  const char* data = text.data();
  Text out;
  out.resize(n);  // decoding never lengthens the text
  char* dst = out.data();
  std::size_t i = 0;
  while (i < n) {
    // Copy the run up to the next "%" in one go.
    const void* hit = std::memchr(data + i, '%', n - i);
    const std::size_t stop = hit == nullptr ? n : static_cast<std::size_t>(static_cast<const char*>(hit) - data);
    std::memcpy(dst, data + i, stop - i);
    dst += stop - i;
    i = stop;
    if (i >= n) break;
    const int high = i + 1 < n ? kDigitValue[static_cast<unsigned char>(data[i + 1])] : 0;
    const int low = i + 2 < n ? kDigitValue[static_cast<unsigned char>(data[i + 2])] : 0;
    const auto value = static_cast<unsigned char>((16 * high + low) & 0xFF);
    if (value != 0) *dst++ = static_cast<char>(value);
    i += 3;
  }
  out.resize(static_cast<std::size_t>(dst - out.data()));
  return out;
}

}  // namespace brenvik
