#include "regex/regex_object.h"

#include <algorithm>
#include <cstdint>
#include <limits>
#include <string_view>
#include <vector>

#include "regex/match_loop.h"
#include "regex/pattern_cache.h"
#include "regex/pcre2_16.h"
#include "regex/regex_object_internal.h"
#include "regex/replacement_syntax.h"
#include "text/codepage.h"
#include "text/codepage_detail.h"
#include "text/marker_word.h"

namespace brenvik {

namespace {

using detail::Compiled;
using detail::JitAvailable;
using detail::MatchContext;
using detail::ReplacementForPcre;
using detail::RunMatches;
using detail::ThreadBudget;

constexpr std::uint32_t kUnset = detail::kNoSpan;

// --- conversions between the GBK texts and the engine's UTF-16 --------------------------

Bytes UnitsToBytes(std::u16string_view units) {
  Bytes b(units.size() * 2);
  for (std::size_t i = 0; i < units.size(); ++i) {
    b[2 * i] = static_cast<std::uint8_t>(units[i] & 0xFF);
    b[2 * i + 1] = static_cast<std::uint8_t>(units[i] >> 8);
  }
  return b;
}

// The UTF-16 code units of a GBK text (GbkToUtf16).
std::u16string ToUnits(const Text& text) { return detail::GbkToU16(text); }

// A match value or a replaced text back to GBK, composed first (Utf16ToGbk).
Text ComposedGbk(std::u16string_view units) { return detail::U16ToGbk(units); }

// Units that composition leaves alone whatever stands around them: Latin below the combining
// marks, the unified ideographs and the full-width forms, which is nearly every cell.
bool CompositionCannotChange(std::u16string_view units) {
  return std::all_of(units.begin(), units.end(), [](char16_t u) {
    return u < 0x0300 || (u >= 0x4E00 && u <= 0x9FFF) || (u >= 0xFF00 && u <= 0xFFEF);
  });
}

// The pattern and the sub-match values go through the system code page without the
// composite check, ending at the first zero unit (Utf16ToMultiByte).
Text PlainGbk(std::u16string_view units) {
  if (units.empty()) return {};
  // ASCII is the same byte in GBK; most cell values are numbers and markup.
  if (std::all_of(units.begin(), units.end(), [](char16_t u) { return u != 0 && u < 0x80; })) {
    return Text(units.begin(), units.end());
  }
  if (CompositionCannotChange(units)) return detail::U16ToGbk(units);  // the same bytes, one conversion
  return Utf16ToMultiByte(UnitsToBytes(units), kCodePageGbk);
}

}  // namespace

struct RegexObject::Engine {
  std::u16string pattern;                    // as set, after the marker word was expanded
  bool global = true;
  std::shared_ptr<const Compiled> compiled;  // empty when the engine rejected the pattern
  bool gaveUp = false;                       // the last search failed (budget, engine error)
};

struct RegexObject::Matches {
  std::uint32_t groups = 0;             // capturing groups of the pattern
  std::vector<std::uint32_t> offsets;   // per match: start, end of the match, then of each group

