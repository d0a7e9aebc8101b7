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

// How many bytes from `p` on are ASCII other than the zero byte.
std::size_t AsciiRun(const unsigned char* p, std::size_t n) {
  std::size_t k = 0;
#if defined(__SSE2__)
  const __m128i zero = _mm_setzero_si128();
  for (; k + 16 <= n; k += 16) {
    const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + k));
    const int stop = _mm_movemask_epi8(v) | _mm_movemask_epi8(_mm_cmpeq_epi8(v, zero));
    if (stop != 0) return k + static_cast<std::size_t>(__builtin_ctz(static_cast<unsigned>(stop)));
  }
#endif
  while (k < n && p[k] != 0 && p[k] < 0x80) ++k;
  return k;
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
// the text, a chunk at a time: the escapes are decoded into a small buffer, which is read as
// UTF-8 into GBK. The decoded text ends at its first zero byte, as a Text does. Ill-formed
// UTF-8 is read as the conversion reads it: each maximal ill-formed part (a lead byte and
// the continuation bytes that still fit it, or a lone byte) is one U+FFFD. False in the one
// case the conversion would cut its result: ill-formed input that needs more UTF-16 units
// than its GBK reading has characters, and so overflows the buffer sized by that reading.
class Utf8PageDecoder {
 public:
  explicit Utf8PageDecoder(Text& out) : out_(out), codes_(detail::GbkCodes::ForThread()) {}

  bool Decode(std::string_view text) {
    out_.clear();
    out_.reserve(text.size());  // a code point never takes more GBK bytes than UTF-8 bytes
    const auto* p = reinterpret_cast<const unsigned char*>(text.data());
    const std::size_t n = text.size();
    std::size_t i = 0;
    std::size_t carried = 0;
    bool ended = false;
    while (!ended) {
      // Escapes decoded after the bytes carried over from the last chunk.
      std::size_t len = carried;
      while (i < n && len < kChunk) {
        const std::size_t want = std::min(n - i, kChunk - len);
        const void* percent = std::memchr(p + i, '%', want);
        const std::size_t run = percent == nullptr ? want : static_cast<std::size_t>(static_cast<const unsigned char*>(percent) - (p + i));
        const void* zero = std::memchr(p + i, 0, run);
        if (zero != nullptr) {
          const std::size_t upTo = static_cast<std::size_t>(static_cast<const unsigned char*>(zero) - (p + i));
          std::memcpy(in_ + len, p + i, upTo);
          len += upTo;
          i = n;  // the text ends at the zero byte
          break;
        }
        std::memcpy(in_ + len, p + i, run);
        len += run;
        i += run;
        if (percent == nullptr) continue;
        const unsigned char value = EscapeValue(p, i, n);
        i += 3;
        if (value != 0) in_[len++] = value;
      }
      ended = i >= n;
      carried = Read(len, ended);
      std::memmove(in_, in_ + len - carried, carried);
    }
    Flush();
    return substitutions_ == 0 || units_ <= reading_.Room();
  }

 private:
  static constexpr std::size_t kChunk = 16 * 1024;

  // Reads the decoded bytes in_[0, len) into GBK; returns how many bytes at the end begin a
  // sequence that the next chunk completes (none when this is the last).
  std::size_t Read(std::size_t len, bool last) {
    std::size_t k = 0;
    while (k < len) {
      const std::size_t run = AsciiRun(in_ + k, len - k);
      if (run > 0) {
        std::memcpy(gbk_ + used_, in_ + k, run);
        used_ += run;
        reading_.Ascii(in_[k], run);
        units_ += run;
        k += run;
        if (k == len) break;
      }
      if (!last && len - k < 4) break;  // the sequence may go on in the next chunk
      const unsigned char lead = in_[k];
      // The well-formed sequences: the first continuation byte's range depends on the lead
      // (no overlong forms, no surrogates, nothing above U+10FFFF).
      int more = -1;  // not a lead byte
      char32_t cp = 0;
      unsigned char low = 0x80;
      unsigned char high = 0xBF;
      if (lead >= 0xC2 && lead <= 0xDF) {
        more = 1;
        cp = lead & 0x1F;
      } else if (lead >= 0xE0 && lead <= 0xEF) {
        more = 2;
        cp = lead & 0x0F;
        if (lead == 0xE0) low = 0xA0;
        if (lead == 0xED) high = 0x9F;
      } else if (lead >= 0xF0 && lead <= 0xF4) {
        more = 3;
        cp = lead & 0x07;
        if (lead == 0xF0) low = 0x90;
        if (lead == 0xF4) high = 0x8F;
      }
      reading_.High(lead);
      ++k;
      for (; more > 0 && k < len; --more) {
        const unsigned char c = in_[k];
        if (c < low || c > high) break;  // not taken: it begins what comes next
        reading_.High(c);
        cp = (cp << 6) | (c & 0x3F);
        low = 0x80;
        high = 0xBF;
        ++k;
      }
      if (more != 0) {
        ++substitutions_;
        cp = 0xFFFD;
      }
      units_ += cp >= 0x10000 ? 2 : 1;
      Put(cp);
    }
    Flush();
    return len - k;
  }

  void Put(char32_t cp) {
    const std::uint16_t code = codes_.Code(cp);
    if (code < 0x100) {
      gbk_[used_++] = static_cast<char>(code);
    } else if (code < detail::GbkCodes::kNotKept) {
      gbk_[used_++] = static_cast<char>(code >> 8);
      gbk_[used_++] = static_cast<char>(code & 0xFF);
    } else if (code == detail::GbkCodes::kNotKept) {
      Flush();
      out_ += codes_.Converted(cp);
    }
  }

  void Flush() {
    out_.append(gbk_, used_);
    used_ = 0;
  }

  Text& out_;
  detail::GbkCodes& codes_;
  GbkReading reading_;
  std::size_t units_ = 0;          // UTF-16 units of the UTF-8 reading
  std::size_t substitutions_ = 0;  // ill-formed parts
  unsigned char in_[kChunk + 4];   // a chunk of decoded bytes and at most three carried over
  char gbk_[2 * (kChunk + 4)];     // its GBK: at most two bytes for each byte read
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

Text UrlDecode(const Text& text, bool fromUtf8) {
  if (fromUtf8) {
    Text out;
    if (Utf8PageDecoder(out).Decode(text)) return out;
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
