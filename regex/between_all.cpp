// All texts between two markers, found with the regex object's engine or, for markers that
// are plain literals, in the GBK bytes directly; and the escaping of a marker for the
// pattern it goes into.
#include "regex/between_all.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <optional>
#include <string_view>
#include <vector>

#include "regex/between_all_detail.h"
#include "regex/regex_object_internal.h"
#include "text/codepage_detail.h"
#include "text/marker_word.h"
#include "text/replace_many.h"

namespace brenvik {

namespace {

const Text& QuoteWord() {
  static const Text word(kQuoteWord);
  return word;
}

Text PatternOf(const Text& startMarker, const Text& endMarker) {
  return ConcatText(EscapeRegexLiteral(startMarker), "([\\s\\S]*?)", EscapeRegexLiteral(endMarker));
}

// --- literal markers ----------------------------------------------------------------------
//
// The engine searches the text's UTF-16 form, read from GBK the way the code-page conversion
// reads it: a lead byte 81-FE and the byte after it are one character when that byte is a
// trail byte (40-7E, 80-FE), and every other byte is a character of its own. Two facts of
// that reading make a byte search give the engine's matches for a literal of ASCII and
// Chinese ideographs: each such character comes from exactly one byte sequence, and no
// character of the reading other than an ASCII letter's two cases matches that letter when
// case is ignored. (The regex tests check both over every GBK character.) A match in the
// bytes is then one of the engine's exactly when it begins on a character boundary.

bool IsLeadByte(unsigned char b) { return b >= 0x81 && b <= 0xFE; }
bool IsAsciiLetter(unsigned char b) { return (b >= 'A' && b <= 'Z') || (b >= 'a' && b <= 'z'); }

struct Literal {
  Text bytes;                         // what the marker matches, in GBK
  std::vector<unsigned char> letter;  // per byte: 1 for an ASCII letter, matched in either case
  std::size_t anchorAt = 0;           // the longest run of bytes matched exactly, searched for first
  std::size_t anchorLength = 0;
};

// The literal a marker stands for in the pattern, when it is one: ASCII other than the
// pattern characters the escaping leaves alone, and the ideographs U+4E00-U+9FA5, with
// "#引号" made a double quote and CR LF a line feed, as EscapeRegexLiteral writes them.
std::optional<Literal> LiteralOf(const Text& marker) {
  if (marker.empty()) return std::nullopt;
  for (const char16_t u : detail::GbkToU16(marker)) {
    const bool plain = u >= 0x01 && u < 0x80 && std::u16string_view(u".^$|\\").find(u) == std::u16string_view::npos;
    if (!plain && !(u >= 0x4E00 && u <= 0x9FA5)) return std::nullopt;
  }
  Literal literal;
  literal.bytes = ReplaceText(ReplaceText(marker, QuoteWord(), "\""), "\r\n", "\n");
  const std::size_t n = literal.bytes.size();
  literal.letter.assign(n, 0);
  for (std::size_t i = 0; i < n;) {
    const auto b = static_cast<unsigned char>(literal.bytes[i]);
    if (IsLeadByte(b)) {
      i += 2;  // an ideograph: its trail byte may look like a letter but is matched exactly
      continue;
    }
    literal.letter[i++] = IsAsciiLetter(b) ? 1 : 0;
  }
  for (std::size_t i = 0; i < n;) {
    if (literal.letter[i] != 0) {
      ++i;
      continue;
    }
    std::size_t j = i;
    while (j < n && literal.letter[j] == 0) ++j;
    if (j - i > literal.anchorLength) {
      literal.anchorAt = i;
      literal.anchorLength = j - i;
    }
    i = j;
  }
  return literal;
}

constexpr std::size_t kFirstWindow = 256;
constexpr std::size_t kLastWindow = 64 * 1024;

bool MatchesAt(std::string_view text, std::size_t at, const Literal& literal) {
  for (std::size_t k = 0; k < literal.bytes.size(); ++k) {
    const auto t = static_cast<unsigned char>(text[at + k]);
    const auto m = static_cast<unsigned char>(literal.bytes[k]);
    if (literal.letter[k] != 0 ? (t | 0x20) != (m | 0x20) : t != m) return false;
  }
  return true;
}

// The first place at or after `from` where the literal's bytes stand, whether or not it is
// a character boundary; npos when there is none.
std::size_t FindBytes(std::string_view text, const Literal& literal, std::size_t from) {
  const std::size_t m = literal.bytes.size();
  if (text.size() < m || from > text.size() - m) return std::string_view::npos;
  const std::size_t last = text.size() - m;
  if (literal.anchorLength == 0) {  // letters only
    for (std::size_t at = from; at <= last; ++at) {
      if (MatchesAt(text, at, literal)) return at;
    }
    return std::string_view::npos;
  }
  // Each memmem call looks at a window of the text: small after a hit, doubled while there
  // is none, so that every call reads about as far as the next hit (memory checkers look at
  // the whole range handed to memmem).
  const char* const begin = text.data();
  const char* const anchor = literal.bytes.data() + literal.anchorAt;
  const std::size_t end = last + literal.anchorAt + literal.anchorLength;  // past the last anchor byte
  const std::size_t length = literal.anchorLength;
  std::size_t window = kFirstWindow;
  for (std::size_t pos = from + literal.anchorAt; end - pos >= length;) {
    const std::size_t span = std::min(end - pos, std::max(window, 2 * length));
    const void* hit = memmem(begin + pos, span, anchor, length);
    if (hit == nullptr) {
      if (span == end - pos) break;
      pos += span - (length - 1);  // an anchor may begin in the window's last bytes
      window = std::min(window * 2, kLastWindow);
      continue;
    }
    const std::size_t at = static_cast<std::size_t>(static_cast<const char*>(hit) - begin) - literal.anchorAt;
    if (MatchesAt(text, at, literal)) return at;
    pos = at + literal.anchorAt + 1;
    window = kFirstWindow;
  }
  return std::string_view::npos;
}

// Character boundaries of the GBK reading, asked for at positions that never go back. A
// byte that cannot be a trail byte always begins a character. Otherwise: a byte outside
// 81-FE always ends a character, and a run of bytes in 81-FE after a boundary pairs up; so
// the position is a boundary when the run of such bytes before it, back to the last
// boundary known, is even. Each byte is looked at about once over a whole search.
class Boundaries {
 public:
  explicit Boundaries(std::string_view text) : text_(text) {}