  [[nodiscard]] int Count() const { return static_cast<int>(offsets.size() / Stride()); }
  [[nodiscard]] std::size_t Stride() const { return 2 * (std::size_t{groups} + 1); }
  // Start and end of pair `pair` (0: the match) of the 0-based match `m`.
  [[nodiscard]] std::pair<std::uint32_t, std::uint32_t> Span(int m, std::uint32_t pair) const {
    const std::size_t at = static_cast<std::size_t>(m) * Stride() + 2 * pair;
    return {offsets[at], offsets[at + 1]};
  }
};

namespace {

// The engine's options for a search; '$' without multiline is the end of the text only, as
// in the classic dialect.
std::uint32_t CompileOptions(bool caseSensitive, bool multiline) {
  std::uint32_t options = PCRE2_UTF | (multiline ? PCRE2_MULTILINE : PCRE2_DOLLAR_ENDONLY) | PCRE2_USE_OFFSET_LIMIT;
  if (!caseSensitive) options |= PCRE2_CASELESS;
  return options;
}

std::shared_ptr<const Compiled> CompiledFor(const std::u16string& pattern, bool caseSensitive, bool multiline) {
  const detail::RegexBudget budget = ThreadBudget();
  return detail::CachedPattern(pattern, CompileOptions(caseSensitive, multiline), budget.useJit && JitAvailable());
}

}  // namespace

namespace detail {

std::optional<std::vector<UnitSpan>> GroupSpans(std::u16string_view pattern, std::u16string_view subject,
                                                std::uint32_t group, const UnitSearchOptions& options) {
  const auto compiled = CompiledFor(std::u16string(pattern), options.caseSensitive, options.multiline);
  if (!compiled) return std::nullopt;
  std::vector<std::uint32_t> offsets;
  if (!RunMatches(*compiled, subject, options.global, offsets, options.maxMatches)) return std::nullopt;
  std::vector<UnitSpan> spans;
  if (group > compiled->captureCount) return spans;
  const std::size_t stride = 2 * (std::size_t{compiled->captureCount} + 1);
  spans.reserve(offsets.size() / stride);
  for (std::size_t at = 2 * std::size_t{group}; at < offsets.size(); at += stride) {
    spans.emplace_back(offsets[at], offsets[at + 1]);
  }
  return spans;
}

Text SubMatchGbk(std::u16string_view units) { return PlainGbk(units); }

}  // namespace detail

RegexObject::RegexObject() = default;
RegexObject::~RegexObject() = default;
RegexObject::RegexObject(const RegexObject& other) = default;
RegexObject& RegexObject::operator=(const RegexObject& other) = default;

bool RegexObject::Search(const Text& pattern, const Text& text, bool caseSensitive, bool multiline, bool global,
                         bool quoteWord) {
  engine_.reset();
  matches_.reset();
  subjectGbk_.reset();

  auto engine = std::make_shared<Engine>();
  engine->global = global;
  engine->pattern = ToUnits(quoteWord ? ReplaceText(pattern, Text(kQuoteWord), "\"") : pattern);
  subject_ = ToUnits(text);

  engine->compiled = CompiledFor(engine->pattern, caseSensitive, multiline);
  engine_ = engine;
  if (!engine->compiled) return false;

  auto matches = std::make_shared<Matches>();
  matches->groups = engine->compiled->captureCount;
  if (!RunMatches(*engine->compiled, subject_, global, matches->offsets)) {
    engine->gaveUp = true;
    return false;
  }
  matches_ = std::move(matches);
  return true;
}

Text RegexObject::PatternText() const { return engine_ ? PlainGbk(engine_->pattern) : Text(); }

Text RegexObject::ReplaceMatches(const Text& replacement) const {
  // A pattern the engine rejected, or a search that ran out of budget, fails here as well:
  // the replacement would repeat the same work.
  if (!engine_ || !engine_->compiled || engine_->gaveUp) return {};
  const Compiled& compiled = *engine_->compiled;
  const std::u16string repl = ReplacementForPcre(ToUnits(replacement), compiled.captureCount);
  MatchContext mc(ThreadBudget(), compiled);
  if (mc.ctx == nullptr) return {};

  std::uint32_t options = PCRE2_SUBSTITUTE_OVERFLOW_LENGTH | PCRE2_SUBSTITUTE_UNSET_EMPTY | PCRE2_NO_UTF_CHECK;
  if (engine_->global) options |= PCRE2_SUBSTITUTE_GLOBAL;
  std::u16string out(subject_.size() + repl.size() + 64, u'\0');
  for (int attempt = 0; attempt < 2; ++attempt) {
    PCRE2_SIZE outLength = out.size();
    const int rc = pcre2_substitute(compiled.code, reinterpret_cast<PCRE2_SPTR>(subject_.data()), subject_.size(),
                                    0, options, nullptr, mc.ctx, reinterpret_cast<PCRE2_SPTR>(repl.data()),
                                    repl.size(), reinterpret_cast<PCRE2_UCHAR*>(out.data()), &outLength);
    if (rc >= 0) {
      out.resize(outLength);
      return ComposedGbk(out);
    }
    if (rc != PCRE2_ERROR_NOMEMORY) return {};
    out.assign(outLength, u'\0');  // the length PCRE2 asked for, terminator included
  }
  return {};
}

int RegexObject::MatchCount() const { return matches_ ? matches_->Count() : 0; }

const Text& RegexObject::SubjectGbk() const {
  if (!subjectGbk_) subjectGbk_ = std::make_shared<const Text>(ComposedGbk(subject_));
  return *subjectGbk_;
}

// The 0-based GBK byte offset of `value`, searched from the match's UTF-16 offset taken as a
// 1-based byte position; -2 when it is not found there.
int RegexObject::BytePosition(const Text& value, int matchIndex) const {
  int from = 1;
  if (matches_ && matchIndex >= 1 && matchIndex <= matches_->Count()) {
    from = static_cast<int>(std::min<std::uint32_t>(matches_->Span(matchIndex - 1, 0).first,
                                                     std::numeric_limits<int>::max()));
  }
  const int found = FindText(SubjectGbk(), value, from, false);
  return found < 0 ? -2 : found - 1;
}

Text RegexObject::MatchText(int index, int* bytePosition) const {
  Text value;
  if (matches_ && index >= 1 && index <= matches_->Count()) {
    const auto [b, e] = matches_->Span(index - 1, 0);
    value = ComposedGbk(std::u16string_view(subject_).substr(b, e - b));
  }
  if (bytePosition != nullptr) *bytePosition = BytePosition(value, index);
  return value;
}

Text RegexObject::SubMatchText(int matchIndex, int subIndex, int* bytePosition) const {
  Text value;
  const bool inRange = matches_ && matchIndex >= 1 && matchIndex <= matches_->Count() && subIndex >= 1 &&
                       static_cast<std::uint32_t>(subIndex) <= matches_->groups;
  if (inRange) {
    const auto [b, e] = matches_->Span(matchIndex - 1, static_cast<std::uint32_t>(subIndex));
    if (b != kUnset) value = PlainGbk(std::u16string_view(subject_).substr(b, e - b));
  }
  if (bytePosition != nullptr) *bytePosition = BytePosition(value, inRange ? matchIndex : 0);
  return value;
}

int RegexObject::SubMatchCount() const {
  return matches_ && matches_->Count() > 0 ? static_cast<int>(matches_->groups) : 0;
}

}  // namespace brenvik
