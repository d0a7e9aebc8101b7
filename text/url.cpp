#include "text/url.h"

#include <algorithm>
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

// The characters of a byte string read as GBK, counted the way the code-page conversion
// counts them to size its buffer: a lead byte 81-FE takes a following trail byte (40-7E,
// 80-FE) into one character, every other byte is a character of its own.
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
// the text. Runs of plain ASCII are copied sixteen bytes at a time, a well-formed sequence
// of raw bytes is read at once, and anything else (escapes, ill-formed UTF-8) byte by
// decoded byte. The decoded text ends at its first zero byte, as a Text does. Ill-formed
// UTF-8 is read as the conversion reads it: each maximal ill-formed part (a lead byte and
// the continuation bytes that still fit it, or a lone byte) is one U+FFFD. False in the one
// case the conversion would cut its result: ill-formed input that needs more UTF-16 units
// than its GBK reading has characters, and so overflows the buffer sized by that reading.
class Utf8PageDecoder {
 public:
  explicit Utf8PageDecoder(Text& out) : out_(out), codes_(detail::GbkCodes::ForThread()) {}

  bool Decode(std::string_view text) {
    p_ = reinterpret_cast<const unsigned char*>(text.data());
    n_ = text.size();
    out_.clear();
    out_.reserve(n_);  // a code point never takes more GBK bytes than UTF-8 bytes
    while (i_ < n_) {
      CopyPlainAscii();
      if (i_ >= n_ || p_[i_] == 0) break;
      if (p_[i_] < 0x80 || !RawSequence()) DecodedSequence();
    }
    Flush();
    return substitutions_ == 0 || units_ <= reading_.Room();
  }

 private:
  static constexpr std::size_t kBuffer = 16 * 1024;

  static bool Plain(unsigned char b) { return b != 0 && b != '%' && b < 0x80; }

  // Bytes 01-7F but "%", as they are.
  void CopyPlainAscii() {
    const std::size_t start = i_;
#if defined(__SSE2__)
    const __m128i percent = _mm_set1_epi8('%');
    const __m128i zero = _mm_setzero_si128();
    while (i_ + 16 <= n_) {
      if (used_ + 16 > kBuffer) Flush();
      const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p_ + i_));
      _mm_storeu_si128(reinterpret_cast<__m128i*>(gbk_ + used_), v);
      const int stop = _mm_movemask_epi8(v) | _mm_movemask_epi8(_mm_cmpeq_epi8(v, percent)) |
                       _mm_movemask_epi8(_mm_cmpeq_epi8(v, zero));
      if (stop != 0) {
        const auto k = static_cast<std::size_t>(__builtin_ctz(static_cast<unsigned>(stop)));
        used_ += k;
        i_ += k;
        Counted(start);
        return;
      }
      used_ += 16;
      i_ += 16;
    }