  bool IsBoundary(std::size_t at) {
    const auto b = static_cast<unsigned char>(text_[at]);
    if (b < 0x40 || b == 0x7F || b == 0xFF) {
      known_ = at;
      return true;
    }
    std::size_t k = at;
    while (k > known_ && IsLeadByte(static_cast<unsigned char>(text_[k - 1]))) --k;
    const bool boundary = (at - k) % 2 == 0;
    known_ = boundary ? at : at + 1;  // inside a pair, the next byte begins a character
    return boundary;
  }
  void Known(std::size_t at) { known_ = at; }

 private:
  std::string_view text_;
  std::size_t known_ = 0;
};

std::size_t FindLiteral(std::string_view text, const Literal& literal, std::size_t from, Boundaries& boundaries) {
  for (;;) {
    const std::size_t at = FindBytes(text, literal, from);
    if (at == std::string_view::npos || boundaries.IsBoundary(at)) return at;
    from = at + 1;
  }
}

// A value's GBK bytes as the engine's path gives them: its UTF-16 form back in GBK. ASCII
// comes back as itself.
Text ValueOf(std::string_view bytes) {
  const bool ascii = std::all_of(bytes.begin(), bytes.end(), [](char c) { return c > 0; });
  if (ascii) return Text(bytes);
  return detail::SubMatchGbk(detail::GbkToU16(bytes));
}

// Every value between the literals, as the engine would find them; false when the engine
// might fail where the byte search does not. The engine's work limit for one start position
// is about one step per code unit its lazy run spans, and a code unit is never more than a
// byte, so a match shorter than half the limit in bytes is one the engine finds too; a
// longer one, or a start marker with no end marker after it and a long rest of the text, is
// left to the engine.
bool CollectLiterals(std::string_view text, const Literal& start, const Literal& end, std::size_t maxCount,
                     TextArray& results) {
  const std::size_t longest = detail::CurrentRegexBudget().matchLimit / 2;
  Boundaries boundaries(text);
  std::size_t pos = 0;
  while (maxCount == 0 || results.size() < maxCount) {
    const std::size_t open = FindLiteral(text, start, pos, boundaries);
    if (open == std::string_view::npos) return true;
    const std::size_t inside = open + start.bytes.size();
    boundaries.Known(inside);
    const std::size_t close = FindLiteral(text, end, inside, boundaries);
    if (close == std::string_view::npos) return text.size() - open < longest;
    const std::size_t after = close + end.bytes.size();
    if (after - open >= longest) return false;
    results.push_back(ValueOf(text.substr(inside, close - inside)));
    pos = after;
    boundaries.Known(after);
  }
  return true;
}

}  // namespace

namespace detail {

int BetweenAllText::Collect(const Text& startMarker, const Text& endMarker, TextArray& results,
                            const BetweenAllOptions& options) {
  ArrayClear(results);
  if (options.literalSearch) {
    const std::optional<Literal> start = LiteralOf(startMarker);
    const std::optional<Literal> end = start ? LiteralOf(endMarker) : std::nullopt;
    if (start && end) {
      if (CollectLiterals(text_, *start, *end, options.maxCount, results)) return ArrayCount(results);
      ArrayClear(results);
    }
  }
  CollectWithEngine(startMarker, endMarker, results, options.maxCount);
  return ArrayCount(results);
}

bool BetweenAllText::CollectWithEngine(const Text& startMarker, const Text& endMarker, TextArray& results,
                                       std::size_t maxCount) {
  if (!units_) units_ = GbkToU16(text_);
  const std::u16string_view units = *units_;
  const auto spans = GroupSpans(GbkToU16(PatternOf(startMarker, endMarker)), units, 1, {.maxMatches = maxCount});
  if (!spans) return false;
  results.reserve(spans->size());
  for (const auto& [b, e] : *spans) {
    results.push_back(b == kNoSpan ? Text() : SubMatchGbk(units.substr(b, e - b)));
  }
  return true;
}

}  // namespace detail

Text EscapeRegexLiteral(const Text& marker) {
  // The quantifier and class characters first, then grouping, braces and the marker word.
  // No replacement brings in a character a later pair looks for.
  const std::array<ReplacePair, 5> pass1{{{"?", "\\?"}, {"*", "\\*"}, {"+", "\\+"}, {"[", "\\["}, {"]", "\\]"}}};
  const std::array<ReplacePair, 5> pass2{
      {{"(", "\\("}, {")", "\\)"}, {"{", "\\{"}, {"}", "\\}"}, {QuoteWord(), "\""}}};
  Text escaped = ReplaceMany(marker, pass1);
  escaped = ReplaceMany(escaped, pass2);
  // A marker's CR LF matches a line that ends with a bare line feed.
  return ReplaceText(escaped, "\r\n", "\\n");
}

int TextBetweenAll(const Text& text, const Text& startMarker, const Text& endMarker, TextArray& results,
                   int maxLength, const Text& prefix, const Text& suffix, bool withStartMarker,
                   bool withEndMarker) {
  TextArray values;
  detail::BetweenAllText(text).Collect(startMarker, endMarker, values);
  ArrayClear(results);
  results.reserve(values.size());
  const bool decorated = !prefix.empty() || !suffix.empty() || withStartMarker || withEndMarker;
  for (Text& v : values) {
    if (maxLength != 0 && TextLength(v) > maxLength) continue;
    if (decorated) {
      v = ConcatText(withStartMarker ? startMarker : Text(), prefix, v, suffix, withEndMarker ? endMarker : Text());
    }
    results.push_back(std::move(v));  // the array owns the value, as ArrayAppend's copy would
  }
  return ArrayCount(results);
}

}  // namespace brenvik
