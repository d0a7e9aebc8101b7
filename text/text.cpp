#include "text/text.h"

#include <cassert>
#include <cstring>

namespace brenvik {
namespace {

inline unsigned char Byte(const Text& t, std::size_t i) { return static_cast<unsigned char>(t[i]); }

inline unsigned char FoldAscii(unsigned char c) { return (c >= 'a' && c <= 'z') ? static_cast<unsigned char>(c - 32) : c; }

// Whether the bytes of `sub` stand at `pos` of `t` (the caller checked there is room).
inline bool MatchesAt(const Text& t, std::size_t pos, const Text& sub, bool foldCase) {
  if (!foldCase) return std::memcmp(t.data() + pos, sub.data(), sub.size()) == 0;
  for (std::size_t k = 0; k < sub.size(); ++k) {
    if (FoldAscii(Byte(t, pos + k)) != FoldAscii(static_cast<unsigned char>(sub[k]))) return false;
  }
  return true;
}

// Moves `pos` past the character starting there: two bytes for a lead byte of 0x80 or above,
// one otherwise. False for a lone lead byte at the very end, which ends a walk.
inline bool NextCharacter(const Text& t, std::size_t& pos) {
  if (Byte(t, pos) < 0x80) {
    pos += 1;
    return true;
  }
  if (pos + 1 >= t.size()) return false;
  pos += 2;
  return true;
}

}  // namespace

int TextLength(const Text& t) { return static_cast<int>(t.size()); }

bool TextEquals(const Text& a, const Text& b) { return a == b; }

Text TextLeft(const Text& t, int n) {
  if (n <= 0) return {};
  return t.substr(0, static_cast<std::size_t>(n));
}

Text TextRight(const Text& t, int n) {
  if (n <= 0) return {};
  const auto count = static_cast<std::size_t>(n);
  if (count >= t.size()) return t;
  return t.substr(t.size() - count);
}

Text TextMid(const Text& t, int start, int n) {
  if (start < 1 || n <= 0 || static_cast<std::size_t>(start) > t.size()) return {};
  return t.substr(static_cast<std::size_t>(start - 1), static_cast<std::size_t>(n));
}

int FindText(const Text& t, const Text& sub, int start, bool ignoreCase) {
  std::size_t pos = start < 1 ? 0 : static_cast<std::size_t>(start - 1);
  if (pos >= t.size()) return -1;  // an empty range, whatever `sub` is
  if (sub.empty()) return 1;
  const std::size_t n = t.size();
  const std::size_t m = sub.size();
  if (!ignoreCase) {
    // Jump between candidates of the first byte with memchr, but only accept a candidate
    // that the character walk would reach: walk from `pos` up to it.
    const auto first = static_cast<unsigned char>(sub[0]);
    while (pos + m <= n) {
      const void* hit = std::memchr(t.data() + pos, first, n - m + 1 - pos);
      if (hit == nullptr) return -1;
      const std::size_t at = static_cast<std::size_t>(static_cast<const char*>(hit) - t.data());
      // Walk characters from pos to at.
      while (pos < at) {
        if (!NextCharacter(t, pos)) return -1;
      }
      if (pos == at) {
        if (std::memcmp(t.data() + pos, sub.data(), m) == 0) return static_cast<int>(pos + 1);
        if (!NextCharacter(t, pos)) return -1;
      }
      // pos > at: the hit was the second byte of a character; go on from pos.
    }
    return -1;
  }
  while (pos + m <= n) {
    if (MatchesAt(t, pos, sub, true)) return static_cast<int>(pos + 1);
    if (!NextCharacter(t, pos)) return -1;
  }
  return -1;
}

Text ReplaceText(const Text& t, const Text& find, const Text& replacement, int start, int count,
                 bool caseSensitive) {
  const std::size_t from = start < 1 ? 0 : static_cast<std::size_t>(start - 1);
  if (t.empty() || find.empty() || from >= t.size() || count == 0) return t;
  const std::size_t n = t.size();
  const std::size_t m = find.size();
  Text out;
  out.reserve(n);
  out.append(t, 0, from);
  std::size_t pos = from;
  int done = 0;
  while (pos < n && n - pos >= m) {
    if (MatchesAt(t, pos, find, !caseSensitive)) {
      out.append(replacement);
      pos += m;
      ++done;
      if (count > 0 && done == count) break;
      continue;
    }
    if (Byte(t, pos) >= 0x80) {
      if (pos + 1 >= n) return out;  // a lone lead byte at the end is not copied
      out.append(t, pos, 2);
      pos += 2;
    } else {
      out.push_back(t[pos]);
      pos += 1;
    }
  }
  out.append(t, pos, Text::npos);
  return out;
}

Text TrimBoth(const Text& t) {
  const std::size_t n = t.size();
  std::size_t begin = 0;
  while (begin < n) {
    if (Byte(t, begin) == 0x20) {
      begin += 1;
    } else if (Byte(t, begin) == 0xA1 && begin + 1 < n && Byte(t, begin + 1) == 0xA1) {
      begin += 2;
    } else {
      break;
    }
  }
  // Walk the rest by characters, remembering where the latest run of spaces began.
  std::size_t runStart = Text::npos;
  std::size_t end = n;
  std::size_t pos = begin;
  while (pos < n) {
    const unsigned char c = Byte(t, pos);
    if (c == 0x20) {
      if (runStart == Text::npos) runStart = pos;
      pos += 1;
    } else if (c >= 0x80) {
      if (pos + 1 >= n) {  // a final lead byte without its second byte goes as well
        end = runStart == Text::npos ? pos : runStart;
        return t.substr(begin, end - begin);
      }
      if (c == 0xA1 && Byte(t, pos + 1) == 0xA1) {
        if (runStart == Text::npos) runStart = pos;
      } else {
        runStart = Text::npos;
      }
      pos += 2;
    } else {
      runStart = Text::npos;
      pos += 1;
    }
  }
  if (runStart != Text::npos) end = runStart;
  return t.substr(begin, end - begin);
}

Text ToUpper(const Text& t) {
  Text out = t;
  const std::size_t n = out.size();
  for (std::size_t i = 0; i < n;) {
    const auto c = static_cast<unsigned char>(out[i]);
    if (c >= 0x80) {
      i += 2;
    } else {
      if (c >= 'a' && c <= 'z') out[i] = static_cast<char>(c - 32);
      i += 1;
    }
  }
  return out;
}

Text ToHexText(std::int32_t v) {
  static constexpr char kDigits[] = "0123456789ABCDEF";
  auto u = static_cast<std::uint32_t>(v);
  if (u == 0) return "0";
  char buffer[8];
  int len = 0;
  while (u != 0) {
    buffer[len++] = kDigits[u & 0xF];
    u >>= 4;
  }
  Text out;
  out.reserve(static_cast<std::size_t>(len));
  while (len > 0) out.push_back(buffer[--len]);
  return out;
}

Text CharFromCode(int c) {
  const auto b = static_cast<unsigned char>(c & 0xFF);
  if (b == 0) return {};
  return Text(1, static_cast<char>(b));
}

Text BlankText(int n) {
  if (n < 1) return {};
  return Text(static_cast<std::size_t>(n), ' ');
}

Bytes TextToBytes(const Text& t) { return Bytes(t.begin(), t.end()); }

Text BytesToText(const Bytes& b) {
  const void* zero = b.empty() ? nullptr : std::memchr(b.data(), 0, b.size());
  const std::size_t len =
      zero == nullptr ? b.size() : static_cast<std::size_t>(static_cast<const std::uint8_t*>(zero) - b.data());
  return Text(reinterpret_cast<const char*>(b.data()), len);
}

int BytesLength(const Bytes& b) { return static_cast<int>(b.size()); }

Bytes BytesLeft(const Bytes& b, int n) {
  if (n <= 0) return {};
  const auto count = std::min(b.size(), static_cast<std::size_t>(n));
  return Bytes(b.begin(), b.begin() + static_cast<std::ptrdiff_t>(count));
}

Bytes BlankBytes(int n) {
  if (n <= 0) return {};
  return Bytes(static_cast<std::size_t>(n), 0);
}

bool BytesEquals(const Bytes& a, const Bytes& b) { return a == b; }

void ArrayClear(TextArray& a) { a.clear(); }

void ArrayAppend(TextArray& a, const Text& t) { a.push_back(t); }

int ArrayCount(const TextArray& a) { return static_cast<int>(a.size()); }

const Text& ArrayAt(const TextArray& a, int i) {
  assert(i >= 1 && static_cast<std::size_t>(i) <= a.size());
  return a[static_cast<std::size_t>(i - 1)];
}

}  // namespace brenvik