#endif
    while (i_ < n_ && Plain(p_[i_])) {
      if (used_ == kBuffer) Flush();
      gbk_[used_++] = static_cast<char>(p_[i_++]);
    }
    Counted(start);
  }

  void Counted(std::size_t start) {
    if (i_ == start) return;
    reading_.Ascii(p_[start], i_ - start);
    units_ += i_ - start;
  }

  // A well-formed two- or three-byte sequence of raw bytes at i_, the common case of a
  // page's text; false (nothing read) for anything else.
  bool RawSequence() {
    const unsigned char lead = p_[i_];
    if (lead >= 0xE0 && lead <= 0xEF && i_ + 2 < n_) {
      const unsigned char c1 = p_[i_ + 1];
      const unsigned char c2 = p_[i_ + 2];
      const unsigned char low = lead == 0xE0 ? 0xA0 : 0x80;
      const unsigned char high = lead == 0xED ? 0x9F : 0xBF;
      if (c1 < low || c1 > high || c2 < 0x80 || c2 > 0xBF) return false;
      reading_.High(lead);
      reading_.High(c1);
      reading_.High(c2);
      i_ += 3;
      ++units_;
      Put(static_cast<char32_t>((lead & 0x0F) << 12 | (c1 & 0x3F) << 6 | (c2 & 0x3F)));
      return true;
    }
    if (lead >= 0xC2 && lead <= 0xDF && i_ + 1 < n_) {
      const unsigned char c1 = p_[i_ + 1];
      if (c1 < 0x80 || c1 > 0xBF) return false;
      reading_.High(lead);
      reading_.High(c1);
      i_ += 2;
      ++units_;
      Put(static_cast<char32_t>((lead & 0x1F) << 6 | (c1 & 0x3F)));
      return true;
    }
    return false;
  }

  // The decoded byte at `at` (escapes worth 0 append nothing), or -1 at the end of the
  // text; `after` is where the next one begins.
  int Peek(std::size_t at, std::size_t& after) const {
    while (at < n_) {
      const unsigned char c = p_[at];
      if (c == 0) break;
      if (c != '%') {
        after = at + 1;
        return c;
      }
      const unsigned char value = EscapeValue(p_, at, n_);
      at += 3;
      if (value != 0) {
        after = at;
        return value;
      }
    }
    after = n_;
    return -1;
  }

  // One character read byte by decoded byte: an escaped byte, a sequence with escapes in
  // it, one that is not well-formed.
  void DecodedSequence() {
    std::size_t after = 0;
    const int lead = Peek(i_, after);
    i_ = after;
    if (lead < 0) return;
    if (lead < 0x80) {
      Put(static_cast<char32_t>(lead));
      reading_.Ascii(static_cast<unsigned char>(lead), 1);
      ++units_;
      return;
    }
    // The well-formed sequences: the first continuation byte's range depends on the lead
    // (no overlong forms, no surrogates, nothing above U+10FFFF).
    int more = -1;  // not a lead byte
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
    }
    reading_.High(static_cast<unsigned char>(lead));
    for (; more > 0; --more) {
      const int c = Peek(i_, after);
      if (c < low || c > high) break;  // not taken: it begins what comes next
      i_ = after;
      reading_.High(static_cast<unsigned char>(c));
      cp = (cp << 6) | static_cast<char32_t>(c & 0x3F);
      low = 0x80;
      high = 0xBF;
    }
    if (more != 0) {
      ++substitutions_;
      cp = 0xFFFD;
    }
    units_ += cp >= 0x10000 ? 2 : 1;
    Put(cp);
  }

  // The common case inline: a kept code and room for it.
  [[gnu::always_inline]] void Put(char32_t cp) {
    const std::uint16_t code = cp < 0x80 ? static_cast<std::uint16_t>(cp) : codes_.Code(cp);
    if (used_ + 2 <= kBuffer && code < detail::GbkCodes::kNotKept) {
      gbk_[used_] = static_cast<char>(code >> 8);  // overwritten by the one byte of a short code
      gbk_[used_ + (code >= 0x100 ? 1 : 0)] = static_cast<char>(code & 0xFF);
      used_ += code >= 0x100 ? 2 : 1;
      return;
    }
    PutRest(cp, code);
  }

  [[gnu::noinline]] void PutRest(char32_t cp, std::uint16_t code) {
    Flush();
    if (code < 0x100) {
      gbk_[used_++] = static_cast<char>(code);
    } else if (code < detail::GbkCodes::kNotKept) {
      gbk_[used_++] = static_cast<char>(code >> 8);
      gbk_[used_++] = static_cast<char>(code & 0xFF);
    } else if (code == detail::GbkCodes::kNotKept) {
      out_ += codes_.Converted(cp);
    }
  }

  void Flush() {
    out_.append(gbk_, used_);
    used_ = 0;
  }

  Text& out_;
  detail::GbkCodes& codes_;
  const unsigned char* p_ = nullptr;
  std::size_t n_ = 0;
  std::size_t i_ = 0;
  GbkReading reading_;
  std::size_t units_ = 0;          // UTF-16 units of the UTF-8 reading
  std::size_t substitutions_ = 0;  // ill-formed parts
  char gbk_[kBuffer];              // GBK not yet appended to the result
  std::size_t used_ = 0;
};

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

namespace {

void DecodeFromUtf8(std::string_view text, Text& out) {
  if (Utf8PageDecoder(out).Decode(text)) return;
  out = Text();  // released before the two-step road
  out = Utf8ToAnsi(UrlDecode(Text(text), false));
}

}  // namespace

namespace detail {

void UrlDecodeBytesFromUtf8(const Bytes& bytes, Text& out) {
  const auto* data = reinterpret_cast<const char*>(bytes.data());
  const void* zero = bytes.empty() ? nullptr : std::memchr(data, 0, bytes.size());
  DecodeFromUtf8(
      std::string_view(data, zero == nullptr ? bytes.size() : static_cast<std::size_t>(static_cast<const char*>(zero) - data)),
      out);
}

}  // namespace detail

Text UrlDecode(const Text& text, bool fromUtf8) {
  if (fromUtf8) {
    Text out;
    DecodeFromUtf8(text, out);
    return out;
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
