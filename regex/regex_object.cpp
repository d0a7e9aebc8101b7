#include "regex/regex_object.h"

#define PCRE2_CODE_UNIT_WIDTH 16
#include <pcre2.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <limits>
#include <string_view>
#include <vector>

#include "regex/regex_object_internal.h"
#include "text/codepage.h"

#if __has_include("text/codepage_detail.h")
#include "text/codepage_detail.h"
#define BRENVIK_HAVE_CODEPAGE_DETAIL 1
#endif

namespace brenvik {

namespace {

using Clock = std::chrono::steady_clock;

// "#引号" in GBK: the marker word that stands for one double quote.
constexpr std::string_view kQuoteWord = "#\xD2\xFD\xBA\xC5";

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
std::u16string ToUnits(const Text& text) {
#ifdef BRENVIK_HAVE_CODEPAGE_DETAIL
  return detail::GbkToU16(text);
#else
  const Bytes b = GbkToUtf16(text);
  std::u16string units(b.size() / 2, u'\0');
  for (std::size_t i = 0; i < units.size(); ++i) {
    units[i] = static_cast<char16_t>(b[2 * i] | (b[2 * i + 1] << 8));
  }
  return units;
#endif
}

// A match value or a replaced text back to GBK, composed first (Utf16ToGbk).
Text ComposedGbk(std::u16string_view units) {
#ifdef BRENVIK_HAVE_CODEPAGE_DETAIL
  return detail::U16ToGbk(units);
#else
  return Utf16ToGbk(UnitsToBytes(units));
#endif
}

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
#ifdef BRENVIK_HAVE_CODEPAGE_DETAIL
  if (CompositionCannotChange(units)) return detail::U16ToGbk(units);  // the same bytes, one conversion
#endif
  return Utf16ToMultiByte(UnitsToBytes(units), kCodePageGbk);
}

// --- budget -----------------------------------------------------------------------------

detail::RegexBudget& ThreadBudget() {
  thread_local detail::RegexBudget budget;
  return budget;
}

bool JitAvailable() {
  static const bool available = [] {
    std::uint32_t jit = 0;
    return pcre2_config(PCRE2_CONFIG_JIT, &jit) >= 0 && jit == 1;
  }();
  return available;
}

// One JIT stack per thread, kept between searches.
pcre2_jit_stack* ThreadJitStack() {
  struct Holder {
    pcre2_jit_stack* stack = pcre2_jit_stack_create(32 * 1024, 8 * 1024 * 1024, nullptr);
    ~Holder() { pcre2_jit_stack_free(stack); }
  };
  thread_local Holder holder;
  return holder.stack;
}

// --- compiled patterns ------------------------------------------------------------------

struct Compiled {
  pcre2_code* code = nullptr;
  std::uint32_t captureCount = 0;
  bool startCallout = false;  // callout 1 runs at every start position the interpreter tries
  ~Compiled() { pcre2_code_free(code); }
};

// Where a callout can go in front of the pattern: after the leading "(*UTF)"-style settings,
// which must stay first.
std::size_t AfterLeadingSettings(std::u16string_view p) {
  std::size_t at = 0;
  while (p.substr(at, 2) == u"(*") {
    std::size_t i = at + 2;
    while (i < p.size() && ((p[i] >= u'A' && p[i] <= u'Z') || (p[i] >= u'0' && p[i] <= u'9') || p[i] == u'_' ||
                            p[i] == u'=')) {
      ++i;
    }
    if (i == at + 2 || i >= p.size() || p[i] != u')') break;
    at = i + 1;
  }
  return at;
}

pcre2_code* CompileText(std::u16string_view pattern, std::uint32_t options) {
  pcre2_compile_context* cc = pcre2_compile_context_create(nullptr);
  if (cc == nullptr) return nullptr;
  pcre2_set_newline(cc, PCRE2_NEWLINE_LF);
  int error = 0;
  PCRE2_SIZE errorOffset = 0;
  pcre2_code* code =
      pcre2_compile(reinterpret_cast<PCRE2_SPTR>(pattern.data()), pattern.size(), options, &error, &errorOffset, cc);
  pcre2_compile_context_free(cc);
  return code;
}

struct CacheKey {
  std::u16string pattern;
  std::uint32_t options;
  bool jit;
  bool operator==(const CacheKey&) const = default;
};

// The few patterns compiled last on this thread; a lookup compiles the same two per query.
class PatternCache {
 public:
  std::shared_ptr<const Compiled> Get(const std::u16string& pattern, std::uint32_t options, bool jit) {
    CacheKey key{pattern, options, jit};
    for (auto it = entries_.begin(); it != entries_.end(); ++it) {
      if (it->first == key) {
        std::rotate(entries_.begin(), it, it + 1);
        return entries_.front().second;
      }
    }
    auto compiled = Compile(pattern, options, jit);
    if (!compiled) return nullptr;
    if (entries_.size() == kSize) entries_.pop_back();
    entries_.insert(entries_.begin(), {std::move(key), compiled});
    return compiled;
  }

