#include "text/url.h"

#include <array>
#include <cstring>

#include "text/codepage.h"

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
  if (fromUtf8) return Utf8ToAnsi(out);
  return out;
}

}  // namespace brenvik