 private:
  static constexpr std::size_t kSize = 8;

  static std::shared_ptr<const Compiled> Compile(const std::u16string& pattern, std::uint32_t options,
                                                 bool jit) {
    pcre2_code* code = CompileText(pattern, options);
    if (code == nullptr) return nullptr;  // the engine rejects the pattern
    auto compiled = std::make_shared<Compiled>();
    compiled->code = code;
    pcre2_pattern_info(code, PCRE2_INFO_CAPTURECOUNT, &compiled->captureCount);
    if (jit && pcre2_jit_compile(code, PCRE2_JIT_COMPLETE) == 0) return compiled;
    // The interpreter: a callout in front lets the search look at its deadline at every start
    // position. (On the JIT the slices do that job; a callout there would cost the JIT its
    // memory of failed lazy runs and make the many-start-markers page quadratic again.)
    std::u16string withCallout = pattern;
    withCallout.insert(AfterLeadingSettings(pattern), u"(?C1)");
    if (pcre2_code* counted = CompileText(withCallout, options)) {
      pcre2_code_free(code);
      compiled->code = counted;
      compiled->startCallout = true;
    }
    return compiled;
  }

  std::vector<std::pair<CacheKey, std::shared_ptr<const Compiled>>> entries_;
};

PatternCache& ThreadPatternCache() {
  thread_local PatternCache cache;
  return cache;
}

// The deadline as the start-position callout sees it.
struct Deadline {
  Clock::time_point at;
};

int LookAtDeadline(pcre2_callout_block* /*block*/, void* data) {
  return Clock::now() > static_cast<const Deadline*>(data)->at ? PCRE2_ERROR_CALLOUT : 0;
}

// A match context carrying the budget's limits, the thread's JIT stack and, for a pattern
// with the start callout, the deadline.
struct MatchContext {
  pcre2_match_context* ctx = pcre2_match_context_create(nullptr);
  Deadline deadline;
  MatchContext(const detail::RegexBudget& budget, const Compiled& compiled)
      : deadline{Clock::now() + budget.deadline} {
    if (ctx == nullptr) return;
    pcre2_set_match_limit(ctx, budget.matchLimit);
    pcre2_set_heap_limit(ctx, budget.heapLimitKiB);
    if (pcre2_jit_stack* stack = ThreadJitStack()) pcre2_jit_stack_assign(ctx, nullptr, stack);
    if (compiled.startCallout) pcre2_set_callout(ctx, LookAtDeadline, &deadline);
  }
  ~MatchContext() { pcre2_match_context_free(ctx); }
  MatchContext(const MatchContext&) = delete;
  MatchContext& operator=(const MatchContext&) = delete;
};

struct MatchData {
  pcre2_match_data* data;
  explicit MatchData(const pcre2_code* code) : data(pcre2_match_data_create_from_pattern(code, nullptr)) {}
  ~MatchData() { pcre2_match_data_free(data); }
  MatchData(const MatchData&) = delete;
  MatchData& operator=(const MatchData&) = delete;
};

bool IsLowSurrogate(char16_t u) { return u >= 0xDC00 && u <= 0xDFFF; }

// Slices of start positions handed to one match call: small at first, doubled while calls
// come back quickly, cut when one is slow, so that the deadline is looked at every few tens
// of milliseconds. Large slices matter for the JIT: within one call it remembers how far a
// failed lazy run got and does not scan that far again from the next start position.
constexpr std::size_t kFirstSlice = 128;
constexpr std::size_t kMinSlice = 16;
constexpr std::size_t kMaxSlice = std::size_t{1} << 24;
constexpr auto kFastCall = std::chrono::milliseconds(10);
constexpr auto kSlowCall = std::chrono::milliseconds(50);

}  // namespace

namespace detail {

RegexBudget CurrentRegexBudget() { return ThreadBudget(); }
void SetRegexBudget(const RegexBudget& budget) { ThreadBudget() = budget; }
bool RegexJitAvailable() { return JitAvailable(); }

}  // namespace detail

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

// The offsets of every match of `compiled` in `subject` (only the first unless `global`, at
// most `maxMatches` unless that is 0), within the thread's budget. False when the engine
// failed or the budget ran out; `offsets` is then empty.
bool RunMatches(const Compiled& compiled, std::u16string_view subject, bool global,
                std::vector<std::uint32_t>& offsets, std::size_t maxMatches = 0) {
  const detail::RegexBudget budget = ThreadBudget();
  MatchContext mc(budget, compiled);
  MatchData md(compiled.code);
  if (mc.ctx == nullptr || md.data == nullptr) return false;

  const auto subjectPtr = reinterpret_cast<PCRE2_SPTR>(subject.data());
  const std::size_t length = subject.size();
  const std::size_t stride = 2 * (std::size_t{compiled.captureCount} + 1);
  const auto deadline = mc.deadline.at;
  auto lastLook = Clock::now();

  std::size_t start = 0;
  std::size_t slice = kFirstSlice;
  std::uint32_t options = 0;  // the first call checks the subject's UTF, later ones do not
  for (unsigned calls = 1;; ++calls) {
    const std::size_t limit = std::min(length, start + slice);
    pcre2_set_offset_limit(mc.ctx, limit);
    const int rc = pcre2_match(compiled.code, subjectPtr, length, start, options, md.data, mc.ctx);
    options |= PCRE2_NO_UTF_CHECK;
    // The clock is read after each exhausted slice and every 16th match: each call stays
    // within one slice of start positions, so the deadline is never far off.
    const bool sliceDone = rc == PCRE2_ERROR_NOMATCH;
    if (sliceDone || calls % 16 == 0) {
      const auto now = Clock::now();
      const auto took = now - lastLook;
      lastLook = now;
      if (now > deadline) break;
      if (took > kSlowCall) {
        slice = std::max(kMinSlice, slice / 4);
      } else if (sliceDone && took < kFastCall) {
        slice = std::min(kMaxSlice, slice * 2);
      }
    }
    if (sliceDone) {
      if (limit >= length) return true;
      start = limit + 1;
      if (start < length && IsLowSurrogate(subject[start])) ++start;
      options &= ~PCRE2_NOTEMPTY_ATSTART;
      continue;
    }
    if (rc <= 0) break;  // limits, memory, JIT stack: the engine failed
    const PCRE2_SIZE* ov = pcre2_get_ovector_pointer(md.data);
    if (ov[0] > ov[1]) break;  // \K in a lookahead: no sensible next start
    for (std::size_t i = 0; i < stride; ++i) {
      const std::size_t pair = i / 2;
      const bool set = pair < static_cast<std::size_t>(rc) && ov[2 * pair] != PCRE2_UNSET;
      offsets.push_back(set ? static_cast<std::uint32_t>(ov[i]) : kUnset);
    }
    if (!global || (maxMatches != 0 && offsets.size() / stride >= maxMatches)) return true;
    // After an empty match the next one may start at the same place only if it is not empty.
    start = ov[1];
    if (ov[0] == ov[1]) {
      if (start >= length) return true;
      options |= PCRE2_NOTEMPTY_ATSTART;
    } else {
      options &= ~PCRE2_NOTEMPTY_ATSTART;
    }
  }
  offsets.clear();
  return false;
}

// The replacement in PCRE2's dollar syntax: "$$", "$&", "$1".."$99" as the classic regex
// object reads them (two digits when that group exists, else one), every other dollar
// literal.
std::u16string ReplacementForPcre(std::u16string_view r, std::uint32_t groups) {
  std::u16string out;
  out.reserve(r.size() + 8);
  auto isDigit = [](char16_t c) { return c >= u'0' && c <= u'9'; };
  auto group = [&out](unsigned n) {
    out += u"${";
    if (n >= 10) out += static_cast<char16_t>(u'0' + n / 10);
    out += static_cast<char16_t>(u'0' + n % 10);
    out += u'}';
  };
  for (std::size_t i = 0; i < r.size(); ++i) {
    const char16_t c = r[i];
    if (c != u'$' || i + 1 == r.size()) {
      if (c == u'$') out += u"$$";
      else out += c;
      continue;
    }
    const char16_t n1 = r[i + 1];
    if (n1 == u'$') {
      out += u"$$";
      ++i;
    } else if (n1 == u'&') {
      group(0);
      ++i;
    } else if (isDigit(n1)) {
      const unsigned one = n1 - u'0';
      if (i + 2 < r.size() && isDigit(r[i + 2])) {
        const unsigned two = one * 10 + (r[i + 2] - u'0');
        if (two >= 1 && two <= groups) {
          group(two);
          i += 2;
          continue;
        }
      }
      if (one >= 1 && one <= groups) {
        group(one);
        ++i;
      } else {
        out += u"$$";
      }
    } else {
      out += u"$$";
    }
  }
  return out;
}

// The engine's options for a search; '$' without multiline is the end of the text only, as
// in the classic dialect.
std::uint32_t CompileOptions(bool caseSensitive, bool multiline) {
  std::uint32_t options = PCRE2_UTF | (multiline ? PCRE2_MULTILINE : PCRE2_DOLLAR_ENDONLY) | PCRE2_USE_OFFSET_LIMIT;
  if (!caseSensitive) options |= PCRE2_CASELESS;
  return options;
}

std::shared_ptr<const Compiled> CompiledFor(const std::u16string& pattern, bool caseSensitive, bool multiline) {
  const detail::RegexBudget budget = ThreadBudget();
  return ThreadPatternCache().Get(pattern, CompileOptions(caseSensitive, multiline), budget.useJit && JitAvailable());
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
